// SPDX-License-Identifier: GPL-3.0-or-later
// A loopback web server for the benchmarks. Serves a tiny page, an article of about 200 KB with a
// style sheet, two scripts and twenty images, and a 64 MB file to download, all generated from
// fixed seeds so every run loads the same bytes. Prints its port on stdout, then serves until it
// is terminated.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "support/page_server.h"

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

}  // namespace

int main() {
  vel::test::TestServer server;  // every response uncached: each run fetches every byte
  const std::string article = article_page();
  std::size_t total = article.size();
  const auto add = [&](const std::string& path, std::string body, const char* type) {
    total += body.size();
    server.add_page(path, std::move(body), type);
  };
  server.add_page("/tiny.html", tiny_page(), "text/html; charset=utf-8");
  server.add_page("/article.html", article, "text/html; charset=utf-8");
  add("/article.css", article_css(), "text/css");
  add("/toc.js", toc_js(), "text/javascript");
  add("/stats.js", stats_js(), "text/javascript");
  for (int i = 0; i < kImages; ++i)
    add("/img/" + std::to_string(i) + ".png", png_image(i), "image/png");
  // A 64 MB file to download, sent as fast as the loopback takes it.
  server.add_download("/file.bin", 64u << 20, 64u << 20, 1u << 20, 0);

  std::printf("%d\n", server.port());
  std::fflush(stdout);
  std::fprintf(stderr, "pageserver: article %zu bytes of HTML, %zu bytes with its resources\n",
               article.size(), total);
  g_main_loop_run(g_main_loop_new(nullptr, FALSE));
  return 0;
}
