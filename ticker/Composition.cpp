// The ticker's face: the widget tree, the sliding panels, the fades, the
// shrink to a miniature and back, and snapping to the work area's edges.
#include <windows.h>

#include <algorithm>

#include "app/Globals.h"
#include "framework/DisplayDpi.h"
#include "ticker/FeedCache.h"
#include "ticker/FeedStamp.h"
#include "ticker/Geometry.h"
#include "ticker/Links.h"
#include "ticker/MainWindow.h"
#include "ticker/Monitors.h"
#include "widgets/SkinResource.h"

namespace {

constexpr int HandCursor = 13;
constexpr std::uint32_t FooterColor = 0xAFFFFFFF;

template <typename T>
std::unique_ptr<T> Make(TControl* parent) {
  auto c = std::make_unique<T>();
  c->SetParent(parent);
  return c;
}

// Widgets get their windows in creation order, so later ones lie on top.
void Place(TControl& c, bool visible) {
  c.HandleNeeded();
  c.SetVisible(visible);
}

void GiveHint(TControl& c, unsigned stringId) {
  c.SetHint(LoadResString(stringId));
  c.SetShowHint(true);
}

void SetFont(TControlEx& c, const wchar_t* name, int size, std::uint32_t color, int style = 0) {
  c.Font().SetName(name);
  c.Font().SetSize(size);
  c.Font().SetColor(color);
  c.Font().SetStyle(style);
}

void Label(TSkinText& t, const std::wstring& data, bool antialias, int align, int lineAlign) {
  t.Shadow().Enabled = false;
  t.Canvas().SetAntialias(antialias);
  t.Canvas().StringFormat().SetAlignment(align);
  t.Canvas().StringFormat().SetLineAlignment(lineAlign);
  t.SetData(data);
}

TArea WorkAreaAt(int left, int top, int width, int height) {
  RECT r{left, top, left + width, top + height};
  return WorkAreaOf(r);
}

}  // namespace

void TMainWindow::CreateTrayAndTip() {
  ToolTip = std::make_unique<TToolTip>();
  ToolTip->HandleNeeded();
  ApplicationToolTip = ToolTip->WindowHandle();
  ToolTip->EnableTip = true;

  TrayIcon = std::make_unique<TTrayIcon>();
  // The icon file has an image for every scale of the notification area.
  const int size = SmallIconSize(SystemDpi());
  UniqueIcon icon(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101), IMAGE_ICON, size, size, 0)));
  if (icon)
    TrayIcon->SetIcon(std::move(icon));
  else
    TrayIcon->SetIcon(SharedIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101))));
  TrayIcon->OnMouseUp = [this](TControl*, int keys, int, int) { TrayMouseUp(keys); };
  TrayIcon->OnBalloonAction = [this](TControl*, int action) {
    if (action == NIN_BALLOONUSERCLICK) NoticeClicked();
  };
  TrayIcon->HandleNeeded();
  TrayIcon->SetHintText(LoadResString(108));
  TrayIcon->SetVisibleTray(Options->Switch(*FindSwitch(u"showtray")));
}

