// SPDX-License-Identifier: GPL-3.0-or-later
// A page that takes more and more memory is ended at the pages' memory limit and Vel says why.
// A program of its own: the limit is the first engine's, set before any page's process starts.
#include <gtest/gtest.h>

#include "support/ui_support.h"
#include "webkit/webkit_engine.h"
#include "windows/browser/browser_window.h"

using namespace vel;

// The page grows by 64 MB every 50 ms, up to 1.5 GB at most: past the test's limit of 300 MB
// long before that, and never near what the machine has.
TEST(Memory, APageThatGrowsPastTheLimitIsEndedWithAMessage) {
  EngineSettings settings;
  settings.memory.limit_mb = 300;
  settings.memory.poll_s = 0.2;
  BrowserWindow window(make_webkit_engine(settings));
  window.present_and_open();
  test::show_and_wait(window);
  test::TestServer server;
  server.add_page("/grow.html", test::titled_page("Growing", R"(<script>
    const kept = [];
    function grow() {
      for (let i = 0; i < 8; ++i) kept.push(new Float64Array(1 << 20).fill(i + 1));
      document.title = 'Growing ' + kept.length * 8 + ' MB';
      if (kept.length < 192) setTimeout(grow, 50);
    }
    setTimeout(grow, 50);
  </script>)"));
  server.add_page("/small.html", test::titled_page("Small"));
  WebEngine& engine = test::Seam::engine(window);
  engine.navigate(server.uri("/grow.html"));
  ASSERT_TRUE(test::run_until([&] { return engine.title() == "This page used too much memory"; },
                              std::chrono::seconds(60)))
      << engine.title();
  EXPECT_EQ(engine.uri(), server.uri("/grow.html"));
  // Everything else goes on as before.
  ASSERT_TRUE(test::wait_for_load(engine.signal_load_finished(),
                                  [&] { engine.navigate(server.uri("/small.html")); }));
  EXPECT_SOON(engine.title() == "Small");
}
