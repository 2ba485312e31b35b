#include "widgets/ContentEx.h"

#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <typeinfo>
#include <unordered_map>

#include "feed/FeedParser.h"
#include "feed/LinkPolicy.h"
#include "framework/WideText.h"
#include "html/WrapWidth.h"
#include "widgets/LineHeights.h"

namespace {

// The mark of a new headline: a dot after the headline.
constexpr int FreshDot = 6, FreshGap = 6;
// The selected item's bar at its left edge.
constexpr int SelectionBar = 3;
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
  OpenAddress = [](const std::wstring& address) {
    // A link the shell cannot open fails silently.
    ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOW);
  };
}

void TContentEx::LoadFromFile(const std::wstring& path) {
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  fileName_ = path;
  std::unique_ptr<TElementList> previous;
  const std::wstring link = SelectedLink();
  if (auto parsed = ParseFeed(path)) {
    previous = std::move(items_);
    items_ = std::move(parsed);
  }
  if (items_ && !items_->empty()) Layout(previous ? previous.get() : items_.get());
  Reselect(link);
  Invalidate();
}

void TContentEx::ShowFeed(const std::wstring& path, std::unique_ptr<TElementList> items) {
  fileName_ = path;
  std::unique_ptr<TElementList> previous;
  const std::wstring link = SelectedLink();
  if (items) {
    previous = std::move(items_);
    items_ = std::move(items);
  }
  if (items_ && !items_->empty()) Layout(previous ? previous.get() : items_.get());
  Reselect(link);
  Invalidate();
}

void TContentEx::ScaleChanged() {
  TControlEx::ScaleChanged();
  Canvas().Font().SetDpi(TextDpi());
  // Every size was measured at the old scale.
  rows_.clear();
  if (items_ && !items_->empty()) Layout(nullptr);
}

int TContentEx::TextDpi() const { return (Scale().Dpi() * textPercent_ + 50) / 100; }

void TContentEx::SetPalette(const TFacePalette& palette) {
  palette_ = palette;
  Invalidate();
}

void TContentEx::SetTextPercent(int percent) {
  if (percent < 100) percent = 100;
  if (percent == textPercent_) return;
  textPercent_ = percent;
  Canvas().Font().SetDpi(TextDpi());
  rows_.clear();
  if (items_ && !items_->empty()) Layout(nullptr);
  Invalidate();
}

std::wstring TContentEx::ShownTitle(size_t index) const {
  if (index < rows_.size() && !rows_[index].Size.Title.empty()) return rows_[index].Size.Title;
  return Lines((*items_)[index]->Title);
}

std::wstring TContentEx::ShownSummary(size_t index) const {
  if (index < rows_.size() && !rows_[index].Size.Summary.empty()) return rows_[index].Size.Summary;
  return Lines((*items_)[index]->Summary);
}

std::wstring TContentEx::Rewrapped(const std::wstring& text, int room) {
  // The stored texts were wrapped in columns for the design size. Pieces
  // are measured typographically (they add up) for a guess; every line is
  // then measured as it is drawn, on its own (DrawLines).
  TCanvasEx& canvas = Canvas();
  const TTextWidth piece = [&canvas](std::u16string_view s) {
    return static_cast<int>(std::ceil(canvas.TypographicWidth(WideFromU16(s))));
  };
  const TLineFits fits = [&canvas, room](std::u16string_view s) {
    return canvas.TextWidth(WideFromU16(s)) <= room;
  };
  return Lines(WideFromU16(WrapToWidth(UnwrapText(U16FromWide(text)), piece, fits, room)));
}

