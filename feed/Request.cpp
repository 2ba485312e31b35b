#include "feed/Request.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr DWORD BufferSize = 8192;

bool ValidIndex(int index) { return index >= 0 && index < FieldCount; }

void AddHeader(ByteString& headers, const ByteString& value, const char* name) {
  if (value.empty()) return;
  headers += name;
  headers += ": ";
  headers += value;
  headers += "\r\n";
}

bool HasLineBreak(const ByteString& value) { return value.find_first_of("\r\n") != ByteString::npos; }

// A header value of any length, as bytes up to the first zero byte; empty
// when the header is absent or the query fails. Big cookie and policy
// headers behind CDNs easily pass any fixed buffer.
ByteString QueryInfo(HINTERNET request, DWORD level) {
  DWORD capacity = BufferSize;
  for (int attempt = 0; attempt < 8; ++attempt) {
    std::vector<char> buffer(capacity + 2, 0);
    DWORD length = capacity;
    DWORD index = 0;
    if (::HttpQueryInfoA(request, level, buffer.data(), &length, &index))
      return ByteString(buffer.data(), ::strnlen(buffer.data(), capacity));
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
    // length now holds what WinInet needs; never trust it to grow.
    capacity = std::max(length + 1, capacity * 2);
  }
  return ByteString();
}

bool QueryNumber(HINTERNET request, DWORD level, DWORD& value) {
  DWORD length = sizeof(value);
  DWORD index = 0;
  return ::HttpQueryInfoA(request, level | HTTP_QUERY_FLAG_NUMBER, &value, &length, &index) != FALSE;
}

// Without these WinInet waits minutes for a server that accepted the
// connection and then went quiet, and shutting down waits for the worker.
void SetTimeouts(HINTERNET handle, DWORD ms) {
  if (ms == 0) return;
  ::InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &ms, sizeof(ms));
  ::InternetSetOptionA(handle, INTERNET_OPTION_SEND_TIMEOUT, &ms, sizeof(ms));
  ::InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &ms, sizeof(ms));
  ::InternetSetOptionA(handle, INTERNET_OPTION_DATA_SEND_TIMEOUT, &ms, sizeof(ms));
  ::InternetSetOptionA(handle, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, &ms, sizeof(ms));
}

bool IsRedirect(DWORD status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// What is left of the deadline; 0 means none is set, 1 the least there is.
struct TDeadline {
  DWORD started;
  DWORD limit;
  bool Passed() const { return limit != 0 && ::GetTickCount() - started >= limit; }
  DWORD Clamp(DWORD timeout) const {
    if (limit == 0) return timeout;
    DWORD spent = ::GetTickCount() - started;
    DWORD left = spent >= limit ? 1 : limit - spent;
    return timeout == 0 ? left : std::min(timeout, left);
  }
};

struct TReadLimits {
  const TDeadline& deadline;
  size_t maxBytes;
  const TCancelableHandles& handles;
};

// Reads the whole body into content. Returns 0 when the server signalled the
// end, -1 when a read failed, the body passed the limit, the deadline passed
// or the exchange was cancelled. Each read asks for no more than is already
// there, so a server that trickles cannot hold one read for long and the
// deadline is looked at between reads.
int ReadBody(HINTERNET request, DWORD_PTR context, ByteString& content, const TReadLimits& limits) {
  std::vector<char> buffer(BufferSize);
  DWORD read = 0;
  do {
    if (limits.handles.Cancelled() || limits.deadline.Passed()) return -1;
    read = 0;
    DWORD available = 0;
    if (::InternetQueryDataAvailable(request, &available, 0, context)) {
      DWORD wanted = available == 0 ? BufferSize : std::min(available, BufferSize);
      std::memset(buffer.data(), 0, buffer.size());
      if (!::InternetReadFile(request, buffer.data(), wanted, &read)) {
        if (::GetLastError() != ERROR_IO_PENDING) return -1;
      }
      if (limits.maxBytes != 0 && content.size() + read > limits.maxBytes) return -1;
      content.append(buffer.data(), read);
    } else if (::GetLastError() != ERROR_IO_PENDING) {
      return -1;
    }
  } while (read != 0);
  return 0;
}

}  // namespace

