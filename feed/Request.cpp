#include "feed/Request.h"

#include <cstring>
#include <vector>

#include "feed/InternetHandles.h"

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

// A header value as bytes up to the first zero byte; empty on failure.
ByteString QueryInfo(HINTERNET request, DWORD level) {
  std::vector<char> buffer(BufferSize, 0);
  DWORD length = BufferSize;
  DWORD index = 0;
  if (!::HttpQueryInfoA(request, level, buffer.data(), &length, &index)) return ByteString();
  return ByteString(buffer.data(), ::strnlen(buffer.data(), BufferSize));
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

// Reads the whole body into content. Returns 0 when the server signalled the
// end, -1 when a read failed.
int ReadBody(HINTERNET request, DWORD_PTR context, ByteString& content) {
  std::vector<char> buffer(BufferSize);
  DWORD read = 0;
  do {
    read = 0;
    DWORD available = 0;
    if (::InternetQueryDataAvailable(request, &available, 0, context)) {
      std::memset(buffer.data(), 0, buffer.size());
      if (!::InternetReadFile(request, buffer.data(), BufferSize, &read)) {
        if (::GetLastError() != ERROR_IO_PENDING) return -1;
      }
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
  return headers;
}

DWORD TRequest::OpenFlags() const {
  DWORD flags = INTERNET_FLAG_HYPERLINK;
  if (Secure) flags |= INTERNET_FLAG_SECURE;
  if (!FollowRedirects) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
  return flags;
}

INTERNET_PORT TRequest::EffectivePort() const {
  if (Port != 0) return Port;
  return Secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
}

int TRequest::SendRequest(HINTERNET root) {
  if (root == nullptr) return -1;
  try {
    // Declared in this order so the request handle closes before the
    // connection, whatever way we leave.
    UniqueInternetHandle connection(::InternetConnectA(root, fields_[rfHost].c_str(), EffectivePort(),
                                                       nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, Context));
    if (!connection) return -1;
    SetTimeouts(connection.Get(), TimeoutMs);

    UniqueInternetHandle request(::HttpOpenRequestA(connection.Get(), fields_[rfVerb].c_str(),
                                                    fields_[rfPath].c_str(), fields_[rfVersion].c_str(),
                                                    nullptr, nullptr, OpenFlags(), Context));
    if (!request) return -1;
    SetTimeouts(request.Get(), TimeoutMs);

    Headers = BuildHeaders();
    if (!::HttpSendRequestA(request.Get(), Headers.empty() ? nullptr : Headers.c_str(),
                            static_cast<DWORD>(Headers.size()),
                            Body.empty() ? nullptr : const_cast<char*>(Body.data()),
                            static_cast<DWORD>(Body.size())))
      return -1;

    Response.SetField(ResponseSetCookie, QueryInfo(request.Get(), HTTP_QUERY_SET_COOKIE));
    Response.RawHeaders = QueryInfo(request.Get(), HTTP_QUERY_RAW_HEADERS_CRLF);

    // A connection closed before any reply still "succeeds" with status 0:
    // there was no exchange, whatever the body loop would say.
    DWORD status = 0;
    if (!QueryNumber(request.Get(), HTTP_QUERY_STATUS_CODE, status) || status == 0) return -1;

    int result = ReadBody(request.Get(), Context, Response.Content);
    // WinInet reports a connection that broke mid-body as a normal end; only
    // the announced length tells.
    DWORD announced = 0;
    if (result == 0 && QueryNumber(request.Get(), HTTP_QUERY_CONTENT_LENGTH, announced) &&
        Response.Content.size() < announced)
      result = -1;
    return result;
  } catch (...) {
    return -1;
  }
}
