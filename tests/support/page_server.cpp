// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/page_server.h"

#include <libsoup/soup.h>

#include <algorithm>
#include <set>
#include <stdexcept>

namespace vel::test {

namespace {

// What a paused message gets once its delay runs out.
void unpause(gpointer message) {
  soup_server_message_unpause(SOUP_SERVER_MESSAGE(message));
  g_object_unref(message);
}

// A download under way: a chunk at each tick, then the body's end or, for one cut short, the
// connection dropped once the last chunk is written.
struct Stream {
  SoupServer* server;
  SoupServerMessage* message;
  std::string data;  // what is to be sent of the file
  std::size_t chunk, queued = 0, written = 0;
  unsigned timer = 0;

  static gboolean tick(gpointer self) {
    auto& s = *static_cast<Stream*>(self);
    const std::size_t n = std::min(s.chunk, s.data.size() - s.queued);
    auto* body = soup_server_message_get_response_body(s.message);
    soup_message_body_append(body, SOUP_MEMORY_COPY, s.data.data() + s.queued, n);
    s.queued += n;
    const bool whole = s.queued == s.data.size();
    if (whole && !s.cut()) soup_message_body_complete(body);
    soup_server_message_unpause(s.message);
    if (whole) s.timer = 0;
    return whole ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
  }
  bool cut() const {
    return soup_message_headers_get_content_length(soup_server_message_get_response_headers(
               message)) != static_cast<goffset>(data.size());
  }
  static void wrote(SoupServerMessage*, guint size, gpointer self) {
    auto& s = *static_cast<Stream*>(self);
    s.written += size;
    if (s.written < s.data.size() || !s.cut()) return;
    g_idle_add_once(
        [](gpointer message) {
          if (GIOStream* stream =
                  soup_server_message_steal_connection(SOUP_SERVER_MESSAGE(message))) {
            g_io_stream_close(stream, nullptr, nullptr);
            g_object_unref(stream);
          }
          g_object_unref(message);
        },
        g_object_ref(s.message));
  }
  static void finished(SoupServerMessage*, gpointer self) { end(static_cast<Stream*>(self)); }
  static void end(Stream* s) {
    if (s->timer) g_source_remove(s->timer);
    g_signal_handlers_disconnect_by_data(s->message, s);
    g_object_unref(s->message);
    live().erase(s);
    delete s;
  }
  // Those still under way, which end with their server.
  static std::set<Stream*>& live() {
    static std::set<Stream*> streams;
    return streams;
  }
};

}  // namespace

TestServer::TestServer(Tls tls) : tls_(tls == Tls::SelfSigned) {
  GError* error = nullptr;
  GTlsCertificate* certificate =
      tls_ ? g_tls_certificate_new_from_files(VEL_TEST_TLS_DIR "/cert.pem",
                                              VEL_TEST_TLS_DIR "/key.pem", &error)
           : nullptr;
  server_ = soup_server_new("tls-certificate", certificate, nullptr);
  g_clear_object(&certificate);
  const auto options = static_cast<SoupServerListenOptions>(SOUP_SERVER_LISTEN_IPV4_ONLY |
                                                            (tls_ ? SOUP_SERVER_LISTEN_HTTPS : 0));
  if (error || !soup_server_listen_local(server_, 0, options, &error))
    throw std::runtime_error(error ? error->message : "listen failed");
  GSList* uris = soup_server_get_uris(server_);
  port_ = g_uri_get_port(static_cast<GUri*>(uris->data));
  g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));

  auto handle = [](SoupServer* server, SoupServerMessage* msg, const char* path, GHashTable*,
                   gpointer p) {
    auto* self = static_cast<TestServer*>(p);
    self->counts_[path]++;
    self->total_++;
    const auto it = self->pages_.find(path);
    if (it == self->pages_.end()) return soup_server_message_set_status(msg, 404, nullptr);
    const Page& page = it->second;
    auto* headers = soup_server_message_get_response_headers(msg);
    soup_server_message_set_status(msg, 200, nullptr);
    if (!page.credentials.empty()) {
      gchar* encoded = g_base64_encode(reinterpret_cast<const guchar*>(page.credentials.data()),
                                       page.credentials.size());
      const char* given = soup_message_headers_get_one(soup_server_message_get_request_headers(msg),
                                                       "Authorization");
      const bool right = given && given == "Basic " + std::string(encoded);
      g_free(encoded);
      if (!right) {
        soup_server_message_set_status(msg, 401, nullptr);
        soup_message_headers_replace(headers, "WWW-Authenticate", "Basic realm=\"Vel tests\"");
        soup_server_message_set_response(msg, "text/html", SOUP_MEMORY_COPY, page.refused.data(),
                                         page.refused.size());
        return;
      }
    }
    if (page.declared > 0) {
      // In HTTP/1.0 a closed connection may end a body, so that a cut looks like an end.
      if (page.declared != page.body.size())
        soup_server_message_set_http_version(msg, SOUP_HTTP_1_0);
      soup_message_headers_set_encoding(headers, SOUP_ENCODING_CONTENT_LENGTH);
      soup_message_headers_set_content_length(headers, static_cast<goffset>(page.declared));
      soup_message_headers_set_content_type(headers, page.type.c_str(), nullptr);
    } else {
      soup_server_message_set_response(msg, page.type.c_str(), SOUP_MEMORY_COPY, page.body.data(),
                                       page.body.size());
      soup_message_headers_replace(headers, "Cache-Control", "no-store");
    }
    for (const auto& [name, value] : page.headers)  // any number of cookies, one of the rest
      (name == "Set-Cookie" ? soup_message_headers_append : soup_message_headers_replace)(
          headers, name.c_str(), value.c_str());
    if (page.declared > 0) {
      auto* stream =
          new Stream{server, SOUP_SERVER_MESSAGE(g_object_ref(msg)), page.body, page.chunk};
      Stream::live().insert(stream);
      g_signal_connect(msg, "wrote-body-data", G_CALLBACK(Stream::wrote), stream);
      g_signal_connect(msg, "finished", G_CALLBACK(Stream::finished), stream);
      soup_server_message_pause(msg);
      stream->timer = g_timeout_add(page.delay_ms, Stream::tick, stream);
      return;
    }
    if (page.delay_ms == 0) return;
    soup_server_message_pause(msg);
    g_timeout_add_once(page.delay_ms, unpause, g_object_ref(msg));
  };
  soup_server_add_handler(server_, nullptr, handle, this, nullptr);
}

