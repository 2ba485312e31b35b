// The ticker's face: the widget tree, the sliding panels, the fades, the
// shrink to a miniature and back, and snapping to the work area's edges.
#include <windows.h>

#include "app/Globals.h"
#include "ticker/FeedCache.h"
#include "ticker/Geometry.h"
#include "ticker/Links.h"
#include "ticker/MainWindow.h"
#include "ticker/Monitors.h"

namespace {

constexpr int HandCursor = 13;
constexpr std::uint32_t FooterColor = 0xAFFFFFFF;

template <typename T>
std::unique_ptr<T> Make(TControl* parent, int left, int top) {
  auto c = std::make_unique<T>();
  c->SetParent(parent);
  c->SetLeft(left);
  c->SetTop(top);
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

std::wstring MakerDomain() {
  std::string host = build::Web.Host;
  return std::wstring(host.begin(), host.end());
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
  TrayIcon->SetIcon(SharedIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101))));
  TrayIcon->OnMouseUp = [this](TControl*, int keys, int, int) { TrayMouseUp(keys); };
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

  StatusText = Make<TSkinText>(Background.get(), 44, 301);
  StatusText->SetSize(110, 18);
  SetFont(*StatusText, L"Trebuchet MS", 8, FooterColor);
  Label(*StatusText, LoadResString(301), false, 0, 1);
  Place(*StatusText, false);

  FooterLink = Make<TSkinText>(Background.get(), Background->Width() - 105, 300);
  FooterLink->SetSize(110, 18);
  SetFont(*FooterLink, L"Trebuchet MS", 8, FooterColor);
  Label(*FooterLink, MakerDomain(), false, 0, 2);
  FooterLink->SetCursor(HandCursor);
  FooterLink->OnClick = [this](TControl*, int, int, int) { OpenMakerPage(); };
  Place(*FooterLink, true);
  GiveHint(*FooterLink, 110);

  Throbber = Make<TThrobberEx>(Background.get(), 26, 301);
  Throbber->SetSize(18, 18);
  Place(*Throbber, false);

  BuildStep(8);
  ApplyOptions();
}

void TMainWindow::CreateFace() {
  auto drag = [this](TControl*, int keys, int, int) { MouseDownHandler(keys); };
  ScaleHost = Make<TControlEx>(this, 0, 0);
  ScaleHost->SetSize(Width(), Height());
  ScaleHost->OnMouseDown = drag;
  Place(*ScaleHost, true);

  Background = Make<TBackgroundEx>(ScaleHost.get(), 0, 0);
  Background->SetSize(475, 350);
  Background->SetBitmap(LoadSkinImage(5002));
  Background->OnMouseDown = drag;
  Place(*Background, true);

  Logo = Make<TImageEx>(Background.get(), 20, 22);
  Logo->SetResourceID(5004);
  Logo->SetEnabled(false);
  Logo->MouseTransparent = true;
  Place(*Logo, true);

  CloseButton = Make<TImageEx>(Background.get(), Width() - 49, 25);
  CloseButton->SetResourceID(5012);
  CloseButton->SetCursor(HandCursor);
  CloseButton->OnClick = [this](TControl*, int, int, int) { CloseTicker(); };
  Place(*CloseButton, true);
  GiveHint(*CloseButton, 103);

  OptionsButton = Make<TImageEx>(Background.get(), CloseButton->Left() - 25, 25);
  OptionsButton->SetResourceID(5013);
  OptionsButton->SetCursor(HandCursor);
  OptionsButton->OnClick = [this](TControl*, int, int, int) { ToggleOptions(); };
  Place(*OptionsButton, true);
  GiveHint(*OptionsButton, 109);

  ListArea = Make<TContainerEx>(Background.get(), 30, 75);
  ListArea->SetSize(415, 213);
  Place(*ListArea, true);

  NewsList = Make<TContentEx>(ListArea.get(), 0, 0);
  NewsList->SetSize(415 - 25, 213);
  NewsList->Canvas().SetAntialias(false);
  NewsList->Font().SetName(L"Trebuchet MS");
  NewsList->Font().SetSize(9);
  NewsList->LoadFromFile(FeedCachePath());
  NewsList->OnDrag = [this](TControl*, int keys, int, int) {
    if (keys & MK_LBUTTON) MouseDownHandler(MK_LBUTTON);
  };
  NewsList->OnMouseDown = [this](TControl*, int keys, int, int) {
    if (keys & MK_RBUTTON) ShowMenu();
  };
  NewsList->OnKeyDown = [this](TControl*, WORD& key, TShiftState) { ScrollKey(key); };
  Place(*NewsList, true);

  Scroller = Make<TScrollerEx>(ListArea.get(), 415 - 20, 0);
  Scroller->SetSize(20, 213);
  Scroller->SetBitmap(LoadSkinImage(5000));
  Scroller->OnMouseDown = [this](TControl*, int, int, int y) { TrackClick(y); };
  Place(*Scroller, true);

  Thumb = Make<TThumbEx>(Scroller.get(), 1, 0);
  Thumb->SetSize(18, 70);
  Thumb->SetBitmap(LoadSkinImage(5001));
  Thumb->OnKeyDown = [this](TControl*, WORD& key, TShiftState) { ScrollKey(key); };
  Thumb->OnMouseDown = [this](TControl*, int keys, int, int) { ThumbPressed(keys); };
  Thumb->OnDrag = [this](TControl*, int keys, int, int) { ThumbDragged(keys); };
  Thumb->OnMouseUp = [](TControl*, int, int, int) {};
  Place(*Thumb, true);
}

