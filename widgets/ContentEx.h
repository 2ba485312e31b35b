// The news list: each headline in bold dark blue, a thin line under it, the
// summary in grey below, one item after another down a single column. The
// widget is as tall as its items; a viewport clips it and scrolling moves it.
#pragma once

#include <memory>
#include <string>

#include "feed/NewsItem.h"
#include "framework/ControlEx.h"

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
  // Lays out every item, sets Height to the total and returns it. Without
  // items: changes nothing and returns the parent's height.
  int UpdateHeight();
  // Index of the first item whose headline rectangle holds the point
  // (widget coordinates; left and top edges inside, right and bottom not),
  // or -1.
  int ItemAtPoint(int x, int y) const;
  // Opens the headline under the point in the browser, when its link may
  // open (see feed/LinkPolicy.h), with the referral added.
  void OpenItem(int x, int y);
  // What a click at the point would open; empty for nothing.
  std::wstring AddressAt(int x, int y) const;

  void Paint() override;

  const TElementList* Items() const { return items_.get(); }
  const std::wstring& FileName() const { return fileName_; }
  // Replaces the items (as a successful parse does).
  void SetItems(std::unique_ptr<TElementList> items) { items_ = std::move(items); }
  // What OpenItem hands to the shell; tests replace it.
  std::function<void(const std::wstring& address)> OpenAddress;
  // The feed's own address, against which relative links resolve.
  std::wstring BaseAddress;

 protected:
  void WMMouseMove(TMessage& m) override;
  void WMButtonDown(TMessage& m) override;
  void WMButtonUp(TMessage& m) override;

 private:
  // Walks the layout; draw false only measures. Returns the total height.
  int Layout(bool draw);

  std::unique_ptr<TElementList> items_;
  std::wstring fileName_;
};
