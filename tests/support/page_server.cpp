#include "support/page_server.h"

#include <libsoup/soup.h>

#include <map>
#include <stdexcept>
#include <vector>

namespace vel::test {

namespace {

// Answers a paused message once its timer runs out: unpauses it, or breaks the connection off.
template <bool kBreak>
gboolean resume(gpointer data) {
  auto* message = static_cast<SoupServerMessage*>(data);
  if (!kBreak) {
    soup_server_message_unpause(message);
  } else if (GIOStream* stream = soup_server_message_steal_connection(message)) {
    g_io_stream_close(stream, nullptr, nullptr);
    g_object_unref(stream);
  }
  g_object_unref(message);
  return G_SOURCE_REMOVE;
}

}  // namespace

struct TestServer::Impl {
  struct Page {
    std::string body, type;
    unsigned delay_ms = 0;
    std::size_t declared = 0;  // a broken download: the promised length
    std::vector<std::pair<std::string, std::string>> headers;
  };
  bool tls = false;
  SoupServer* server = nullptr;
  std::map<std::string, Page> pages;
  std::map<std::string, int> counts;
  int total = 0;
  int port = 0;

  static void handle(SoupServer*, SoupServerMessage* msg, const char* path, GHashTable*,
                     gpointer data) {
    auto* self = static_cast<Impl*>(data);
    self->counts[path]++;
    self->total++;
    const auto it = self->pages.find(path);
    if (it == self->pages.end()) {
      static constexpr char kMissing[] = "<html><head><title>Not found</title></head></html>";
      soup_server_message_set_status(msg, 404, nullptr);
      soup_server_message_set_response(msg, "text/html", SOUP_MEMORY_STATIC, kMissing,
                                       sizeof kMissing - 1);
      return;
    }
    const Page& page = it->second;
    auto* headers = soup_server_message_get_response_headers(msg);
    soup_server_message_set_status(msg, 200, nullptr);
    if (page.declared > 0) {
      // Promise more than is sent, then drop the connection.
      soup_message_headers_set_encoding(headers, SOUP_ENCODING_CONTENT_LENGTH);
      soup_message_headers_set_content_length(headers, static_cast<goffset>(page.declared));
      soup_message_headers_set_content_type(headers, page.type.c_str(), nullptr);
      soup_message_body_append(soup_server_message_get_response_body(msg), SOUP_MEMORY_COPY,
                               page.body.data(), page.body.size());
    } else {
      soup_server_message_set_response(msg, page.type.c_str(), SOUP_MEMORY_COPY, page.body.data(),
                                       page.body.size());
      soup_message_headers_replace(headers, "Cache-Control", "no-store");
    }
    for (const auto& [name, value] : page.headers)
      soup_message_headers_replace(headers, name.c_str(), value.c_str());
    if (page.delay_ms > 0 || page.declared > 0) {
      soup_server_message_pause(msg);
      g_object_ref(msg);
      if (page.declared > 0)
        g_timeout_add(200, resume<true>, msg);
      else
        g_timeout_add(page.delay_ms, resume<false>, msg);
    }
  }
};

TestServer::TestServer(Tls tls) : impl_(std::make_unique<Impl>()) {
  GError* error = nullptr;
  GTlsCertificate* certificate = nullptr;
  if (tls == Tls::SelfSigned)
    certificate = g_tls_certificate_new_from_files(VEL_TEST_TLS_DIR "/cert.pem",
                                                   VEL_TEST_TLS_DIR "/key.pem", &error);
  impl_->tls = certificate != nullptr;
  impl_->server = soup_server_new("tls-certificate", certificate, nullptr);
  if (certificate) g_object_unref(certificate);
  const auto options = static_cast<SoupServerListenOptions>(
      SOUP_SERVER_LISTEN_IPV4_ONLY | (impl_->tls ? SOUP_SERVER_LISTEN_HTTPS : 0));
  if (error || !soup_server_listen_local(impl_->server, 0, options, &error))
    throw std::runtime_error(error ? error->message : "listen failed");
  GSList* uris = soup_server_get_uris(impl_->server);
  impl_->port = g_uri_get_port(static_cast<GUri*>(uris->data));
  g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
  soup_server_add_handler(impl_->server, nullptr, &Impl::handle, impl_.get(), nullptr);
}

TestServer::~TestServer() {
  soup_server_disconnect(impl_->server);
  g_object_unref(impl_->server);
}

void TestServer::add_page(const std::string& path, std::string body, std::string content_type) {
  auto& page = impl_->pages[path];
  page.body = std::move(body);
  page.type = std::move(content_type);
}

void TestServer::add_slow_page(const std::string& path, std::string body, unsigned delay_ms) {
  add_page(path, std::move(body));
  impl_->pages[path].delay_ms = delay_ms;
}

void TestServer::add_broken_download(const std::string& path, std::size_t declared,
                                     std::size_t sent) {
  impl_->pages[path] = {std::string(sent, 'x'), "application/octet-stream", 0, declared, {}};
}

void TestServer::add_header(const std::string& path, const std::string& name,
                            const std::string& value) {
  impl_->pages[path].headers.emplace_back(name, value);
}

std::string TestServer::uri(const std::string& path) const {
  return (impl_->tls ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(impl_->port) +
         path;
}

int TestServer::port() const {
  return impl_->port;
}

int TestServer::requests(const std::string& path) const {
  const auto it = impl_->counts.find(path);
  return it == impl_->counts.end() ? 0 : it->second;
}

int TestServer::total_requests() const {
  return impl_->total;
}

std::string titled_page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html><html><head><meta charset='utf-8'><title>" + title +
         "</title></head><body>" + body + "</body></html>";
}

}  // namespace vel::test
