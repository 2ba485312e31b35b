#include "widgets/CheckBoxEx.h"

TCheckBoxEx::TCheckBoxEx() : TControlEx(L"TCheckBoxEx"), stateBitmaps_(std::make_unique<TStateBitmaps>()) {}

TCheckBoxEx::~TCheckBoxEx() = default;

void TCheckBoxEx::Paint() {
  TControlEx::Paint();
  RECT r{0, 0, Width(), Height()};
  const TBitmapEx* state = ticked_ ? stateBitmaps_->Ticked() : stateBitmaps_->Unticked();
  if (state != nullptr) {
    Canvas().Draw(*state, 0, 0);
    r.left += state->Width();
  }
  Canvas().DrawText(r, Caption());
}