void TMainWindow::CreateOptionsPanel() {
  auto drag = [this](TControl*, int keys, int, int) { MouseDownHandler(keys); };
  OptionsPanel = Make<TControlEx>(Background.get(), (475 - 385 - 20) / 2, 61);
  OptionsPanel->SetSize(385, 183);
  OptionsPanel->OnMouseDown = drag;
  Place(*OptionsPanel, false);

  OptionsSheet = Make<TImageEx>(OptionsPanel.get(), 0, -183);
  OptionsSheet->SetResourceID(5005);
  if (TBitmapEx* sheet = OptionsSheet->Bitmap()) {
    sheet->Fade(240);
    sheet->Tint(0xFFF0F0F0);
  }
  OptionsSheet->OnMouseDown = drag;
  OptionsSheet->SetOpacity(0);
  Place(*OptionsSheet, true);

  int top = 20;
  SwitchBoxes.clear();
  for (std::size_t i = 0; i < SwitchCount; ++i) {
    auto box = Make<TCheckBoxEx>(OptionsSheet.get(), 40, top);
    box->SetSize(300, 20);
    box->StateBitmaps().SetUnticked(LoadSkinImage(5007));
    box->StateBitmaps().SetTicked(LoadSkinImage(5008));
    box->Canvas().SetAntialias(false);
    box->Canvas().StringFormat().SetLineAlignment(1);
    SetFont(*box, L"Trebuchet MS", 9, 0xCF000000);
    box->SetCaption(LoadResString(Switches[i].Caption));
    box->OnClick = [this, i](TControl*, int, int, int) { OptionClicked(i); };
    Place(*box, true);
    top = box->Top() + box->Height() + 8;
    SwitchBoxes.push_back(std::move(box));
  }

  OptionsClose = Make<TImageEx>(OptionsSheet.get(), OptionsSheet->Width() - 25, OptionsSheet->Height() - 30);
  OptionsClose->SetResourceID(5006);
  OptionsClose->SetCursor(HandCursor);
  OptionsClose->OnClick = [this](TControl*, int, int, int) { HideOptions(); };
  Place(*OptionsClose, true);
  GiveHint(*OptionsClose, 103);
}

