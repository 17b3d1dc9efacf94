// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct _SoupServer;

namespace vel::test {

// A web server on 127.0.0.1, run by this process's main loop. Pages are not to be cached unless
// their own headers say otherwise. Counts requests per path; anything else is answered 404.
class TestServer {
 public:
  enum class Tls { Off, SelfSigned };
  explicit TestServer(Tls tls = Tls::Off);
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  // A page, answered after `delay_ms`.
  void add_page(const std::string& path, std::string body, std::string content_type = "text/html",
                unsigned delay_ms = 0);
  // A file of `declared` bytes offered for download, sent `chunk` bytes every `every_ms`; when
  // `sent` is less, the connection is dropped once that much is written.
  void add_download(const std::string& path, std::size_t declared, std::size_t sent,
                    std::size_t chunk, unsigned every_ms);
  // A page behind a user name and password ("user:password", HTTP Basic); without them, or with
  // others, the server answers 401 with `refused`, its own page for that.
  void add_protected_page(const std::string& path, std::string body, std::string credentials,
                          std::string refused);
  // A response header for a path, in place of any default of that name; a second of the same name
  // (Set-Cookie) is sent as well.
  void add_header(const std::string& path, const std::string& name, const std::string& value);
  std::string uri(const std::string& path) const;
  int port() const { return port_; }
  int requests(const std::string& path) const { return counts_.count(path) ? counts_.at(path) : 0; }
  int total_requests() const { return total_; }

 private:
  struct Page {
    std::string body, type;
    unsigned delay_ms = 0;     // paused this long, then answered; a download: between chunks
    std::size_t declared = 0;  // a download: the promised length
    std::size_t chunk = 0;     // a download: bytes sent at a time
    std::vector<std::pair<std::string, std::string>> headers;
    std::string credentials, refused;  // a protected page's
  };
  _SoupServer* server_;
  bool tls_;
  int port_ = 0, total_ = 0;
  std::map<std::string, Page> pages_;
  std::map<std::string, int> counts_;
};

// A simple page with a title.
std::string titled_page(const std::string& title, const std::string& body = "<p>Hello</p>");

}  // namespace vel::test