TestServer::~TestServer() {
  for (Stream* stream : std::set<Stream*>(Stream::live()))
    if (stream->server == server_) Stream::end(stream);
  soup_server_disconnect(server_);
  g_object_unref(server_);
}

void TestServer::add_page(const std::string& path, std::string body, std::string content_type,
                          unsigned delay_ms) {
  Page& page = pages_[path];
  page.body = std::move(body);
  page.type = std::move(content_type);
  page.delay_ms = delay_ms;
}

void TestServer::add_download(const std::string& path, std::size_t declared, std::size_t sent,
                              std::size_t chunk, unsigned every_ms) {
  Page& page = pages_[path];
  page.body = std::string(sent, 'x');
  page.type = "application/octet-stream";
  page.delay_ms = every_ms;
  page.declared = declared;
  page.chunk = chunk;
}

void TestServer::add_protected_page(const std::string& path, std::string body,
                                    std::string credentials, std::string refused) {
  add_page(path, std::move(body));
  pages_[path].credentials = std::move(credentials);
  pages_[path].refused = std::move(refused);
}

void TestServer::add_header(const std::string& path, const std::string& name,
                            const std::string& value) {
  pages_[path].headers.emplace_back(name, value);
}

std::string TestServer::uri(const std::string& path) const {
  return (tls_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_) + path;
}

std::string titled_page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html><html><head><meta charset='utf-8'><title>" + title +
         "</title></head><body>" + body + "</body></html>";
}

}  // namespace vel::test