void TContentEx::DrawLines(TCanvasEx& canvas, const RECT& box, const std::wstring& text, float height) {
  // As DrawText centres the text in the box: the lines share the height the
  // layout measured, each in a box too wide to wrap.
  size_t count = 1;
  for (wchar_t c : text) count += c == L'\n';
  const float line = height / static_cast<float>(count);
  float y = static_cast<float>(box.top) + (static_cast<float>(box.bottom - box.top) - height) / 2;
  const int lineAlignment = canvas.StringFormat().LineAlignment();
  canvas.StringFormat().SetLineAlignment(0);  // near
  size_t start = 0;
  for (size_t k = 0; k < count; ++k, y += line) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    const int top = static_cast<int>(std::lround(y));
    canvas.DrawText(RECT{box.left, top, box.left + 4 * Width(), top + static_cast<int>(std::ceil(line)) + 1},
                    text.substr(start, end - start));
    start = end + 1;
  }
  canvas.StringFormat().SetLineAlignment(lineAlignment);
}

int TContentEx::TitleRoom() const { return Width() - Scale().Px(FreshGap + FreshDot); }

int TContentEx::UpdateHeight() {
  if (!items_ || items_->empty()) return Parent() ? Parent()->Height() : Height();
  int height = Layout(items_.get());
  Invalidate();
  return height;
}

namespace {

// An item's texts, seen where the item holds them: the previous items stay
// alive while the new ones are laid out, and copying 5,000 texts into keys
// would cost as much memory again as the items.
struct TTextsKey {
  std::wstring_view Title, Summary;
  bool operator==(const TTextsKey& o) const { return Title == o.Title && Summary == o.Summary; }
};
struct TTextsHash {
  size_t operator()(const TTextsKey& k) const {
    std::hash<std::wstring_view> h;
    return h(k.Title) * 31 + h(k.Summary);
  }
};
TTextsKey Key(const TElement& e) { return {e.Title, e.Summary}; }

}  // namespace

int TContentEx::Layout(const TElementList* previous) {
  // A refresh mostly brings the items of the last one again: their sizes are
  // known already.
  std::unordered_map<TTextsKey, TMeasure, TTextsHash> known;
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
  measured_ = 0;
  // One font change per kind of text, not two per item.
  TCanvasEx& canvas = Canvas();
  TFontEx& font = canvas.Font();
  if (!fresh.empty()) {
    // Larger texts than the stored wrap was made for are wrapped again; a
    // headline keeps room for the mark of a new one after it.
    const bool rewrap = textPercent_ != 100;
    const int titleRoom = TitleRoom(), summaryRoom = Width();
    font.SetStyle(1);  // bold
    font.SetSize(TitleSize);
    TLineHeights titles;
    for (size_t i : fresh) {
      TMeasure& m = rows[i].Size;
      if (rewrap) m.Title = Rewrapped((*items_)[i]->Title, titleRoom);
      m.TitleHeight = titles.Height(canvas, rewrap ? m.Title : Lines((*items_)[i]->Title));
    }
    font.SetStyle(0);
    font.SetSize(SummarySize);
    TLineHeights summaries;
    for (size_t i : fresh) {
      TMeasure& m = rows[i].Size;
      if (rewrap) m.Summary = Rewrapped((*items_)[i]->Summary, summaryRoom);
      m.SummaryHeight = summaries.Height(canvas, rewrap ? m.Summary : Lines((*items_)[i]->Summary));
    }
    measured_ = titles.Measured() + summaries.Measured();
  }

  // The gaps are 96-DPI pixels at the control's scale; the texts' heights
  // come from fonts made for it already.
  const float k = static_cast<float>(Scale().Factor());
  float y = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    TRow& row = rows[i];
    row.TitleTop = R(y);
    y += row.Size.TitleHeight;
    y += 4 * k;
    row.TitleBottom = R(y);
    (*items_)[i]->TitleRect = RECT{0, row.TitleTop, row.Size.TitleWidth < 0 ? 0 : row.Size.TitleWidth,
                                   row.TitleBottom};
    y += 2 * k;
    row.Separator = R(y);
    y += 2 * k;
    row.SummaryTop = R(y);
    y += row.Size.SummaryHeight;
    y += 4 * k;
    row.SummaryBottom = R(y);
    y += 15 * k;
    row.End = R(y);
  }
  rows_ = std::move(rows);
  bandTop_ = INT_MIN;
  paintedFirst_ = paintedLast_ = 0;
  listHeight_ = R(y);
  FitCanvas();
  return listHeight_;
}