void TMainWindow::CreateWidgets() {
  Canvas().SetInterpolationMode(6);  // high-quality bilinear for the miniature
  BuildStep(4);
  CreateFace();
  UpdateScroller();
  BuildStep(5);
  CreateOptionsPanel();
  BuildStep(6);
  CreateAboutPanel();
  BuildStep(7);

  StatusText = Make<TSkinText>(Background.get());
  Lay(*StatusText, 44, 301);  // sized by its text
  SetFont(*StatusText, L"Trebuchet MS", 8, FooterColor);
  Label(*StatusText, LoadResString(301), false, 0, 1);
  Place(*StatusText, false);

  FooterLink = Make<TSkinText>(Background.get());
  Lay(*FooterLink, FaceWidth - 105, 300);
  SetFont(*FooterLink, L"Trebuchet MS", 8, FooterColor);
  Label(*FooterLink, MakerDomain(), false, 0, 2);
  FooterLink->SetCursor(HandCursor);
  FooterLink->OnClick = [this](TControl*, int, int, int) { OpenMakerPage(); };
  Place(*FooterLink, true);
  GiveHint(*FooterLink, 110);

  Throbber = Make<TThrobberEx>(Background.get());
  Lay(*Throbber, 26, 301, TThrobberEx::FrameSize, TThrobberEx::FrameSize);
  Place(*Throbber, false);

  // The saved list shows at once, and so does how old it is.
  lastUpdate_ = NewsList->Count() > 0 ? LoadUpdateTime(FeedCachePath(), UtcTicksNow()) : 0;
  UpdateStatusLine();
  // Headlines still unseen at the last close keep their marks.
  LoadUnseen();

  LoadFaceImages();
  // A face in another look than the usual is made over once.
  if (Look && (Look->Look() != TLook::Light || Look->ListTextPercent() != 100)) ApplyLook();
  BuildStep(8);
  ApplyOptions();
}

// --- scale ------------------------------------------------------------------

void TMainWindow::Lay(TControlEx& c, int left, int top, int width, int height) {
  Designs.push_back({&c, left, top, width, height});
  LayOut(Designs.back());
}

void TMainWindow::LayOut(const TDesign& d) {
  // Where the parent lies in the window at 96 DPI: the sum of its own box
  // and its parents'.
  int x = 0, y = 0;
  for (TControl* p = d.Control->Parent(); p != nullptr && p != this; p = p->Parent()) {
    auto it = std::find_if(Designs.begin(), Designs.end(), [p](const TDesign& e) { return e.Control == p; });
    if (it == Designs.end()) break;
    x += it->Left;
    y += it->Top;
  }
  const TBox b = Scale().Box(x, y, d.Left, d.Top, d.Width, d.Height);
  d.Control->SetLeft(b.Left);
  d.Control->SetTop(b.Top);
  d.Control->SetSize(d.Width > 0 ? b.Width : d.Control->Width(), d.Height > 0 ? b.Height : d.Control->Height());
}

void TMainWindow::LoadFaceImages() {
  const TScale& s = Scale();
  if (Background) Background->SetBitmap(LoadSkinImage(5002, s));
  if (Scroller) Scroller->SetBitmap(LoadSkinImage(5000, s));
  if (Thumb) Thumb->SetBitmap(LoadSkinImage(5001, s));
  for (auto& box : SwitchBoxes) {
    box->StateBitmaps().SetUnticked(LoadSkinImage(5007, s));
    box->StateBitmaps().SetTicked(LoadSkinImage(5008, s));
  }
  // The options sheet is shown a little see-through, and lighter than it
  // is drawn; high contrast shows it as it is, opaque.
  if (TBitmapEx* sheet = OptionsSheet ? OptionsSheet->Bitmap() : nullptr) {
    if (SkinLook() != TLook::HighContrast) sheet->Fade(240);
    if (SkinLook() == TLook::Light) sheet->Tint(0xFFF0F0F0);
    OptionsSheet->Invalidate();
  }
}

namespace {
void Recolor(TControlEx* c, std::uint32_t color) {
  if (!c) return;
  c->Font().SetColor(color);
  c->Invalidate();
}
}  // namespace

void TMainWindow::ApplyLook() {
  if (!Look || !NewsList) return;
  const TFacePalette palette = Look->Palette();
  // The headline at the top of the view stays there.
  const int topItem = TopHeadline();
  SetSkinLook(Look->Look(), Look->Prefs().Colors);
  for (TImageEx* image : {Logo.get(), CloseButton.get(), OptionsButton.get(), OptionsSheet.get(), OptionsClose.get(),
                          AboutImage.get(), AboutLogo.get(), AboutClose.get()})
    if (image) image->SetResourceID(image->ResourceID());
  if (Throbber) Throbber->ReloadImage();
  LoadFaceImages();
  Recolor(StatusText.get(), palette.Footer);
  Recolor(FooterLink.get(), palette.Footer);
  for (auto& box : SwitchBoxes) Recolor(box.get(), palette.SwitchText);
  Recolor(AboutTitle.get(), palette.AboutTitle);
  Recolor(AboutText.get(), palette.AboutText);
  Recolor(AboutLink.get(), palette.AboutLink);
  NewsList->SetPalette(palette);
  NewsList->SetTextPercent(Look->ListTextPercent());
  if (Look->FocusAlwaysShown() && !focusCues_) {
    focusCues_ = true;
    ShowFocus();
  }
  UpdateScroller();
  if (topItem >= 0 && static_cast<size_t>(topItem) < NewsList->Count())
    ScrollBy(-NewsList->ItemTop(static_cast<size_t>(topItem)) - NewsList->ScrollTop());
  Invalidate();
  Update();
}

