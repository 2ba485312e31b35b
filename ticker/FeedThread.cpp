#include "ticker/FeedThread.h"

#include "app/AtomicFile.h"
#include "feed/FeedParser.h"
#include "framework/ComPtr.h"

TFeedThread::TFeedThread(HWND window, UINT message, HINTERNET root, std::wstring cachePath)
    : TInternetThread(window, message, root), cachePath_(std::move(cachePath)), checkPath_(cachePath_ + L".download") {}

TFeedThread::~TFeedThread() {
  Finish();
  if (checkFileLeft_) ::DeleteFileW(checkPath_.c_str());
}

int TFeedThread::Exchange(HINTERNET root) {
  TFeedValidators validators = LoadFeedValidators(ValidatorsPathFor(cachePath_), cachePath_);
  Request().IfNoneMatch = validators.ETag;
  Request().IfModifiedSince = validators.LastModified;
  int result = Request().SendRequest(root);
  if (result == 0 && !Cancelled()) Check();
  return result;
}

void TFeedThread::Check() {
  const TResponse& response = Response();
  if (response.Status == 304) {
    // Only a conditional request can be answered this way.
    outcome_ = Request().IfNoneMatch.empty() && Request().IfModifiedSince.empty() ? TFeedOutcome::Failed
                                                                                   : TFeedOutcome::NotModified;
    return;
  }
  if (response.Status < 200 || response.Status > 299 || response.Content.empty()) return;
  outcome_ = TFeedOutcome::NotAFeed;
  if (!WriteFileFlushed(checkPath_, response.Content)) return;
  // The XML service is a COM object: the worker has an apartment of its own
  // for the length of the check.
  ComSession apartment;
  std::unique_ptr<TElementList> items;
  if (apartment.Ok()) {
    try {
      items = ParseFeed(checkPath_);
    } catch (...) {
      // No XML service: nothing can be checked, so nothing is taken.
    }
  }
  if (items && !items->empty() && !Cancelled()) {
    items_ = std::move(items);
    outcome_ = TFeedOutcome::Feed;
    checkFileLeft_ = true;
  } else {
    ::DeleteFileW(checkPath_.c_str());
  }
}

bool TFeedThread::Commit() {
  if (!checkFileLeft_) return false;
  // Moved or not, the check file is gone after this.
  checkFileLeft_ = false;
  if (!ReplaceWithFile(checkPath_, cachePath_)) {
    // Validators of the old copy would still match it: leave them.
    return false;
  }
  const TResponse& response = Response();
  SaveFeedValidators(ValidatorsPathFor(cachePath_), {response.ETag, response.LastModified}, response.Content);
  return true;
}
