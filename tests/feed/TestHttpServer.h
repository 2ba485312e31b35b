// A tiny HTTP server on 127.0.0.1 for the exchange tests. Each path picks a
// behaviour:
//   /ok      200 with a body of BodySize bytes (several read chunks)
//   /404     404 with an HTML page
//   /500     500 with a short page
//   /cut     announces 5000 bytes, sends 100, closes
//   /stall   reads the request, then never answers
//   /silent  closes the connection without any reply
//   /redirect/N        302 to /redirect/N-1 (relative), /redirect/0 to /ok
//   /loop              302 to itself
//   /absolute          302 to http://127.0.0.1:PORT/ok
//   /scheme/WHAT       302 to WHAT (URL-decoded only for %3A as ':')
//   /setcookie         302 to /ok, setting a cookie for the whole host
//   /303               303 to /ok
//   /bigheaders        200 with BodySize bytes behind 12 KB of headers
//   /trickle           200 announcing 100 bytes, sent one every 200 ms
//   /huge              200 with a Content-Length of 64 MB and 1 MB sent
//   /endless           200 without a length: 8 MB, then the connection closes
//   /conditional       304 when If-None-Match is "v1", else 200 with ETag "v1"
//   /busy              429 with Retry-After: 120
//   /rss               RssBody() with ETag "r1"; 304 when If-None-Match is "r1"
// Every request's raw bytes (request line and headers) are recorded.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TestHttpServer {
 public:
  static constexpr size_t BodySize = 20000;

  TestHttpServer();
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  unsigned short Port() const { return port_; }
  std::vector<std::string> Requests();
  static std::string OkBody();
  // A small RSS feed of two items.
  static std::string RssBody();
  // A port on 127.0.0.1 with nothing listening.
  static unsigned short UnusedPort();

 private:
  void AcceptLoop();
  void Serve(SOCKET client);

  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread acceptor_;
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<SOCKET> clients_;
  std::vector<std::thread> workers_;
};