void TMainWindow::Rescale(int dpi) {
  const TScale scale(dpi);
  if (scale == Scale()) return;
  // The headline at the top of the view stays there.
  const int topItem = TopHeadline();
  SetScale(scale);  // fonts, pictures the widgets load themselves, the list's layout
  SetSize(scale.Px(FaceWidth), scale.Px(FaceHeight));
  for (const TDesign& d : Designs) LayOut(d);
  if (Shrunk && ScaleHost) ScaleHost->SetSize(1, 1);
  // A sheet rests above its panel until it is shown, and at its top after.
  if (OptionsSheet) OptionsSheet->SetTop(OptionsPanel->Visible() ? 0 : -OptionsSheet->Height());
  if (AboutSheet) AboutSheet->SetTop(AboutPanel->Visible() ? 0 : -AboutSheet->Height());
  LoadFaceImages();
  if (NewsList) {
    UpdateScroller();
    if (topItem >= 0) ScrollBy(-NewsList->ItemTop(static_cast<size_t>(topItem)) - NewsList->ScrollTop());
  }
  Invalidate();
  Update();
}

void TMainWindow::WMDpiChanged(int dpi, const RECT& suggested) {
  Rescale(dpi);
  // The place the system suggests, at the size the face has at the new scale.
  ::SetWindowPos(WindowHandle(), nullptr, suggested.left, suggested.top, Width(), Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainWindow::CreateFace() {
  auto drag = [this](TControl*, int keys, int, int) { MouseDownHandler(keys); };
  ScaleHost = Make<TControlEx>(this);
  Lay(*ScaleHost, 0, 0, FaceWidth, FaceHeight);
  ScaleHost->OnMouseDown = drag;
  Place(*ScaleHost, true);

  Background = Make<TBackgroundEx>(ScaleHost.get());
  Lay(*Background, 0, 0, FaceWidth, FaceHeight);
  Background->OnMouseDown = drag;
  Place(*Background, true);

  Logo = Make<TImageEx>(Background.get());
  Lay(*Logo, 20, 22);
  Logo->SetResourceID(5004);
  Logo->SetEnabled(false);
  Logo->MouseTransparent = true;
  Place(*Logo, true);

  CloseButton = Make<TImageEx>(Background.get());
  Lay(*CloseButton, FaceWidth - 49, 25);
  CloseButton->SetResourceID(5012);
  CloseButton->SetCursor(HandCursor);
  CloseButton->OnClick = [this](TControl*, int, int, int) { CloseTicker(); };
  Place(*CloseButton, true);
  GiveHint(*CloseButton, 103);

  OptionsButton = Make<TImageEx>(Background.get());
  Lay(*OptionsButton, FaceWidth - 49 - 25, 25);
  OptionsButton->SetResourceID(5013);
  OptionsButton->SetCursor(HandCursor);
  OptionsButton->OnClick = [this](TControl*, int, int, int) { ToggleOptions(); };
  Place(*OptionsButton, true);
  GiveHint(*OptionsButton, 109);

  ListArea = Make<TContainerEx>(Background.get());
  Lay(*ListArea, 30, 75, 415, 213);
  Place(*ListArea, true);

  NewsList = Make<TContentEx>(ListArea.get());
  Lay(*NewsList, 0, 0, 415 - 25, 213);
  NewsList->Canvas().SetAntialias(false);
  NewsList->Font().SetName(L"Trebuchet MS");
  NewsList->Font().SetSize(9);
  NewsList->LoadFromFile(FeedCachePath());
  NewsList->OnDrag = [this](TControl*, int keys, int, int) {
    if (keys & MK_LBUTTON) MouseDownHandler(MK_LBUTTON);
  };
  NewsList->OnMouseDown = [this](TControl*, int keys, int, int y) {
    // A press on a headline selects it, where it is: the view does not move
    // under the pointer.
    if (OpenPanel() == TOpenPanel::None) {
      const int item = NewsList->ItemAtRow(NewsList->ListY(y));
      if (item >= 0) SelectHeadline(item, false);
      if (focus_ != FocusList) SetFocusTarget(FocusList);
    }
    if (keys & MK_RBUTTON) ShowMenu();
  };
  Place(*NewsList, true);

  Scroller = Make<TScrollerEx>(ListArea.get());
  Lay(*Scroller, 415 - 20, 0, 20, 213);
  Scroller->OnMouseDown = [this](TControl*, int, int, int y) { TrackClick(y); };
  Place(*Scroller, true);

  Thumb = Make<TThumbEx>(Scroller.get());
  Lay(*Thumb, 1, 0, 18, 70);
  Thumb->OnMouseDown = [this](TControl*, int keys, int, int) { ThumbPressed(keys); };
  Thumb->OnDrag = [this](TControl*, int keys, int, int) { ThumbDragged(keys); };
  Thumb->OnMouseUp = [](TControl*, int, int, int) {};
  Place(*Thumb, true);
}

namespace {
// The options sheet's artwork: a row of 28 pixels per switch under a
// 20-pixel margin, and room for the close button below.
constexpr int OptionsSheetHeight = 211;
}  // namespace

void TMainWindow::CreateOptionsPanel() {
  auto drag = [this](TControl*, int keys, int, int) { MouseDownHandler(keys); };
  OptionsPanel = Make<TControlEx>(Background.get());
  Lay(*OptionsPanel, (FaceWidth - 385 - 20) / 2, 61, 385, OptionsSheetHeight);
  OptionsPanel->OnMouseDown = drag;
  Place(*OptionsPanel, false);

  OptionsSheet = Make<TImageEx>(OptionsPanel.get());
  OptionsSheet->SetResourceID(5005);
  Lay(*OptionsSheet, 0, -OptionsSheetHeight);  // above the panel until it slides in
  OptionsSheet->OnMouseDown = drag;
  OptionsSheet->SetOpacity(0);
  Place(*OptionsSheet, true);

  int top = 20;
  SwitchBoxes.clear();
  for (std::size_t i = 0; i < SwitchCount; ++i) {
    auto box = Make<TCheckBoxEx>(OptionsSheet.get());
    Lay(*box, 40, top, 300, 20);
    box->Canvas().SetAntialias(false);
    box->Canvas().StringFormat().SetLineAlignment(1);
    SetFont(*box, L"Trebuchet MS", 9, 0xCF000000);
    box->SetCaption(LoadResString(Switches[i].Caption));
    box->OnClick = [this, i](TControl*, int, int, int) { OptionClicked(i); };
    Place(*box, true);
    top += 20 + 8;
    SwitchBoxes.push_back(std::move(box));
  }

  OptionsClose = Make<TImageEx>(OptionsSheet.get());
  Lay(*OptionsClose, 385 - 25, OptionsSheetHeight - 30);
  OptionsClose->SetResourceID(5006);
  OptionsClose->SetCursor(HandCursor);
  OptionsClose->OnClick = [this](TControl*, int, int, int) { HideOptions(); };
  Place(*OptionsClose, true);
  GiveHint(*OptionsClose, 103);
}

void TMainWindow::CreateAboutPanel() {
  auto drag = [this](TControl*, int keys, int, int) { MouseDownHandler(keys); };
  AboutPanel = Make<TControlEx>(Background.get());
  Lay(*AboutPanel, 35, 61, 385, 224);
  AboutPanel->OnMouseDown = drag;
  Place(*AboutPanel, false);

  AboutSheet = Make<TControlEx>(AboutPanel.get());
  Lay(*AboutSheet, 0, -224, 385, 224);  // above the panel until it slides in
  AboutSheet->OnMouseDown = drag;
  AboutSheet->SetOpacity(0);
  Place(*AboutSheet, true);

  AboutImage = Make<TImageEx>(AboutSheet.get());
  Lay(*AboutImage, 25, 0);
  AboutImage->SetResourceID(5009);
  AboutImage->OnMouseDown = drag;
  Place(*AboutImage, true);

  AboutLogo = Make<TImageEx>(AboutImage.get());
  Lay(*AboutLogo, 35, 35);
  AboutLogo->SetResourceID(5010);
  AboutLogo->SetEnabled(false);
  AboutLogo->MouseTransparent = true;
  Place(*AboutLogo, true);

  AboutTitle = Make<TSkinText>(AboutImage.get());
  Lay(*AboutTitle, 130, 45, 149, 46);
  AboutTitle->SetAutoSize(false);
  SetFont(*AboutTitle, L"Impact", 20, 0xFF333333);
  Label(*AboutTitle, LoadResString(100), true, 0, 1);
  AboutTitle->SetEnabled(false);
  AboutTitle->MouseTransparent = true;
  Place(*AboutTitle, true);

  AboutText = Make<TSkinText>(AboutImage.get());
  Lay(*AboutText, 138, 85, 180, 70);
  AboutText->SetAutoSize(false);
  SetFont(*AboutText, L"Trebuchet MS", 8, 0xFF404040);
  Label(*AboutText, LoadResString(101), false, 0, 0);
  AboutText->SetEnabled(false);
  AboutText->MouseTransparent = true;
  Place(*AboutText, true);

  AboutLink = Make<TSkinText>(AboutImage.get());
  Lay(*AboutLink, 138, 165);  // sized by its text
  SetFont(*AboutLink, L"Trebuchet MS", 8, 0xFF4040FF, 1);
  Label(*AboutLink, LoadResString(102), false, 0, 1);
  AboutLink->SetCursor(HandCursor);
  AboutLink->OnClick = [this](TControl*, int, int, int) { OpenMakerPage(); };
  Place(*AboutLink, true);

  AboutClose = Make<TImageEx>(AboutImage.get());
  Lay(*AboutClose, 342 - 21 - 25, 20);
  AboutClose->SetResourceID(5011);
  AboutClose->SetCursor(HandCursor);
  AboutClose->OnClick = [this](TControl*, int, int, int) { HideAbout(); };
  Place(*AboutClose, true);
  GiveHint(*AboutClose, 103);
}

// --- fades ------------------------------------------------------------------

void TMainWindow::FadeIn(int step, DWORD delay) {
  SetVisible(true);
  // Only the constant alpha changes from frame to frame; no widget repaints.
  // With animations off the window is simply there.
  while ((!Look || Look->Animations()) && Opacity() + step < 255) {
    SetOpacity(static_cast<BYTE>(Opacity() + step));
    ::Sleep(delay);
  }
  SetOpacity(255);
  Update();
}

void TMainWindow::FadeOut(int step, DWORD delay) {
  while ((!Look || Look->Animations()) && Opacity() - step > 0) {
    SetOpacity(static_cast<BYTE>(Opacity() - step));
    ::Sleep(delay);
  }
  SetVisible(false);
}

// --- panels -----------------------------------------------------------------

namespace {
// Opacity change per frame: 255 spread over the frames of a 15-pixel slide.
int SlideAlphaStep(int sheetHeight) {
  return static_cast<int>(std::lrint(255.0f / (static_cast<float>(sheetHeight) / 15.0f)));
}
}  // namespace

// Each frame moves the sheet and changes its alpha: only the holder is
// composed again, from the sheet's picture as it is, and the news list
// beneath is not painted at all.
void TMainWindow::SlideIn(TControlEx& holder, TControlEx& sheet) {
  const int k = SlideAlphaStep(Scale().Unscaled(sheet.Height()));
  holder.Show();
  Update();
  // With animations off the sheet is simply there.
  while (!Look || Look->Animations()) {
    int next = sheet.Top() + Scale().Px(15);
    if (next >= 0) break;
    sheet.SetTop(next);
    if (sheet.Opacity() + k < 255) sheet.SetOpacity(static_cast<BYTE>(sheet.Opacity() + k));
    Update();
  }
  sheet.SetOpacity(255);
  sheet.SetTop(0);
  Update();
}

void TMainWindow::SlideOut(TControlEx& holder, TControlEx& sheet) {
  const int h = sheet.Height();
  const int k = SlideAlphaStep(Scale().Unscaled(h));
  while (!Look || Look->Animations()) {
    int next = sheet.Top() - Scale().Px(15);
    if (next <= -h) break;
    sheet.SetTop(next);
    if (sheet.Opacity() - k > 0) sheet.SetOpacity(static_cast<BYTE>(sheet.Opacity() - k));
    Update();
  }
  sheet.SetOpacity(0);
  sheet.SetTop(-h);
  holder.Hide();
  Update();
}

void TMainWindow::ShowOptions() {
  SlideIn(*OptionsPanel, *OptionsSheet);
  PanelChanged();
}
void TMainWindow::HideOptions() {
  SlideOut(*OptionsPanel, *OptionsSheet);
  PanelChanged();
}
void TMainWindow::ShowAbout() {
  SlideIn(*AboutPanel, *AboutSheet);
  PanelChanged();
}
void TMainWindow::HideAbout() {
  SlideOut(*AboutPanel, *AboutSheet);
  PanelChanged();
}

// --- auto-size ----------------------------------------------------------------

void TMainWindow::ScaleWindow(bool activated) {
  if (Closing || !AutoScaleOn || !ScaleHost) return;
  Corner = CornerFor(WorkAreaAt(Left(), Top(), Width(), Height()), Left(), Top());
  // With animations off the face changes size at once.
  const bool animate = !Look || Look->Animations();
  if (activated) {
    ShrinkDone = false;
    if (!animate) SizeFactor = MaxScale;
    while (GrowStep(SizeFactor, ScaleStep, MaxScale)) {
      Paint();
      Present();
    }
    Shrunk = false;
    ScaleHost->SetSize(Width(), Height());
  } else {
    Shrunk = true;
    // The widget tree stops showing; only the window's own picture remains.
    ScaleHost->SetSize(1, 1);
    if (!animate) SizeFactor = MinScale;
    while (ShrinkStep(SizeFactor, ScaleStep, MinScale)) {
      Paint();
      Present();
    }
    ShrinkDone = true;
  }
  Invalidate();
  Update();
}

void TMainWindow::Paint() {
  TWindowEx::Paint();
  if (!Shrunk || !Background) return;
  TMiniRect r = MiniatureRect(Corner, SizeFactor, Width(), Height());
  const TBitmapEx& face = Background->Canvas().Bitmap();
  if (ShrinkDone)
    Canvas().DrawImage(face, r.X, r.Y, r.W, r.H);  // the resting miniature, smooth
  else
    Canvas().StretchDraw(face, r.X, r.Y, r.W, r.H);  // fast while animating
}

void TMainWindow::ChildChanged(const RECT& area) {
  if (Shrunk)
    Invalidate();
  else
    TWindowEx::ChildChanged(area);
}

// --- edge snapping --------------------------------------------------------------

void TMainWindow::WMWindowPosChanging(WINDOWPOS& pos) {
  TWindowEx::WMWindowPosChanging(pos);
  if (pos.flags & SWP_NOMOVE) return;
  // The monitor the window is being moved onto, not the one it leaves.
  SnapToEdges(WorkAreaAt(pos.x, pos.y, Width(), Height()), Width(), Height(), pos.x, pos.y, Scale().Px(SnapDistance));
}
