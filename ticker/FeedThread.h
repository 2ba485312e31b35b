// The feed download: one exchange on a worker thread that also decides
// whether what came back may replace the saved feed. The body is written to
// a file beside the cache and read with the same feed reader the list uses;
// only RSS or Atom with at least one entry is a feed. A captive portal's
// login page, garbage or an empty reply never reach the cache.
#pragma once

#include <memory>
#include <string>

#include "feed/InternetThread.h"
#include "feed/NewsItem.h"
#include "ticker/FeedValidators.h"

enum class TFeedOutcome {
  Failed,       // no complete 2xx reply (or 304 without a copy to keep)
  NotModified,  // 304: the saved copy is current
  NotAFeed,     // a complete reply that is no feed with entries
  Feed,         // checked and parsed; Commit puts it in place
};

class TFeedThread : public TInternetThread {
 public:
  // cachePath: the saved feed; the validators file and the file the body is
  // checked in are named after it.
  TFeedThread(HWND window, UINT message, HINTERNET root, std::wstring cachePath);
  // Waits for the thread, and removes a checked body nobody committed.
  ~TFeedThread() override;

  // What the exchange brought; read after the completion message.
  TFeedOutcome Outcome() const { return outcome_; }
  // Puts a checked feed in place of the cache, with its validators. False
  // when it could not (the cache keeps its old bytes).
  bool Commit();
  // The checked feed's items, parsed once on the worker.
  std::unique_ptr<TElementList> TakeItems() { return std::move(items_); }

  const std::wstring& CheckPath() const { return checkPath_; }
  static std::wstring ValidatorsPathFor(const std::wstring& cachePath) { return cachePath + L".validators"; }

 protected:
  int Exchange(HINTERNET root) override;

 private:
  void Check();

  std::wstring cachePath_;
  std::wstring checkPath_;
  TFeedOutcome outcome_ = TFeedOutcome::Failed;
  bool checkFileLeft_ = false;
  std::unique_ptr<TElementList> items_;
};
