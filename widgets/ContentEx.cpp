#include "widgets/ContentEx.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <typeinfo>
#include <unordered_map>

#include "feed/FeedParser.h"
#include "feed/LinkPolicy.h"
#include "widgets/LineHeights.h"

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
  OnClick = [this](TControl*, int, int x, int y) { OpenItem(x, ListY(y)); };
  OpenAddress = [](const std::wstring& address) {
    // A link the shell cannot open fails silently.
    ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOW);
  };
}

void TContentEx::LoadFromFile(const std::wstring& path) {
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  fileName_ = path;
  std::unique_ptr<TElementList> previous;
  if (auto parsed = ParseFeed(path)) {
    previous = std::move(items_);
    items_ = std::move(parsed);
  }
  if (items_ && !items_->empty()) Layout(previous ? previous.get() : items_.get());
}

void TContentEx::ShowFeed(const std::wstring& path, std::unique_ptr<TElementList> items) {
  fileName_ = path;
  std::unique_ptr<TElementList> previous;
  if (items) {
    previous = std::move(items_);
    items_ = std::move(items);
  }
  if (items_ && !items_->empty()) Layout(previous ? previous.get() : items_.get());
}

int TContentEx::UpdateHeight() {
  if (!items_ || items_->empty()) return Parent() ? Parent()->Height() : Height();
  return Layout(items_.get());
}

namespace {
std::wstring Key(const TElement& e) { return e.Title + L'\0' + e.Summary; }
}  // namespace

int TContentEx::Layout(const TElementList* previous) {
  // A refresh mostly brings the items of the last one again: their sizes are
  // known already, and measuring is the costly part of a layout.
  std::unordered_map<std::wstring, TMeasure> known;
  if (previous && previous->size() == rows_.size()) {
    known.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) known.emplace(Key(*(*previous)[i]), rows_[i].Size);
  }
  std::vector<TRow> rows(items_->size());
  std::vector<size_t> fresh;
  for (size_t i = 0; i < rows.size(); ++i) {
    auto it = known.find(Key(*(*items_)[i]));
    if (it != known.end())
      rows[i].Size = it->second;
    else
      fresh.push_back(i);
  }
  // One font change per kind of text, not two per item.
  TCanvasEx& canvas = Canvas();
  TFontEx& font = canvas.Font();
  if (!fresh.empty()) {
    font.SetStyle(1);  // bold
    font.SetSize(TitleSize);
    TLineHeights titles;
    for (size_t i : fresh) {
      const std::wstring title = Lines((*items_)[i]->Title);
      rows[i].Size.TitleHeight = titles.Height(canvas, title);
      rows[i].Size.TitleWidth = canvas.TextWidth(title);
    }
    font.SetStyle(0);
    font.SetSize(SummarySize);
    TLineHeights summaries;
    for (size_t i : fresh) rows[i].Size.SummaryHeight = summaries.Height(canvas, Lines((*items_)[i]->Summary));
  }
  measured_ = static_cast<int>(fresh.size());

  float y = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    TRow& row = rows[i];
    RECT title{0, R(y), 0, 0};
    y += row.Size.TitleHeight;
    title.right = row.Size.TitleWidth;
    y += 4;
    title.bottom = R(y);
    row.TitleRect = title;
    (*items_)[i]->TitleRect = title;
    y += 2;
    row.Separator = R(y);
    y += 2;
    row.SummaryTop = R(y);
    y += row.Size.SummaryHeight;
    y += 4;
    row.SummaryBottom = R(y);
    y += 15;
    row.End = R(y);
  }
  rows_ = std::move(rows);
  bandTop_ = INT_MIN;
  listHeight_ = R(y);
  FitCanvas();
  return listHeight_;
}

