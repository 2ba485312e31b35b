#include "TestHttpServer.h"

#include <ws2tcpip.h>

#include <cstdlib>

namespace {

struct WinsockInit {
  WinsockInit() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
};

void SendAll(SOCKET s, const std::string& data) {
  size_t sent = 0;
  while (sent < data.size()) {
    int n = send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
    if (n <= 0) return;
    sent += static_cast<size_t>(n);
  }
}

std::string Reply(const char* status, const std::string& body, const char* type) {
  return std::string("HTTP/1.1 ") + status + "\r\nContent-Type: " + type +
         "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

SOCKET Listen(unsigned short& port) {
  static WinsockInit init;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
  int len = sizeof(addr);
  getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
  port = ntohs(addr.sin_port);
  return s;
}

}  // namespace

TestHttpServer::TestHttpServer() {
  listener_ = Listen(port_);
  listen(listener_, 16);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

TestHttpServer::~TestHttpServer() {
  stopping_ = true;
  closesocket(listener_);
  acceptor_.join();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (SOCKET c : clients_) shutdown(c, SD_BOTH);
  }
  for (auto& w : workers_) w.join();
  for (SOCKET c : clients_) closesocket(c);
}

unsigned short TestHttpServer::UnusedPort() {
  unsigned short port = 0;
  SOCKET s = Listen(port);
  closesocket(s);
  return port;
}

std::string TestHttpServer::OkBody() {
  std::string body;
  for (size_t i = 0; body.size() < BodySize; ++i) body += static_cast<char>('a' + i % 26);
  body.resize(BodySize);
  return body;
}

std::string TestHttpServer::RssBody() {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><rss version=\"2.0\"><channel>"
         "<item><title>Birinci</title><description>bir</description><link>http://a/1</link></item>"
         "<item><title>\xc4\xb0kinci</title><description>iki</description></item></channel></rss>";
}

std::vector<std::string> TestHttpServer::Requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void TestHttpServer::AcceptLoop() {
  for (;;) {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) {
      closesocket(client);
      return;
    }
    clients_.push_back(client);
    workers_.emplace_back([this, client] { Serve(client); });
  }
}

void TestHttpServer::Serve(SOCKET client) {
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    int n = recv(client, buffer, sizeof(buffer), 0);
    if (n <= 0) return;
    request.append(buffer, static_cast<size_t>(n));
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
  }
  std::string path = request.substr(request.find(' ') + 1);
  path = path.substr(0, path.find(' '));
  if (path.rfind("/ok", 0) == 0) {
    SendAll(client, Reply("200 OK", OkBody(), "application/rss+xml"));
  } else if (path == "/404") {
    SendAll(client, Reply("404 Not Found", "<html><body>Sayfa bulunamad\xfd</body></html>", "text/html"));
  } else if (path == "/500") {
    SendAll(client, Reply("500 Internal Server Error", "<html>error</html>", "text/html"));
  } else if (path == "/cut") {
    SendAll(client, "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nConnection: close\r\n\r\n" + std::string(100, 'x'));
  } else if (path.rfind("/redirect/", 0) == 0) {
    int n = std::atoi(path.c_str() + 10);
    std::string to = n <= 0 ? "../ok" : std::to_string(n - 1);
    SendAll(client, "HTTP/1.1 302 Found\r\nLocation: " + to + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  } else if (path == "/loop") {
    SendAll(client, "HTTP/1.1 302 Found\r\nLocation: /loop\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  } else if (path == "/absolute") {
    SendAll(client, "HTTP/1.1 301 Moved\r\nLocation: http://127.0.0.1:" + std::to_string(port_) +
                        "/ok\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  } else if (path.rfind("/scheme/", 0) == 0) {
    std::string to = path.substr(8);
    for (size_t at; (at = to.find("%3A")) != std::string::npos;) to.replace(at, 3, ":");
    SendAll(client, "HTTP/1.1 302 Found\r\nLocation: " + to + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  } else if (path == "/setcookie") {
    SendAll(client, "HTTP/1.1 302 Found\r\nSet-Cookie: server=1; Path=/; Max-Age=86400\r\nLocation: /ok\r\n"
                    "Content-Length: 0\r\nConnection: close\r\n\r\n");
  } else if (path == "/303") {
    SendAll(client, "HTTP/1.1 303 See Other\r\nLocation: /ok\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  } else if (path == "/bigheaders") {
    std::string head = "HTTP/1.1 200 OK\r\n";
    for (int i = 0; i < 12; ++i) head += "Set-Cookie: c" + std::to_string(i) + "=" + std::string(1000, 'a' + i) + "\r\n";
    SendAll(client, head + "Content-Length: " + std::to_string(BodySize) + "\r\nConnection: close\r\n\r\n" + OkBody());
  } else if (path == "/trickle") {
    SendAll(client, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\n");
    for (int i = 0; i < 100 && !stopping_; ++i) {
      if (send(client, "t", 1, 0) != 1) break;
      ::Sleep(200);
    }
  } else if (path == "/huge") {
    SendAll(client, "HTTP/1.1 200 OK\r\nContent-Length: 67108864\r\nConnection: close\r\n\r\n" + std::string(1 << 20, 'h'));
  } else if (path == "/endless") {
    SendAll(client, "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
    std::string chunk(1 << 16, 'e');
    for (int i = 0; i < 128 && !stopping_; ++i) {
      int n = send(client, chunk.data(), static_cast<int>(chunk.size()), 0);
      if (n <= 0) break;
    }
  } else if (path == "/conditional") {
    if (request.find("\r\nIf-None-Match: \"v1\"\r\n") != std::string::npos)
      SendAll(client, "HTTP/1.1 304 Not Modified\r\nETag: \"v1\"\r\nConnection: close\r\n\r\n");
    else
      SendAll(client, "HTTP/1.1 200 OK\r\nETag: \"v1\"\r\nLast-Modified: Tue, 08 Dec 2026 10:00:00 GMT\r\n"
                      "Content-Length: 4\r\nConnection: close\r\n\r\nfeed");
  } else if (path == "/rss") {
    if (request.find("\r\nIf-None-Match: \"r1\"\r\n") != std::string::npos)
      SendAll(client, "HTTP/1.1 304 Not Modified\r\nETag: \"r1\"\r\nConnection: close\r\n\r\n");
    else
      SendAll(client, "HTTP/1.1 200 OK\r\nETag: \"r1\"\r\nContent-Length: " + std::to_string(RssBody().size()) +
                          "\r\nConnection: close\r\n\r\n" + RssBody());
  } else if (path == "/busy") {
    SendAll(client, Reply("429 Too Many Requests\r\nRetry-After: 120", "slow down", "text/plain"));
  } else if (path == "/stall") {
    // Wait until the client gives up or the server stops.
    while (!stopping_ && recv(client, buffer, sizeof(buffer), 0) > 0) {
    }
  }
  // "/silent" and anything else: close without a reply.
  shutdown(client, SD_BOTH);
}
