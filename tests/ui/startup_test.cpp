// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up with an address: the engine starts opening it while the window is still being built,
// and the window's own load takes that load over instead of asking for the page again.
#include <gtest/gtest.h>
#include <gtkmm/entry.h>

#include "support/main_loop.h"
#include "support/page_server.h"
#include "support/ui_support.h"
#include "webkit/webkit_engine.h"
#include "windows/browser/browser_window.h"

using namespace vel;

namespace {

// The real engine, already opening `address`, handed to a window that then loads as at start-up.
struct EarlyLoad : ::testing::Test {
  std::unique_ptr<WebEngine> engine = make_webkit_engine();
  std::unique_ptr<BrowserWindow> window;
  test::TestServer server;

  void open_window(const std::string& address) {
    window = std::make_unique<BrowserWindow>(std::move(engine));
    window->present_and_open(address);
  }
  bool done(const std::string& caption) {
    return test::Seam::status_bar(*window).panel_text(2) == "Done" &&
           window->get_title() == Glib::ustring(caption);
  }
};

}  // namespace

TEST_F(EarlyLoad, TheWindowTakesTheLoadOverEvenOnceEndedAndThePageIsAskedForOnce) {
  // A space in the path: the engine's address for the page differs from the text given.
  server.add_page("/a page.html", test::titled_page("Early"));
  const std::string address = server.uri("/a page.html");
  for (const bool ended_first : {false, true}) {
    SCOPED_TRACE(ended_first ? "the load ended first" : "the load still runs");
    if (ended_first) engine = make_webkit_engine();
    const int asked = server.total_requests();
    engine->prepare(address);
    if (ended_first) {
      ASSERT_SOON(server.total_requests() > asked);
      ASSERT_SOON(!engine->is_loading());
    }
    open_window(address);
    ASSERT_SOON(done("Early - Vel "));
    EXPECT_EQ(server.total_requests(), asked + 1);
    // The load's end reached the window: the box shows where the engine is.
    EXPECT_EQ(std::string(test::Seam::address_box(*window).get_entry()->get_text()),
              server.uri("/a%20page.html"));
    EXPECT_EQ(test::Seam::address_box(*window).get_model()->children().size(), 1u);
  }
}

TEST_F(EarlyLoad, AnotherAddressIsALoadOfItsOwn) {
  server.add_page("/first.html", test::titled_page("First"));
  server.add_page("/second.html", test::titled_page("Second"));
  engine->prepare(server.uri("/first.html"));
  open_window(server.uri("/second.html"));
  ASSERT_SOON(done("Second - Vel "));
  EXPECT_EQ(server.requests("/second.html"), 1);
  // Once taken over or replaced, the prepared address is an ordinary one again.
  test::enter_address(*window, server.uri("/first.html"));
  ASSERT_SOON(test::Seam::engine(*window).title() == "First");
}