void TContentEx::MeasureTitles(size_t first, size_t last) {
  TFontEx& font = Canvas().Font();
  bool set = false;
  for (size_t i = first; i < last; ++i) {
    TRow& row = rows_[i];
    if (row.Size.TitleWidth >= 0) continue;
    if (!set) {
      font.SetStyle(1);  // bold
      font.SetSize(TitleSize);
      set = true;
    }
    row.Size.TitleWidth = Canvas().TextWidth(ShownTitle(i));
    (*items_)[i]->TitleRect.right = row.Size.TitleWidth;
    ++measured_;
  }
}

RECT TContentEx::HeadlineRect(size_t index) {
  if (!items_ || index >= items_->size()) return RECT{};
  if (rows_.size() != items_->size()) Layout(nullptr);
  MeasureTitles(index, index + 1);
  return (*items_)[index]->TitleRect;
}

int TContentEx::ItemAtPoint(int x, int y) {
  if (!items_ || items_->empty()) return -1;
  if (rows_.size() != items_->size()) Layout(nullptr);
  // Headlines run down the list in order and never overlap: the only one
  // that can hold the point is the first that ends below it.
  auto first = std::partition_point(rows_.begin(), rows_.end(), [y](const TRow& r) { return r.TitleBottom <= y; });
  if (first == rows_.end() || y < first->TitleTop || x < 0) return -1;
  size_t index = static_cast<size_t>(first - rows_.begin());
  RECT r = HeadlineRect(index);
  POINT p{x, y};
  return ::PtInRect(&r, p) ? static_cast<int>(index) : -1;
}

int TContentEx::ItemAtRow(int y) const {
  auto first = std::partition_point(rows_.begin(), rows_.end(), [y](const TRow& r) { return r.End <= y; });
  return first == rows_.end() || y < 0 ? -1 : static_cast<int>(first - rows_.begin());
}

std::wstring TContentEx::AddressAt(int x, int y) {
  int i = ItemAtPoint(x, y);
  if (i < 0 || !items_) return {};
  return ClickAddress((*items_)[static_cast<size_t>(i)]->Link, BaseAddress, BuildReferral());
}

std::wstring TContentEx::AddressOf(size_t index) const {
  if (!items_ || index >= items_->size()) return {};
  return ClickAddress((*items_)[index]->Link, BaseAddress, BuildReferral());
}

void TContentEx::OpenIndex(size_t index) {
  std::wstring address = AddressOf(index);
  if (!address.empty() && OpenAddress) OpenAddress(address);
}

std::wstring TContentEx::SelectedLink() const {
  if (!items_ || selected_ < 0 || static_cast<size_t>(selected_) >= items_->size()) return {};
  return (*items_)[static_cast<size_t>(selected_)]->Link;
}

void TContentEx::SetFresh(std::vector<bool> fresh) {
  if (fresh == fresh_) return;
  fresh_ = std::move(fresh);
  Invalidate();
}

std::pair<size_t, size_t> TContentEx::VisibleItems() const {
  if (rows_.size() != Count()) return {0, 0};
  auto [top, bottom] = Visible();
  return RowsBetween(top, bottom);
}

void TContentEx::Reselect(const std::wstring& link) {
  fresh_.clear();
  std::vector<std::wstring> links;
  if (items_) {
    links.reserve(items_->size());
    for (const auto& item : *items_) links.push_back(item->Link);
  }
  selected_ = ReloadedSelection(link, links);
}

void TContentEx::SetSelected(int index) {
  const int count = static_cast<int>(Count());
  int next = count == 0 ? -1 : std::min(std::max(index, 0), count - 1);
  if (next == selected_) return;
  const int before = selected_;
  selected_ = next;
  if (!selectionShown_) return;
  InvalidateItem(before);
  InvalidateItem(next);
}

