#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace vel::test {

// A web server on 127.0.0.1, run by this process's main loop. Pages are not to be cached unless
// their own headers say otherwise. Counts requests per path.
class TestServer {
 public:
  enum class Tls { Off, SelfSigned };
  explicit TestServer(Tls tls = Tls::Off);
  ~TestServer();

  void add_page(const std::string& path, std::string body, std::string content_type = "text/html");
  // A page that is answered only after `delay_ms`.
  void add_slow_page(const std::string& path, std::string body, unsigned delay_ms);
  // A response that promises `declared` bytes, sends `sent` of them and then breaks off.
  void add_broken_download(const std::string& path, std::size_t declared, std::size_t sent);
  // A response header for a path, in place of any default of that name.
  void add_header(const std::string& path, const std::string& name, const std::string& value);
  std::string uri(const std::string& path) const;
  int port() const;
  int requests(const std::string& path) const;
  int total_requests() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A simple page with a title.
std::string titled_page(const std::string& title, const std::string& body = "<p>Hello</p>");

}  // namespace vel::test
