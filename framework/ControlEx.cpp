#include "framework/ControlEx.h"

#include <typeinfo>

TControlEx::TControlEx() : TControlEx(L"TControlEx") {}

TControlEx::TControlEx(const wchar_t* className)
    : TControl(className), canvas_(std::make_unique<TCanvasEx>(1, 1, 0)) {
  canvas_->Font().OnChange = [this](TGraphicObjectEx*) { Perform(CM_FONTCHANGED, 0, 0); };
}

TControlEx::~TControlEx() { canvas_->Font().OnChange = nullptr; }

void TControlEx::CreateHandle() {
  TControl::CreateHandle();
  canvas_->Resize(Width(), Height());
  Invalidate();
}

void TControlEx::SetParent(TControl* parent) {
  TControl::SetParent(parent);
  presentedAt_ = RECT{0, 0, 0, 0};  // a place in the old parent
  if (auto* holder = dynamic_cast<TControlEx*>(parent)) SetScale(holder->Scale());
}

void TControlEx::SetScale(const TScale& scale) {
  if (scale != scale_) {
    scale_ = scale;
    ScaleChanged();
  }
  HWND window = WindowHandle();
  if (window == nullptr) return;
  for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
    if (auto* control = dynamic_cast<TControlEx*>(FromWindow(child))) control->SetScale(scale);
}

void TControlEx::ScaleChanged() {
  canvas_->Font().SetDpi(scale_.Dpi());
  Invalidate();
}

RECT TControlEx::WholeCanvas() const { return RECT{0, 0, canvas_->Width(), canvas_->Height()}; }

RECT TControlEx::ShownArea() const { return RECT{Left(), Top(), Left() + Width(), Top() + Height()}; }

RECT TControlEx::PlacesInParent() const {
  RECT shown = ShownArea(), both;
  ::UnionRect(&both, &presentedAt_, &shown);
  return both;
}

void TControlEx::MarkPart(const RECT& area) {
  marked_ = true;
  RECT whole = WholeCanvas(), part, both;
  if (!::IntersectRect(&part, &area, &whole)) return;
  ::UnionRect(&both, &dirty_, &part);
  dirty_ = both;
}

void TControlEx::MarkOwnPicture() { MarkPart(WholeCanvas()); }

void TControlEx::Invalidate() {
  MarkOwnPicture();
  // Where the parent last received the picture too: a picture that shrank
  // leaves pixels there.
  TellParent(PlacesInParent());
}

void TControlEx::InvalidateArea(const RECT& area) {
  RECT whole = WholeCanvas(), part;
  if (!::IntersectRect(&part, &area, &whole)) return;
  MarkPart(part);
  const POINT origin = PictureOrigin();
  ::OffsetRect(&part, origin.x, origin.y);
  TellParent(part);
}

void TControlEx::ChildChanged(const RECT& area) {
  MarkPart(area);
  // Only what lies on this canvas can show; an empty part still tells the
  // parents that a picture under them waits to be painted.
  RECT whole = WholeCanvas(), part;
  if (!::IntersectRect(&part, &area, &whole)) part = RECT{0, 0, 0, 0};
  const POINT origin = PictureOrigin();
  ::OffsetRect(&part, origin.x, origin.y);
  TellParent(part);
}

void TControlEx::TellParent(const RECT& area) {
  if (auto* parent = dynamic_cast<TControlEx*>(Parent()))
    parent->ChildChanged(area);
  else if (Parent() != nullptr)
    Parent()->Invalidate();
}

void TControlEx::PlacementChanged() {
  // Where the picture was and where it goes: nothing else of the parent.
  if (auto* parent = dynamic_cast<TControlEx*>(Parent())) parent->ChildChanged(PlacesInParent());
}

void TControlEx::WMSize(int kind, int width, int height) {
  TControl::WMSize(kind, width, height);
  // A resized canvas starts empty.
  canvas_->Resize(Width(), Height());
  Invalidate();
}