void TContentEx::InvalidateItem(int index) {
  if (index < 0) return;
  const size_t i = static_cast<size_t>(index);
  if (bandTop_ == INT_MIN || rows_.size() != Count() || i >= rows_.size()) {
    Invalidate();
    return;
  }
  // The selection's box: the item's own pixel rows, which no other item
  // paints.
  const TRow& r = rows_[i];
  InvalidateArea(RECT{0, r.TitleTop - bandTop_, Canvas().Width(), r.SummaryBottom - bandTop_});
}

int TContentEx::SelectionAfter(TListKey key) const {
  std::vector<int> tops;
  if (rows_.size() == Count()) {
    tops.reserve(rows_.size());
    for (const TRow& r : rows_) tops.push_back(r.TitleTop);
  } else {
    // Not laid out yet: every item counts as one row.
    for (size_t i = 0; i < Count(); ++i) tops.push_back(static_cast<int>(i));
  }
  return MovedSelection(selected_, key, tops, ViewportHeight());
}

void TContentEx::ShowSelection(bool shown, bool focused) {
  focused = shown && focused;
  if (shown == selectionShown_ && focused == selectionFocused_) return;
  selectionShown_ = shown;
  selectionFocused_ = focused;
  InvalidateItem(selected_);
}

RECT TContentEx::ItemRect(size_t index) const {
  if (index >= rows_.size() || rows_.size() != Count()) return RECT{};
  const TRow& r = rows_[index];
  return RECT{0, r.TitleTop, Width(), r.SummaryBottom};
}

bool TContentEx::ItemVisible(size_t index) const {
  RECT r = ItemRect(index);
  if (r.bottom <= r.top) return false;
  auto [top, bottom] = Visible();
  return r.top < bottom && r.bottom > top;
}

namespace {
// The stored line breaks of a wrapped text become spaces.
std::wstring OneLine(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
    if (text[i] != L'\n' && text[i] != L'\r')
      out += text[i];
    else if (!out.empty() && out.back() != L' ')
      out += L' ';
  }
  return out;
}
}  // namespace

bool TContentEx::SameItems(const TElementList& other) const {
  if (!items_ || items_->size() != other.size()) return false;
  for (size_t i = 0; i < other.size(); ++i) {
    const TElement &a = *(*items_)[i], &b = *other[i];
    if (a.Link != b.Link || a.Title != b.Title || a.Summary != b.Summary) return false;
  }
  return true;
}

std::wstring TContentEx::ItemTitle(size_t index) const {
  return items_ && index < items_->size() ? OneLine((*items_)[index]->Title) : std::wstring();
}

std::wstring TContentEx::ItemSummary(size_t index) const {
  return items_ && index < items_->size() ? OneLine((*items_)[index]->Summary) : std::wstring();
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
  // The canvas is the band, not the window: TControlEx's sizing is skipped.
  TControl::CreateHandle();
  FitCanvas();
  Invalidate();
}

void TContentEx::WMSize(int kind, int width, int height) {
  TControl::WMSize(kind, width, height);
  FitCanvas();
  Invalidate();
}

std::pair<int, int> TContentEx::Visible() const {
  int top = scrollTop_ < 0 ? -scrollTop_ : 0;
  int bottom = top + ViewportHeight();
  return {top, bottom < ListHeight() ? bottom : ListHeight()};
}

std::pair<size_t, size_t> TContentEx::RowsBetween(int top, int bottom) const {
  auto first = std::partition_point(rows_.begin(), rows_.end(), [top](const TRow& r) { return r.End <= top; });
  auto last = std::partition_point(first, rows_.end(), [bottom](const TRow& r) { return r.TitleTop < bottom; });
  return {static_cast<size_t>(first - rows_.begin()), static_cast<size_t>(last - rows_.begin())};
}

bool TContentEx::BandCovers() {
  if (bandTop_ == INT_MIN) return false;
  auto [top, bottom] = Visible();
  return top >= bandTop_ && bottom <= bandTop_ + Canvas().Height();
}

