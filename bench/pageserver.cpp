// A loopback web server for the benchmarks. Serves a tiny page and an article of about 200 KB
// with a style sheet, two scripts and twenty images, all generated from fixed seeds so every run
// loads the same bytes. Prints its port on stdout, then serves until it is terminated.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <libsoup/soup.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int kImages = 20;

// A small linear congruential generator: the same text and pictures on every run.
struct Lcg {
  std::uint32_t state;
  std::uint32_t next() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  }
};

const char* const kWords[] = {
    "window", "timer",   "address", "engine",  "status",  "caption", "history", "banner",
    "clock",  "sweep",   "dial",    "panel",   "load",    "page",    "title",   "render",
    "paint",  "process", "network", "request", "memory",  "idle",    "frame",   "layout",
    "event",  "handler", "button",  "hint",    "offline", "search",  "home",    "refresh"};

std::string sentence(Lcg& rng) {
  std::string s;
  const int words = 8 + static_cast<int>(rng.next() % 12);
  for (int i = 0; i < words; ++i) {
    std::string w = kWords[rng.next() % (sizeof kWords / sizeof *kWords)];
    if (i == 0) w[0] = static_cast<char>(w[0] - 'a' + 'A');
    s += (i ? " " : "") + w;
  }
  return s + ". ";
}

std::string tiny_page() {
  return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Tiny Page</title></head>"
         "<body><p>A tiny page with a title and one paragraph.</p></body></html>";
}

std::string article_page() {
  Lcg rng{7};
  std::string html =
      "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\">"
      "<title>Benchmark Article</title>"
      "<link rel=\"stylesheet\" href=\"/article.css\">"
      "<script src=\"/toc.js\" defer></script><script src=\"/stats.js\" defer></script>"
      "</head><body><header><h1>Benchmark Article</h1><nav id=\"toc\"></nav></header><main>";
  int image = 0;
  for (int section = 0; html.size() < 195000; ++section) {
    html += "<section id=\"s" + std::to_string(section) + "\"><h2>" + sentence(rng) + "</h2>";
    for (int p = 0; p < 4; ++p) {
      html += "<p>";
      for (int k = 0; k < 6; ++k) html += sentence(rng);
      html += "</p>";
    }
    if (image < kImages) {
      html += "<figure><img src=\"/img/" + std::to_string(image) +
              ".png\" width=\"240\" height=\"160\" alt=\"Figure " + std::to_string(image) +
              "\"><figcaption>" + sentence(rng) + "</figcaption></figure>";
      ++image;
    }
    html += "<ul>";
    for (int li = 0; li < 5; ++li) html += "<li>" + sentence(rng) + "</li>";
    html += "</ul></section>";
  }
  for (; image < kImages; ++image)
    html += "<figure><img src=\"/img/" + std::to_string(image) +
            ".png\" width=\"240\" height=\"160\" alt=\"\"></figure>";
  html += "</main><footer id=\"stats\"></footer></body></html>";
  return html;
}

std::string article_css() {
  std::string css =
      "body{font-family:'Liberation Serif',serif;margin:0 auto;max-width:46em;line-height:1.5;"
      "color:#222;background:#fdfdf8}"
      "header{border-bottom:2px solid #446}h1{font-size:2em}h2{font-size:1.3em;color:#335}"
      "figure{margin:1em 0;text-align:center}figcaption{font-size:.9em;color:#555}"
      "nav a{display:inline-block;margin-right:.6em;font-size:.8em}"
      "ul{padding-left:1.4em}footer{font-size:.8em;color:#777}";
  // Rules of the size a real site ships, most of which match nothing.
  for (int i = 0; i < 400; ++i) {
    const std::string n = std::to_string(i);
    css += ".c" + n + " p>span.x" + n + "{margin:" + std::to_string(i % 7) + "px;color:#" +
           std::to_string(100 + i % 800) + "}";
  }
  return css;
}