void TControlEx::WMMove(int x, int y) {
  TControl::WMMove(x, y);
  PlacementChanged();
}

void TControlEx::WMShowWindow(bool shown) {
  TControl::WMShowWindow(shown);
  PlacementChanged();
}

void TControlEx::SetFocusShown(bool shown) {
  if (shown == focusShown_) return;
  focusShown_ = shown;
  Invalidate();
}

void TControlEx::PaintFocus() {
  TPenEx& pen = canvas_->Pen();
  const std::uint32_t color = pen.Color();
  const int style = pen.Style();
  pen.SetColor(0xC0202020);
  pen.SetStyle(2);  // DashStyleDot
  canvas_->FrameRect(RECT{0, 0, Width(), Height()});
  pen.SetStyle(style);
  pen.SetColor(color);
}

void TControlEx::OpacityChanged() { PlacementChanged(); }
void TControlEx::CaptionChanged() { Invalidate(); }

void TControlEx::Paint() {
  canvas_->Clear();
  if (OnPaint) OnPaint(this);
}

void TControlEx::ComposeChildren(const RECT& area) {
  HWND child = ::GetWindow(WindowHandle(), GW_CHILD);
  if (child == nullptr) return;
  // Bottom of the z-order first, so the top-most child is composited last.
  for (child = ::GetWindow(child, GW_HWNDLAST); child != nullptr; child = ::GetWindow(child, GW_HWNDPREV)) {
    TControl* control = FromWindow(child);
    if (control == nullptr || !control->Visible()) continue;
    // A child outside the area left its picture here as it was; a marked
    // one still paints its own canvas (a parent may show it some other way,
    // as the miniature does).
    if (auto* ex = dynamic_cast<TControlEx*>(control)) {
      RECT shown = ex->ShownArea(), meet;
      if (!ex->Marked() && !::IntersectRect(&meet, &shown, &area)) continue;
    }
    control->Repaint();
  }
}

namespace {
// The canvas drawn only inside the area being painted, for as long as the
// picture is painted and composed; a whole-canvas area needs no clip.
class TPaintClip {
 public:
  TPaintClip(TCanvasEx& canvas, const RECT& area) : canvas_(canvas) {
    const RECT whole{0, 0, canvas.Width(), canvas.Height()};
    if (!::EqualRect(&area, &whole)) canvas.SetClip(area);
  }
  ~TPaintClip() { canvas_.ResetClip(); }
  TPaintClip(const TPaintClip&) = delete;
  TPaintClip& operator=(const TPaintClip&) = delete;

 private:
  TCanvasEx& canvas_;
};
}  // namespace

void TControlEx::Repaint() {
  if (painting_) return;  // a composition in progress covers nested requests
  struct Guard {
    bool& flag;
    ~Guard() { flag = false; }
  } guard{painting_ = true};
  if (!::IsWindow(WindowHandle())) return;
  Freshen();
  composed_ = RECT{0, 0, 0, 0};
  if (marked_) {
    // Cleared first: whatever marks the picture while it is painted is
    // painted at the next presentation, not lost.
    const RECT area = dirty_;
    marked_ = false;
    dirty_ = RECT{0, 0, 0, 0};
    try {
      TPaintClip clip(*canvas_, area);
      const bool painted = !::IsRectEmpty(&area);
      if (painted) Paint();
      // The area was painted over: the pictures of the children there go
      // back on it, and marked children paint theirs.
      ComposeChildren(area);
      if (painted && focusShown_) PaintFocus();
      composed_ = area;
    } catch (...) {
      // Half a picture is no picture: the next presentation tries again.
      MarkPart(area);
      throw;
    }
  }
  Present();
  presentedAt_ = ShownArea();
}

void TControlEx::Present() {
  auto* parent = dynamic_cast<TControlEx*>(Parent());
  if (parent == nullptr) throw std::bad_cast();
  parent->Canvas().DrawAlpha(canvas_->Bitmap(), Left(), Top(), Opacity());
}