void TContentEx::Paint() {
  const RECT area = PaintArea();
  const RECT whole{0, 0, Canvas().Width(), Canvas().Height()};
  if (!::EqualRect(&area, &whole) && items_ && !items_->empty() && rows_.size() == items_->size() && BandCovers()) {
    // Part of the band (Freshen made sure the band stays where it is): the
    // painted rows there are drawn again, the clip keeps the rest as it was.
    TControlEx::Paint();
    auto [first, last] = RowsBetween(area.top + bandTop_, area.bottom + bandTop_);
    PaintRows(std::max(first, paintedFirst_), std::min(last, paintedLast_));
    return;
  }
  TControlEx::Paint();
  paintedFirst_ = paintedLast_ = 0;
  if (!items_ || items_->empty()) {
    bandTop_ = 0;
    return;
  }
  if (rows_.size() != items_->size()) Layout(nullptr);
  const int bandHeight = Canvas().Height(), viewport = ViewportHeight();
  // The viewport sits in the middle of the band, so a step either way stays
  // inside it.
  int top = (scrollTop_ < 0 ? -scrollTop_ : 0) - (bandHeight - viewport) / 2;
  if (top > ListHeight() - bandHeight) top = ListHeight() - bandHeight;
  if (top < 0) top = 0;
  bandTop_ = top;
  // Only what is seen is drawn now: the rest of the band when the view
  // reaches it.
  auto [seenTop, seenBottom] = Visible();
  auto [first, last] = RowsBetween(seenTop, seenBottom);
  PaintRows(first, last);
  paintedFirst_ = first;
  paintedLast_ = last;
}

void TContentEx::PaintRows(size_t first, size_t last) {
  if (first >= last) return;
  MeasureTitles(first, last);
  TCanvasEx& canvas = Canvas();
  const int top = bandTop_;
  TFontEx& font = canvas.Font();
  canvas.StringFormat().SetLineAlignment(1);  // centred
  canvas.StringFormat().SetAlignment(0);      // near
  // Texts wrapped again by width are drawn line by line, so GDI+ breaks
  // none of them once more.
  const bool rewrapped = textPercent_ != 100;
  auto draw = [&](const RECT& box, const std::wstring& text, float height) {
    if (rewrapped)
      DrawLines(canvas, box, text, height);
    else
      canvas.DrawText(box, text);
  };
  const bool selectionHere = selectionShown_ && selected_ >= 0 && static_cast<size_t>(selected_) >= first &&
                             static_cast<size_t>(selected_) < last;
  if (selectionHere) PaintSelection(static_cast<size_t>(selected_));
  // High contrast draws the selected item's texts in the highlight's own
  // text colour.
  auto colorOf = [&](size_t i, std::uint32_t color) {
    return selectionHere && palette_.SelectedText != 0 && static_cast<int>(i) == selected_ ? palette_.SelectedText
                                                                                           : color;
  };
  font.SetStyle(1);  // bold
  font.SetSize(TitleSize);
  for (size_t i = first; i < last; ++i) {
    const TRow& r = rows_[i];
    RECT title{0, r.TitleTop - top, r.Size.TitleWidth, r.TitleBottom - top};
    font.SetColor(colorOf(i, palette_.Title));
    draw(title, ShownTitle(i), r.Size.TitleHeight);
  }
  const int dot = Scale().Px(FreshDot), gap = Scale().Px(FreshGap);
  canvas.Brush().SetColor(palette_.Fresh);
  for (size_t i = first; i < last; ++i) {
    if (!IsFresh(i)) continue;
    const TRow& r = rows_[i];
    const int x = std::min(r.Size.TitleWidth + gap, Width() - dot);
    const int y = (r.TitleTop + r.TitleBottom - dot) / 2 - top;
    canvas.FillRect(RECT{x, y, x + dot, y + dot});
  }
  canvas.Pen().SetColor(palette_.Separator);
  for (size_t i = first; i < last; ++i) canvas.DrawLine(0, rows_[i].Separator - top, Width(), rows_[i].Separator - top);
  font.SetStyle(0);
  font.SetSize(SummarySize);
  for (size_t i = first; i < last; ++i) {
    RECT summary{0, rows_[i].SummaryTop - top, Width(), rows_[i].SummaryBottom - top};
    font.SetColor(colorOf(i, palette_.Summary));
    draw(summary, ShownSummary(i), rows_[i].Size.SummaryHeight);
  }
}

