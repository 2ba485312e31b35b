// One HTTP exchange: the request's parts by index, the response it fills, and
// the synchronous WinInet sequence that performs it (run on a worker thread).
#pragma once

#include <windows.h>
#include <wininet.h>

#include <array>
#include <cstdint>
#include <string>

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

class TResponse {
 public:
  void SetField(int index, const ByteString& value);
  ByteString GetField(int index) const;

  ByteString Content;     // the body, appended in read order
  ByteString RawHeaders;  // status line and headers, CR LF separated

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
  // failure (including a body cut short). Never throws.
  int SendRequest(HINTERNET root);

  // The header block in its fixed order: Accept, Cookie, Referer, User-Agent,
  // Connection, Content-Type; an empty value adds no line.
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

 private:
  std::array<ByteString, FieldCount> fields_;
};