int TContentEx::ItemAtPoint(int x, int y) const {
  if (!items_) return -1;
  // Headlines run down the list in order and never overlap: the only one
  // that can hold the point is the first that ends below it.
  auto first = std::partition_point(items_->begin(), items_->end(),
                                    [y](const std::unique_ptr<TElement>& e) { return e->TitleRect.bottom <= y; });
  POINT p{x, y};
  if (first == items_->end() || !::PtInRect(&(*first)->TitleRect, p)) return -1;
  return static_cast<int>(first - items_->begin());
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

int TContentEx::ViewportHeight() const {
  int h = Parent() ? Parent()->Height() : Height();
  return h > 0 ? h : 1;
}

int TContentEx::CanvasHeight() const {
  long long band = 3LL * ViewportHeight();
  long long h = ListHeight() < band ? ListHeight() : band;
  return h > 0 ? static_cast<int>(h) : 1;
}

void TContentEx::FitCanvas() {
  int w = Width() > 0 ? Width() : 1, h = CanvasHeight();
  if (Canvas().Width() == w && Canvas().Height() == h) return;
  Canvas().Resize(w, h);
  bandTop_ = INT_MIN;
}

void TContentEx::CreateHandle() {
  TControl::CreateHandle();
  FitCanvas();
}

void TContentEx::WMSize(TMessage& m) {
  TControl::WMSize(m);
  FitCanvas();
}

bool TContentEx::BandCovers() {
  if (bandTop_ == INT_MIN) return false;
  int visible = scrollTop_ < 0 ? -scrollTop_ : 0;
  int end = visible + ViewportHeight();
  if (end > ListHeight()) end = ListHeight();
  return visible >= bandTop_ && end <= bandTop_ + Canvas().Height();
}

void TContentEx::Paint() {
  TControlEx::Paint();
  if (!items_ || items_->empty()) {
    bandTop_ = 0;
    return;
  }
  if (rows_.size() != items_->size()) Layout(nullptr);
  TCanvasEx& canvas = Canvas();
  const int bandHeight = canvas.Height(), viewport = ViewportHeight();
  // The viewport sits in the middle of the band, so a step either way is
  // already rendered.
  int top = (scrollTop_ < 0 ? -scrollTop_ : 0) - (bandHeight - viewport) / 2;
  if (top > ListHeight() - bandHeight) top = ListHeight() - bandHeight;
  if (top < 0) top = 0;
  bandTop_ = top;
  const int bottom = top + bandHeight;
  auto first = std::partition_point(rows_.begin(), rows_.end(), [top](const TRow& r) { return r.End <= top; });
  auto last = std::partition_point(first, rows_.end(), [bottom](const TRow& r) { return r.TitleRect.top < bottom; });
  if (first == last) return;

  TFontEx& font = canvas.Font();
  canvas.StringFormat().SetLineAlignment(1);  // centred
  canvas.StringFormat().SetAlignment(0);      // near
  font.SetStyle(1);  // bold
  font.SetSize(TitleSize);
  font.SetColor(TitleColor);
  for (auto r = first; r != last; ++r) {
    RECT title = r->TitleRect;
    OffsetRect(&title, 0, -top);
    canvas.DrawText(title, Lines((*items_)[static_cast<size_t>(r - rows_.begin())]->Title));
  }
  canvas.Pen().SetColor(SeparatorColor);
  for (auto r = first; r != last; ++r) canvas.DrawLine(0, r->Separator - top, Width(), r->Separator - top);
  font.SetStyle(0);
  font.SetSize(SummarySize);
  font.SetColor(SummaryColor);
  for (auto r = first; r != last; ++r) {
    RECT summary{0, r->SummaryTop - top, Width(), r->SummaryBottom - top};
    canvas.DrawText(summary, Lines((*items_)[static_cast<size_t>(r - rows_.begin())]->Summary));
  }
}

void TContentEx::Repaint() {
  if (!BandCovers()) Redraw = true;
  TControlEx::Repaint();
}

void TContentEx::Present() {
  auto* parent = dynamic_cast<TControlEx*>(Parent());
  if (parent == nullptr) throw std::bad_cast();
  int band = bandTop_ == INT_MIN ? 0 : bandTop_;
  parent->Canvas().DrawAlpha(Canvas().Bitmap(), Left(), Top() + scrollTop_ + band, Opacity);
}

void TContentEx::WMMouseMove(TMessage& m) {
  TControlEx::WMMouseMove(m);
  // The hand only over a headline that a click would open.
  SetCursor(AddressAt(GET_X_LPARAM(m.LParam), ListY(GET_Y_LPARAM(m.LParam))).empty() ? ArrowCursor : HandCursor);
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
