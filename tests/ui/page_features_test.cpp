// SPDX-License-Identifier: GPL-3.0-or-later
// What pages may use of the engine: spelling checked in text fields, and a WebM video.
#include <gtest/gtest.h>
#include <webkit/webkit.h>

#include <fstream>
#include <iterator>

#include "support/engine_window.h"

using namespace vel;

using PageFeatures = test::EngineWindow;

// A misspelt word in a text area is marked, and the page's menu on it offers corrections.
TEST_F(PageFeatures, TextAreasCheckSpellingAndTheMenuOffersCorrections) {
  server.add_page("/write.html",
                  test::titled_page("Write",
                                    "<textarea id=t style='font-size:40px;width:600px' "
                                    "spellcheck=true>Somethng</textarea>"
                                    "<script>t.focus(); t.setSelectionRange(8, 8)"
                                    "</script>"));
  load([&] { engine().navigate(server.uri("/write.html")); });
  // -1 while no menu came, else how many spelling guesses it has (it is not shown).
  int guesses = -1;
  const gulong handler = g_signal_connect(
      engine().widget().gobj(), "context-menu",
      G_CALLBACK(+[](WebKitWebView*, WebKitContextMenu* menu, WebKitHitTestResult*, int* found) {
        *found = 0;
        for (GList* item = webkit_context_menu_get_items(menu); item; item = item->next)
          *found +=
              webkit_context_menu_item_get_stock_action(WEBKIT_CONTEXT_MENU_ITEM(item->data)) ==
              WEBKIT_CONTEXT_MENU_ACTION_SPELLING_GUESS;
        return TRUE;
      }),
      &guesses);
  // The dictionary comes a moment after start: ask again until the guesses are there.
  EXPECT_TRUE(test::run_until([&] {
    guesses = -1;
    point_at_page(40, 30);
    input.click(3);
    return test::run_until([&] { return guesses >= 0; }, std::chrono::seconds(5)) && guesses > 0;
  }));
  g_signal_handler_disconnect(engine().widget().gobj(), handler);
}

// A short WebM video (VP8, made with GStreamer) plays.
TEST_F(PageFeatures, AWebmVideoPlays) {
  std::ifstream in(VEL_TEST_MEDIA_DIR "/ball.webm", std::ios::binary);
  server.add_page("/ball.webm", std::string(std::istreambuf_iterator<char>(in), {}), "video/webm");
  server.add_page("/video.html",
                  test::titled_page("Video",
                                    "<video src=/ball.webm muted autoplay "
                                    "onplaying=\"document.title='Playing'\"></video>"));
  engine().navigate(server.uri("/video.html"));
  EXPECT_SOON(title() == "Playing") << title();
}
