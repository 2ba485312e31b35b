// The window background: one owned bitmap painted at the origin.
#pragma once

#include "widgets/ScrollWidgets.h"

class TBackgroundEx : public TBitmapControlEx {
 public:
  TBackgroundEx() : TBitmapControlEx(L"TBackgroundEx") {}
};