void TContentEx::PaintSelection(size_t index) {
  // Inside the item's own rows, which no other item paints.
  const TRow& r = rows_[index];
  RECT box{0, r.TitleTop - bandTop_, Width(), r.SummaryBottom - bandTop_};
  TCanvasEx& canvas = Canvas();
  canvas.Brush().SetColor(palette_.Selection);
  canvas.FillRect(box);
  // The wash alone is faint: a bar tells the selected item from the others.
  canvas.Brush().SetColor(palette_.SelectionBar);
  canvas.FillRect(RECT{box.left, box.top, box.left + Scale().Px(SelectionBar), box.bottom});
  if (!selectionFocused_) return;
  canvas.Pen().SetColor(palette_.Focus);
  canvas.Pen().SetStyle(2);  // DashStyleDot
  canvas.FrameRect(box);
  canvas.Pen().SetStyle(0);
}

void TContentEx::Freshen() {
  const RECT marked = MarkedPart();
  const RECT whole{0, 0, Canvas().Width(), Canvas().Height()};
  if (!BandCovers() || rows_.size() != Count()) {
    // A band placed anew is painted whole.
    MarkOwnPicture();
  } else if (!::EqualRect(&marked, &whole) && !rows_.empty()) {
    // Inside the band, rows the view reaches for the first time are drawn
    // beside the ones already there; each row owns its pixel rows, so the
    // band looks as if it had been drawn at once.
    auto [seenTop, seenBottom] = Visible();
    auto [first, last] = RowsBetween(seenTop, seenBottom);
    if (paintedFirst_ == paintedLast_) {
      PaintRows(first, last);
      paintedFirst_ = first;
      paintedLast_ = last;
    } else {
      if (first < paintedFirst_) {
        PaintRows(first, paintedFirst_);
        paintedFirst_ = first;
      }
      if (last > paintedLast_) {
        PaintRows(paintedLast_, last);
        paintedLast_ = last;
      }
    }
  }
}

void TContentEx::Present() {
  auto* parent = dynamic_cast<TControlEx*>(Parent());
  if (parent == nullptr) throw std::bad_cast();
  const POINT origin = PictureOrigin();
  parent->Canvas().DrawAlpha(Canvas().Bitmap(), origin.x, origin.y, Opacity());
}

POINT TContentEx::PictureOrigin() const {
  return POINT{Left(), Top() + scrollTop_ + (bandTop_ == INT_MIN ? 0 : bandTop_)};
}

RECT TContentEx::ShownArea() const {
  // The band where it lies, and the window: a band the view has left is
  // painted anew there once the list is composed.
  const POINT origin = PictureOrigin();
  const RECT band{origin.x, origin.y, origin.x + Canvas().Width(), origin.y + Canvas().Height()};
  const RECT window{Left(), Top(), Left() + Width(), Top() + Height()};
  RECT both;
  ::UnionRect(&both, &band, &window);
  return both;
}

void TContentEx::WMMouseMove(int keys, int x, int y) {
  TControlEx::WMMouseMove(keys, x, y);
  // The hand only over a headline that a click would open.
  SetCursor(AddressAt(x, ListY(y)).empty() ? ArrowCursor : HandCursor);
}

void TContentEx::WMButtonDown(int button, int keys, int x, int y) {
  ::SetCapture(WindowHandle());
  // Keys go to the window, which keeps the focus for the whole face.
  ::SetFocus(::GetAncestor(WindowHandle(), GA_ROOT));
  TControlEx::WMButtonDown(button, keys, x, y);
}

void TContentEx::WMButtonUp(int button, int keys, int x, int y) {
  ::ReleaseCapture();
  TControlEx::WMButtonUp(button, keys, x, y);
}

void TContentEx::Click(int keys, int x, int y) {
  OpenItem(x, ListY(y));
  TControlEx::Click(keys, x, y);
}
