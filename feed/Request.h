// One HTTP exchange: the request's parts by index, the response it fills, and
// the synchronous WinInet sequence that performs it (run on a worker thread).
#pragma once

#include <windows.h>
#include <wininet.h>

#include <array>
#include <cstdint>
#include <string>

#include "feed/CancelableHandles.h"
#include "feed/HttpUrl.h"

// Byte strings in the system ANSI code page, as WinInet's A functions take
// them.
using ByteString = std::string;

enum RequestField : int {
  rfHost = 0,
  rfPath = 1,
  rfVerb = 2,
  rfCookie = 3,
  rfContentType = 4,
  rfAccept = 6,
  rfConnection = 7,
  rfVersion = 8,
  rfReferer = 9,
  rfUserAgent = 10,
};
inline constexpr int FieldCount = 12;
// Index of the Set-Cookie value in the response's fields.
inline constexpr int ResponseSetCookie = 4;
// Redirects one exchange follows; the reply to a sixth is a failure, so an
// exchange sends at most MaxRedirects + 1 requests.
inline constexpr int MaxRedirects = 5;

class TResponse {
 public:
  void SetField(int index, const ByteString& value);
  ByteString GetField(int index) const;

  ByteString Content;     // the body, appended in read order
  ByteString RawHeaders;  // status line and headers, CR LF separated
  // Of the last reply (after any redirects): its status code (0 when there
  // was none) and the headers the feed cycle acts on, empty when absent.
  DWORD Status = 0;
  ByteString ETag;
  ByteString LastModified;
  ByteString RetryAfter;

 private:
  std::array<ByteString, FieldCount> fields_;
};

// The whole body as one byte string.
inline ByteString ContentAsString(const TResponse& response) { return response.Content; }

class TRequest {
 public:
  TRequest();
  TRequest(const TRequest&) = delete;
  TRequest& operator=(const TRequest&) = delete;

  // Indices outside 0..11 are ignored (and read as empty).
  void SetField(int index, const ByteString& value);
  ByteString GetField(int index) const;

  // Performs the exchange through the given root handle: 0 on success, -1 on
  // failure (a body cut short or over MaxBodyBytes, a redirect loop or one
  // redirect too many, the deadline passed, cancelled). Redirects are
  // followed here, not by WinInet, when FollowRedirects is set. Never throws.
  int SendRequest(HINTERNET root);
  // Aborts the exchange from another thread: its open handles are closed
  // (which makes a blocked WinInet call return) and it opens no more.
  void Cancel() { handles_.Cancel(); }

  // The header block in its fixed order: Accept, Cookie, Referer, User-Agent,
  // Connection, Content-Type; an empty value adds no line. The validators of
  // a conditional request follow.
  ByteString BuildHeaders() const;
  // WinInet flags of HttpOpenRequestA for the current settings.
  DWORD OpenFlags() const;
  // The port InternetConnectA is given.
  INTERNET_PORT EffectivePort() const;

  TResponse Response;
  ByteString Body;
  ByteString Headers;  // built by SendRequest
  DWORD_PTR Context = 0;
  bool Secure = false;
  bool FollowRedirects = true;
  // 0 means the protocol's own port (80, or 443 when Secure).
  INTERNET_PORT Port = 0;
  // Connect, send and receive time-out of the exchange; 0 keeps WinInet's.
  DWORD TimeoutMs = 0;
  // The whole exchange, every redirect and read included, must end within
  // this; 0 means no deadline.
  DWORD DeadlineMs = 0;
  // A longer body fails the exchange, and reading stops there; 0: no limit.
  size_t MaxBodyBytes = 0;
  // Validators of the copy the caller holds; empty ones are not sent.
  ByteString IfNoneMatch;
  ByteString IfModifiedSince;

 private:
  // One request of the exchange; a redirect leaves its Location in location.
  int SendOnce(HINTERNET root, const THttpUrl& target, const ByteString& verb, bool withBody, DWORD started,
               ByteString& location);

  std::array<ByteString, FieldCount> fields_;
  TCancelableHandles handles_;
};
