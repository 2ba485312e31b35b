// The news list: each headline in bold dark blue, a thin line under it, the
// summary in grey below, one item after another down a single column. The
// list is as tall as its items and scrolls inside its viewport. Its window
// is only as tall as the viewport (windows and surfaces stop at 32,767
// rows, lists do not), and only the part around the viewport is rendered:
// the canvas holds a band a few viewports tall, so a list of any length
// costs the same to paint and the same memory, and small scroll steps only
// recomposite the band.
#pragma once

#include <climits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "feed/NewsItem.h"
#include "framework/ControlEx.h"
#include "widgets/FacePalette.h"
#include "widgets/ListSelection.h"

class TContentEx : public TControlEx {
 public:
  TContentEx();

  // Reads the feed file (when it exists) and lays the list out again; a file
  // that is not a feed leaves the items as they were.
  void LoadFromFile(const std::wstring& path);
  // What LoadFromFile does for a file that was already parsed: the items
  // read from path take the place of the old ones and the list is laid out
  // again.
  void ShowFeed(const std::wstring& path, std::unique_ptr<TElementList> items);
  // Lays out every item, sets ListHeight to the total and returns it.
  // Without items: changes nothing and returns the parent's height. Heights
  // are known here, once per load: the texts are wrapped already, and their
  // line counts give them (see LineHeights.h). A headline's width is measured
  // the first time it is painted or pointed at, never again in the same
  // load, and not at all when the previous load had the same item: a long
  // feed costs only the widths of the headlines anybody sees.
  int UpdateHeight();
  // Where headline `index` is (list coordinates): its top and bottom from
  // the layout, its right edge from its measured width.
  RECT HeadlineRect(size_t index);
  // Index of the first item whose headline rectangle holds the point
  // (list coordinates; left and top edges inside, right and bottom not),
  // or -1.
  int ItemAtPoint(int x, int y);
  // The item whose row (headline, summary and the gap after) holds list row
  // y, or -1 when there is none; and where an item's row starts.
  int ItemAtRow(int y) const;
  int ItemTop(size_t index) const { return index < rows_.size() ? rows_[index].TitleTop : 0; }
  // Opens the headline under the point in the browser, when its link may
  // open (see feed/LinkPolicy.h), with the referral added.
  void OpenItem(int x, int y);
  // What a click at the point would open; empty for nothing.
  std::wstring AddressAt(int x, int y);
  // What a click on item `index` would open; empty for nothing.
  std::wstring AddressOf(size_t index) const;
  // Opens item `index` as a click on its headline does.
  void OpenIndex(size_t index);

  // --- the keyboard's selection ---
  // The selected item, or -1 for none (only an empty list has none). A new
  // list keeps the selection on the item with the same address, or selects
  // its first item.
  int Selected() const { return selected_; }
  // Selects `index` (clamped to the items) and, when the selection is
  // drawn, marks the rows of the item it leaves and of the one it reaches.
  void SetSelected(int index);
  // Where `key` takes the selection.
  int SelectionAfter(TListKey key) const;
  // Whether the selection is drawn (a highlight behind the selected item),
  // and with a focus rectangle around it. Neither shows until the keyboard
  // is used, so a mouse user sees the list as always.
  void ShowSelection(bool shown, bool focused);
  bool SelectionShown() const { return selectionShown_; }
  // An item's whole row (headline, line and summary) in list coordinates;
  // empty before a layout.
  RECT ItemRect(size_t index) const;
  // Whether any of an item's row is in the viewport.
  bool ItemVisible(size_t index) const;
  // An item's texts on one line each, as a screen reader speaks them.
  std::wstring ItemTitle(size_t index) const;
  std::wstring ItemSummary(size_t index) const;
  // Whether `other` holds the same headlines, summaries and addresses, in
  // the same order, as the list shows.
  bool SameItems(const TElementList& other) const;
  // Which items carry the mark of a new headline, by position; positions
  // past the vector's end carry none. A new list starts without marks.
  void SetFresh(std::vector<bool> fresh);
  bool IsFresh(size_t index) const { return index < fresh_.size() && fresh_[index]; }
  // The items any of whose row is in the viewport: [first, last).
  std::pair<size_t, size_t> VisibleItems() const;
  // How many items the list shows.
  size_t Count() const { return items_ ? items_->size() : 0; }

  // Renders the items that meet the band around the viewport; asked for a
  // part of the band, draws again only the painted rows there.
  void Paint() override;
  // Marks the list when the viewport has left the rendered band; inside it,
  // draws the rows the view reaches for the first time.
  void Freshen() override;
  // Composites the band where it lies in the parent.
  void Present() override;
  // The band's top left where it lies in the viewport.
  POINT PictureOrigin() const override;
  // The band where it lies, and the list's window.
  RECT ShownArea() const override;
  // Marks the rows of item `index` in the band (all of it when the band
  // does not hold them as laid out).
  void InvalidateItem(int index);

  const TElementList* Items() const { return items_.get(); }
  const std::wstring& FileName() const { return fileName_; }
  // The colours the list draws in (the face's look).
  void SetPalette(const TFacePalette& palette);
  // The texts' size in percent of their design size. Above 100 the texts
  // are wrapped again to the list's width, as measured in the larger font,
  // and the list is laid out again.
  void SetTextPercent(int percent);
  int TextPercent() const { return textPercent_; }