void TResponse::SetField(int index, const ByteString& value) {
  if (ValidIndex(index)) fields_[index] = value;
}

ByteString TResponse::GetField(int index) const {
  return ValidIndex(index) ? fields_[index] : ByteString();
}

TRequest::TRequest() {
  fields_[rfVerb] = "GET";
  fields_[rfVersion] = "HTTP/1.1";
}

void TRequest::SetField(int index, const ByteString& value) {
  if (ValidIndex(index)) fields_[index] = value;
}

ByteString TRequest::GetField(int index) const {
  return ValidIndex(index) ? fields_[index] : ByteString();
}

ByteString TRequest::BuildHeaders() const {
  ByteString headers;
  AddHeader(headers, fields_[rfAccept], "Accept");
  AddHeader(headers, fields_[rfCookie], "Cookie");
  AddHeader(headers, fields_[rfReferer], "Referer");
  AddHeader(headers, fields_[rfUserAgent], "User-Agent");
  AddHeader(headers, fields_[rfConnection], "Connection");
  AddHeader(headers, fields_[rfContentType], "Content-Type");
  // Validators come from a server's earlier reply: one with a line break in
  // it would add headers of its own.
  if (!HasLineBreak(IfNoneMatch)) AddHeader(headers, IfNoneMatch, "If-None-Match");
  if (!HasLineBreak(IfModifiedSince)) AddHeader(headers, IfModifiedSince, "If-Modified-Since");
  return headers;
}

DWORD TRequest::OpenFlags() const {
  // Every exchange bypasses the system's URL cache both ways: a feed copy
  // under a new "?rand=" address every few minutes would only fill it, and
  // the counter must reach its server. Redirects are followed by
  // SendRequest, which counts and checks them. WinInet's cookie jar is
  // shared with every other program of the user: the ticker neither sends
  // nor keeps cookies, so no host can follow it from request to request.
  DWORD flags = INTERNET_FLAG_HYPERLINK | INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_RELOAD |
                INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES;
  if (Secure) flags |= INTERNET_FLAG_SECURE;
  return flags;
}

INTERNET_PORT TRequest::EffectivePort() const {
  if (Port != 0) return Port;
  return Secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
}

int TRequest::SendRequest(HINTERNET root) {
  if (root == nullptr) return -1;
  // The request handle closes before its connection, whatever way we leave.
  struct TCloseAtEnd {
    TCancelableHandles& handles;
    ~TCloseAtEnd() {
      handles.Close(TCancelableHandles::RequestSlot);
      handles.Close(TCancelableHandles::ConnectionSlot);
    }
  } closeAtEnd{handles_};
  try {
    const DWORD started = ::GetTickCount();
    THttpUrl target;
    target.Secure = Secure;
    target.Host = fields_[rfHost];
    target.Port = Port;
    target.Path = fields_[rfPath];
    ByteString verb = fields_[rfVerb];
    bool withBody = true;
    std::vector<std::string> visited{target.Key()};
    for (int redirects = 0;; ++redirects) {
      ByteString location;
      int result = SendOnce(root, target, verb, withBody, started, location);
      if (result != 0 || !FollowRedirects || !IsRedirect(Response.Status)) return result;
      if (redirects == MaxRedirects) return -1;
      std::optional<THttpUrl> next = ResolveRedirect(target, location);
      if (!next) return -1;
      std::string key = next->Key();
      if (std::find(visited.begin(), visited.end(), key) != visited.end()) return -1;  // a loop
      visited.push_back(key);
      target = *next;
      if (Response.Status == 301 || Response.Status == 302 || Response.Status == 303) {
        // As browsers do: what follows these is a plain GET.
        verb = "GET";
        withBody = false;
      }
    }
  } catch (...) {
    return -1;
  }
}

