// The one application-wide tooltip window: a subclassed common-controls
// tooltip that supplies the Hint of whichever control it is about to show.
// Controls register themselves with it (TControl::SetShowHint) once its
// window handle is stored in ApplicationToolTip; they register with the
// tooltip itself as the notified window, so every text request comes back
// here. The common controls must be initialised by the application.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/GdiControls.h"

class TToolTip : public TWinControl {
 public:
  TToolTip();
  ~TToolTip() override;

  // Live colours of the tooltip window: 0 without a window; writing without
  // a window does nothing.
  COLORREF BackColor() const;
  void SetBackColor(COLORREF value);
  COLORREF TextColor() const;
  void SetTextColor(COLORREF value);
  // While false the tooltip supplies no texts, so no tip is shown.
  bool EnableTip = false;

  // Tips wrap at this width in pixels.
  static constexpr int MaxTipWidth = 300;

 protected:
  void CreateParams(TCreateParams& params) override;
  bool WMNotify(NMHDR& header) override;
  void WMDestroy() override;
  // Answers the tooltip's text request for one tool (a control's window).
  virtual void GetDispInfo(NMTTDISPINFOW& info);

 private:
  LRESULT Query(UINT message, WPARAM wParam) const;
  void ForgetApplicationToolTip();
};