  // Replaces the items (as a successful parse does).
  void SetItems(std::unique_ptr<TElementList> items) {
    std::wstring link = SelectedLink();
    items_ = std::move(items);
    rows_.clear();
    Reselect(link);
    Invalidate();
  }
  // What OpenItem hands to the shell; tests replace it.
  std::function<void(const std::wstring& address)> OpenAddress;
  // The feed's own address, against which relative links resolve.
  std::wstring BaseAddress;

  // The list rows [BandTop, BandTop + canvas height) the canvas stands for,
  // or INT_MIN when nothing has been rendered since the last layout. Only
  // the items that met the viewport since the band was placed are painted
  // in it; the rest of the band is painted as the view reaches it.
  int BandTop() const { return bandTop_; }
  // The items painted in the band: [first, last).
  size_t PaintedFirst() const { return paintedFirst_; }
  size_t PaintedLast() const { return paintedLast_; }
  // How many texts were measured since the last layout began.
  int Measured() const { return measured_; }
  // Height of the laid-out list; before any layout, the widget's Height.
  int ListHeight() const { return rows_.empty() ? Height() : listHeight_; }
  // Where the list's first row is, relative to the viewport's top: 0 or
  // less while scrolled (what the list's Top was when it was a tall window).
  int ScrollTop() const { return scrollTop_; }
  // Only the place of the picture in the viewport changes (and rows the view
  // reaches for the first time are drawn when it is next composed).
  void SetScrollTop(int top) {
    if (top == scrollTop_) return;
    scrollTop_ = top;
    PlacementChanged();
  }
  // The list row of a row of the window (mouse messages).
  int ListY(int windowY) const { return windowY - scrollTop_; }

 protected:
  void CreateHandle() override;
  // Lays the items out again at the new scale, measuring every text anew.
  void ScaleChanged() override;
  void WMSize(int kind, int width, int height) override;
  void WMMouseMove(int keys, int x, int y) override;
  void WMButtonDown(int button, int keys, int x, int y) override;
  void WMButtonUp(int button, int keys, int x, int y) override;
  // Opens the headline clicked, then tells the list's users.
  void Click(int keys, int x, int y) override;

 private:
  // What measuring one item found; placing is arithmetic on these.
  struct TMeasure {
    float TitleHeight = 0, SummaryHeight = 0;
    int TitleWidth = -1;  // not measured yet
    // The texts wrapped again for a larger text size; empty: as stored.
    std::wstring Title, Summary;
  };
  // Only numbers: the texts stay in the items, and only the few items on
  // screen are ever drawn.
  struct TRow {
    TMeasure Size;
    int TitleTop = 0, TitleBottom = 0;
    int Separator = 0;
    int SummaryTop = 0, SummaryBottom = 0;
    int End = 0;  // where the next item starts
  };

  std::wstring SelectedLink() const;
  // An item's texts as the list shows them, lines broken by LF.
  std::wstring ShownTitle(size_t index) const;
  std::wstring ShownSummary(size_t index) const;
  // Wraps a text again for `room` pixels in the canvas's font.
  std::wstring Rewrapped(const std::wstring& text, int room);
  // The font's DPI: the window's, times the text size.
  int TextDpi() const;
  // Draws a text wrapped again, one line at a time, centred in `box` as
  // DrawText would centre it; `height` is the text's, as laid out.
  void DrawLines(TCanvasEx& canvas, const RECT& box, const std::wstring& text, float height);
  // The width a headline is wrapped for: the list's, less the room of the
  // mark of a new headline after it.
  int TitleRoom() const;
  // After new items: the selection by the old selected item's address.
  void Reselect(const std::wstring& link);
  // The selection's highlight and focus rectangle, when row `index` is it.
  void PaintSelection(size_t index);

  // Lays out items_; sizes of texts that were in `previous` (laid out in
  // rows_) are taken from there.
  int Layout(const TElementList* previous);
  // Measures the headline widths of rows [first, last) that are not known.
  void MeasureTitles(size_t first, size_t last);
  // The rows that meet list rows [top, bottom): [first, last).
  std::pair<size_t, size_t> RowsBetween(int top, int bottom) const;
  // Draws rows [first, last) into the band, which must not hold them yet.
  void PaintRows(size_t first, size_t last);
  // The list rows the viewport shows: [top, bottom).
  std::pair<int, int> Visible() const;
  int ViewportHeight() const;
  int CanvasHeight() const;
  void FitCanvas();
  bool BandCovers();

  std::unique_ptr<TElementList> items_;
  std::wstring fileName_;
  std::vector<TRow> rows_;
  int listHeight_ = 0;
  int scrollTop_ = 0;
  int bandTop_ = INT_MIN;
  size_t paintedFirst_ = 0, paintedLast_ = 0;
  int measured_ = 0;
  int selected_ = -1;
  std::vector<bool> fresh_;
  bool selectionShown_ = false, selectionFocused_ = false;
  TFacePalette palette_ = PaletteFor(TLook::Light);
  int textPercent_ = 100;
};