int TRequest::SendOnce(HINTERNET root, const THttpUrl& target, const ByteString& verb, bool withBody,
                       DWORD started, ByteString& location) {
  // The previous hop's handles go first, the request before its connection.
  handles_.Close(TCancelableHandles::RequestSlot);
  handles_.Close(TCancelableHandles::ConnectionSlot);
  Response.Content.clear();
  Response.RawHeaders.clear();
  Response.SetField(ResponseSetCookie, ByteString());
  Response.Status = 0;
  Response.ETag.clear();
  Response.LastModified.clear();
  Response.RetryAfter.clear();

  const TDeadline deadline{started, DeadlineMs};
  if (deadline.Passed()) return -1;
  const DWORD timeout = deadline.Clamp(TimeoutMs);

  if (!handles_.Adopt(TCancelableHandles::ConnectionSlot,
                      ::InternetConnectA(root, target.Host.c_str(), target.EffectivePort(), nullptr, nullptr,
                                         INTERNET_SERVICE_HTTP, 0, Context)))
    return -1;
  HINTERNET connection = handles_.Get(TCancelableHandles::ConnectionSlot);
  if (!connection) return -1;
  SetTimeouts(connection, timeout);

  DWORD flags = OpenFlags();
  if (target.Secure)
    flags |= INTERNET_FLAG_SECURE;
  else
    flags &= ~static_cast<DWORD>(INTERNET_FLAG_SECURE);
  if (!handles_.Adopt(TCancelableHandles::RequestSlot,
                      ::HttpOpenRequestA(connection, verb.c_str(), target.Path.c_str(), fields_[rfVersion].c_str(),
                                         nullptr, nullptr, flags, Context)))
    return -1;
  HINTERNET request = handles_.Get(TCancelableHandles::RequestSlot);
  if (!request) return -1;
  SetTimeouts(request, timeout);

  Headers = BuildHeaders();
  const bool sendBody = withBody && !Body.empty();
  if (!::HttpSendRequestA(request, Headers.empty() ? nullptr : Headers.c_str(), static_cast<DWORD>(Headers.size()),
                          sendBody ? const_cast<char*>(Body.data()) : nullptr,
                          sendBody ? static_cast<DWORD>(Body.size()) : 0))
    return -1;

  Response.SetField(ResponseSetCookie, QueryInfo(request, HTTP_QUERY_SET_COOKIE));
  Response.RawHeaders = QueryInfo(request, HTTP_QUERY_RAW_HEADERS_CRLF);

  // A connection closed before any reply still "succeeds" with status 0:
  // there was no exchange, whatever the body loop would say.
  DWORD status = 0;
  if (!QueryNumber(request, HTTP_QUERY_STATUS_CODE, status) || status == 0) return -1;
  Response.Status = status;
  Response.ETag = QueryInfo(request, HTTP_QUERY_ETAG);
  Response.LastModified = QueryInfo(request, HTTP_QUERY_LAST_MODIFIED);
  Response.RetryAfter = QueryInfo(request, HTTP_QUERY_RETRY_AFTER);
  if (FollowRedirects && IsRedirect(status)) {
    // The redirect's own body is of no interest.
    location = QueryInfo(request, HTTP_QUERY_LOCATION);
    return 0;
  }

  DWORD announced = 0;
  const bool hasLength = QueryNumber(request, HTTP_QUERY_CONTENT_LENGTH, announced);
  if (hasLength && MaxBodyBytes != 0 && announced > MaxBodyBytes) return -1;

  int result = ReadBody(request, Context, Response.Content, {deadline, MaxBodyBytes, handles_});
  // WinInet reports a connection that broke mid-body as a normal end; only
  // the announced length tells.
  if (result == 0 && hasLength && Response.Content.size() < announced) result = -1;
  return result;
}
