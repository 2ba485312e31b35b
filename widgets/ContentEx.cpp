#include "widgets/ContentEx.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cmath>

#include "feed/FeedParser.h"
#include "feed/LinkPolicy.h"

namespace {

constexpr std::uint32_t TitleColor = 0xFF0000A0;
constexpr std::uint32_t SummaryColor = 0xFF303030;
constexpr std::uint32_t SeparatorColor = 0x40000000;
constexpr int TitleSize = 10, SummarySize = 9;
constexpr int HandCursor = 13, ArrowCursor = 0;

// Nearest whole pixel, ties to even (the default rounding mode).
int R(float y) { return static_cast<int>(std::lrint(y)); }

// Lines are stored with CR LF; a lone LF breaks them the same on Windows,
// and Wine's GDI+ would draw the CR as a box.
std::wstring Lines(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')) out += text[i];
  return out;
}

}  // namespace

TContentEx::TContentEx() : TControlEx(L"TContentEx"), BaseAddress(FeedAddress()) {
  OnClick = [this](TControl*, int, int x, int y) { OpenItem(x, y); };
  OpenAddress = [](const std::wstring& address) {
    // A link the shell cannot open fails silently.
    ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOW);
  };
}

void TContentEx::LoadFromFile(const std::wstring& path) {
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  fileName_ = path;
  if (auto parsed = ParseFeed(path)) items_ = std::move(parsed);
  UpdateHeight();
}

void TContentEx::ShowFeed(const std::wstring& path, std::unique_ptr<TElementList> items) {
  fileName_ = path;
  if (items) items_ = std::move(items);
  UpdateHeight();
}

int TContentEx::Layout(bool draw) {
  TCanvasEx& canvas = Canvas();
  TFontEx& font = canvas.Font();
  if (draw) {
    canvas.Pen().SetColor(SeparatorColor);
    canvas.StringFormat().SetLineAlignment(1);  // centred
    canvas.StringFormat().SetAlignment(0);      // near
  }
  float y = 0;
  for (auto& item : *items_) {
    font.SetStyle(1);  // bold
    font.SetSize(TitleSize);
    font.SetColor(TitleColor);
    const std::wstring titleText = Lines(item->Title);
    RECT title{0, R(y), 0, 0};
    y += canvas.TextHeight(titleText);
    title.right = canvas.TextWidth(titleText);
    y += 4;
    title.bottom = R(y);
    item->TitleRect = title;
    if (draw) canvas.DrawText(title, titleText);
    y += 2;
    if (draw) canvas.DrawLine(0, R(y), Width(), R(y));
    y += 2;
    font.SetStyle(0);
    font.SetSize(SummarySize);
    font.SetColor(SummaryColor);
    const std::wstring summaryText = Lines(item->Summary);
    RECT summary{0, R(y), Width(), 0};
    y += canvas.TextHeight(summaryText);
    y += 4;
    summary.bottom = R(y);
    if (draw) canvas.DrawText(summary, summaryText);
    y += 15;
  }
  return R(y);
}

int TContentEx::UpdateHeight() {
  if (!items_ || items_->empty()) return Parent() ? Parent()->Height() : Height();
  int height = Layout(false);
  SetHeight(height);
  return height;
}

int TContentEx::ItemAtPoint(int x, int y) const {
  if (!items_) return -1;
  POINT p{x, y};
  for (size_t i = 0; i < items_->size(); ++i)
    if (::PtInRect(&(*items_)[i]->TitleRect, p)) return static_cast<int>(i);
  return -1;
}

std::wstring TContentEx::AddressAt(int x, int y) const {
  int i = ItemAtPoint(x, y);
  if (i < 0 || !items_) return {};
  return ClickAddress((*items_)[static_cast<size_t>(i)]->Link, BaseAddress, BuildReferral());
}

void TContentEx::OpenItem(int x, int y) {
  // A feed comes over plain HTTP: anything but a web page opens nothing.
  std::wstring address = AddressAt(x, y);
  if (!address.empty() && OpenAddress) OpenAddress(address);
}

void TContentEx::Paint() {
  TControlEx::Paint();
  if (!items_ || items_->empty()) return;
  Layout(true);
}

void TContentEx::WMMouseMove(TMessage& m) {
  TControlEx::WMMouseMove(m);
  // The hand only over a headline that a click would open.
  SetCursor(AddressAt(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)).empty() ? ArrowCursor : HandCursor);
}

void TContentEx::WMButtonDown(TMessage& m) {
  ::SetCapture(m.Window);
  SetFocus();
  TControlEx::WMButtonDown(m);
}

void TContentEx::WMButtonUp(TMessage& m) {
  ::ReleaseCapture();
  TControlEx::WMButtonUp(m);
}