void TMainWindow::CreateAboutPanel() {
  auto drag = [this](TControl*, int keys, int, int) { MouseDownHandler(keys); };
  AboutPanel = Make<TControlEx>(Background.get(), 35, 61);
  AboutPanel->SetSize(385, 224);
  AboutPanel->OnMouseDown = drag;
  Place(*AboutPanel, false);

  AboutSheet = Make<TControlEx>(AboutPanel.get(), 0, -224);
  AboutSheet->SetSize(385, 224);
  AboutSheet->OnMouseDown = drag;
  AboutSheet->SetOpacity(0);
  Place(*AboutSheet, true);

  AboutImage = Make<TImageEx>(AboutSheet.get(), 25, 0);
  AboutImage->SetResourceID(5009);
  AboutImage->OnMouseDown = drag;
  Place(*AboutImage, true);

  AboutLogo = Make<TImageEx>(AboutImage.get(), 35, 35);
  AboutLogo->SetResourceID(5010);
  AboutLogo->SetEnabled(false);
  AboutLogo->MouseTransparent = true;
  Place(*AboutLogo, true);

  AboutTitle = Make<TSkinText>(AboutImage.get(), 130, 45);
  AboutTitle->SetSize(149, 46);
  AboutTitle->SetAutoSize(false);
  SetFont(*AboutTitle, L"Impact", 20, 0xFF333333);
  Label(*AboutTitle, LoadResString(100), true, 0, 1);
  AboutTitle->SetEnabled(false);
  AboutTitle->MouseTransparent = true;
  Place(*AboutTitle, true);

  AboutText = Make<TSkinText>(AboutImage.get(), 138, 85);
  AboutText->SetSize(180, 70);
  AboutText->SetAutoSize(false);
  SetFont(*AboutText, L"Trebuchet MS", 8, 0xFF404040);
  Label(*AboutText, LoadResString(101), false, 0, 0);
  AboutText->SetEnabled(false);
  AboutText->MouseTransparent = true;
  Place(*AboutText, true);

  AboutLink = Make<TSkinText>(AboutImage.get(), 138, 165);
  AboutLink->SetSize(120, 25);
  SetFont(*AboutLink, L"Trebuchet MS", 8, 0xFF4040FF, 1);
  Label(*AboutLink, LoadResString(102), false, 0, 1);
  AboutLink->SetCursor(HandCursor);
  AboutLink->OnClick = [this](TControl*, int, int, int) { OpenMakerPage(); };
  Place(*AboutLink, true);

  AboutClose = Make<TImageEx>(AboutImage.get(), 342 - 21 - 25, 20);
  AboutClose->SetSize(21, 21);
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
  while (Opacity() + step < 255) {
    SetOpacity(static_cast<BYTE>(Opacity() + step));
    ::Sleep(delay);
  }
  SetOpacity(255);
  Update();
}

void TMainWindow::FadeOut(int step, DWORD delay) {
  while (Opacity() - step > 0) {
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
  const int k = SlideAlphaStep(sheet.Height());
  holder.Show();
  Update();
  for (;;) {
    int next = sheet.Top() + 15;
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
  const int k = SlideAlphaStep(h);
  for (;;) {
    int next = sheet.Top() - 15;
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

void TMainWindow::ShowOptions() { SlideIn(*OptionsPanel, *OptionsSheet); }
void TMainWindow::HideOptions() { SlideOut(*OptionsPanel, *OptionsSheet); }
void TMainWindow::ShowAbout() { SlideIn(*AboutPanel, *AboutSheet); }
void TMainWindow::HideAbout() { SlideOut(*AboutPanel, *AboutSheet); }

// --- auto-size ----------------------------------------------------------------

void TMainWindow::ScaleWindow(bool activated) {
  if (Closing || !AutoScaleOn || !ScaleHost) return;
  Corner = CornerFor(WorkAreaAt(Left(), Top(), Width(), Height()), Left(), Top());
  if (activated) {
    ShrinkDone = false;
    while (GrowStep(SizeFactor, ScaleStep, MaxScale)) {
      Paint();
      Present();
    }
    Shrunk = false;
    ScaleHost->SetSize(475, 350);
  } else {
    Shrunk = true;
    // The widget tree stops showing; only the window's own picture remains.
    ScaleHost->SetSize(1, 1);
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
  TMiniRect r = MiniatureRect(Corner, SizeFactor);
  const TBitmapEx& face = Background->Canvas().Bitmap();
  if (ShrinkDone)
    Canvas().DrawImage(face, r.X, r.Y, r.W, r.H);  // the resting miniature, smooth
  else
    Canvas().StretchDraw(face, r.X, r.Y, r.W, r.H);  // fast while animating
}

// --- edge snapping --------------------------------------------------------------

void TMainWindow::WMWindowPosChanging(WINDOWPOS& pos) {
  TWindowEx::WMWindowPosChanging(pos);
  if (pos.flags & SWP_NOMOVE) return;
  // The monitor the window is being moved onto, not the one it leaves.
  SnapToEdges(WorkAreaAt(pos.x, pos.y, Width(), Height()), Width(), Height(), pos.x, pos.y);
}