// Builds a table of contents once, at load: no timers, so the page is static afterwards.
std::string toc_js() {
  return "document.addEventListener('DOMContentLoaded',function(){"
         "var nav=document.getElementById('toc');"
         "document.querySelectorAll('section').forEach(function(s){"
         "var a=document.createElement('a');a.href='#'+s.id;"
         "a.textContent=s.querySelector('h2').textContent.split(' ').slice(0,3).join(' ');"
         "nav.appendChild(a);});});";
}

std::string stats_js() {
  return "window.addEventListener('load',function(){"
         "var words=document.body.textContent.split(/\\s+/).length;"
         "document.getElementById('stats').textContent=words+' words, '+"
         "document.images.length+' figures';});";
}

std::string png_image(int index) {
  Lcg rng{static_cast<std::uint32_t>(1000 + index)};
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 240, 160);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
  const int r0 = static_cast<int>(rng.next() % 256), g0 = static_cast<int>(rng.next() % 256);
  for (int y = 0; y < 160; ++y)
    for (int x = 0; x < 240; ++x) {
      guchar* p = pixels + y * stride + x * 3;
      // A gradient with some noise, so the PNG is of a realistic size.
      p[0] = static_cast<guchar>((r0 + x) & 0xff);
      p[1] = static_cast<guchar>((g0 + y) & 0xff);
      p[2] = static_cast<guchar>((x * y / 64 + rng.next() % 24) & 0xff);
    }
  gchar* buffer = nullptr;
  gsize size = 0;
  gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "png", nullptr, nullptr);
  std::string out(buffer, size);
  g_free(buffer);
  g_object_unref(pixbuf);
  return out;
}

struct Resource {
  std::string type;
  std::string body;
};

std::map<std::string, Resource>& resources() {
  static std::map<std::string, Resource> map;
  return map;
}

void handle(SoupServer*, SoupServerMessage* msg, const char* path, GHashTable*, gpointer) {
  const auto it = resources().find(path);
  if (it == resources().end()) {
    soup_server_message_set_status(msg, SOUP_STATUS_NOT_FOUND, nullptr);
    return;
  }
  soup_server_message_set_status(msg, SOUP_STATUS_OK, nullptr);
  // Every run fetches every byte, as a first visit would.
  soup_message_headers_replace(soup_server_message_get_response_headers(msg), "Cache-Control",
                               "no-store");
  soup_server_message_set_response(msg, it->second.type.c_str(), SOUP_MEMORY_STATIC,
                                   it->second.body.data(), it->second.body.size());
}

}  // namespace

int main() {
  auto& r = resources();
  r["/tiny.html"] = {"text/html; charset=utf-8", tiny_page()};
  r["/article.html"] = {"text/html; charset=utf-8", article_page()};
  r["/article.css"] = {"text/css", article_css()};
  r["/toc.js"] = {"text/javascript", toc_js()};
  r["/stats.js"] = {"text/javascript", stats_js()};
  for (int i = 0; i < kImages; ++i)
    r["/img/" + std::to_string(i) + ".png"] = {"image/png", png_image(i)};

  SoupServer* server = soup_server_new("server-header", "vel-bench", nullptr);
  soup_server_add_handler(server, nullptr, handle, nullptr, nullptr);
  GError* error = nullptr;
  GInetAddress* loopback = g_inet_address_new_loopback(G_SOCKET_FAMILY_IPV4);
  GSocketAddress* address = g_inet_socket_address_new(loopback, 0);
  if (!soup_server_listen(server, address, static_cast<SoupServerListenOptions>(0), &error)) {
    std::fprintf(stderr, "pageserver: %s\n", error->message);
    return 1;
  }
  g_object_unref(address);
  g_object_unref(loopback);
  GSList* uris = soup_server_get_uris(server);
  std::printf("%d\n", g_uri_get_port(static_cast<GUri*>(uris->data)));
  std::fflush(stdout);
  g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));

  std::size_t total = 0;
  for (const auto& [path, res] : r)
    if (path != "/tiny.html") total += res.body.size();
  std::fprintf(stderr, "pageserver: article %zu bytes of HTML, %zu bytes with its resources\n",
               r["/article.html"].body.size(), total);

  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  g_main_loop_run(loop);
  return 0;
}
