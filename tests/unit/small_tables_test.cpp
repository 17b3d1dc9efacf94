// SPDX-License-Identifier: GPL-3.0-or-later
// The small pure functions behind what the window says: zoom steps, the find bar's count, and the
// page that stands in for a failed load.
#include <gtest/gtest.h>

#include <tuple>

#include "webkit/load_failures.h"
#include "windows/browser/find_bar.h"
#include "windows/browser/zoom_badge.h"

using namespace vel;

TEST(ZoomSteps, StepToTheNextLevelEvenFromBetweenLevelsAndStayAtTheEnds) {
  const int rows[][3] = {{100, 1, 110},  {100, -1, 90}, {105, 1, 110},
                         {105, -1, 100}, {300, 1, 300}, {30, -1, 30},
                         {500, -1, 300}, {10, 1, 30},   {250, 0, 100}};
  for (const auto& [from, direction, to] : rows)
    EXPECT_EQ(next_zoom_level(from, direction), to) << from << " " << direction;
}

TEST(FindCount, SaysOneManyAndCapsAtAThousand) {
  // "no matches": the desktop window's test of find.
  EXPECT_EQ(match_count_text(1), "1 match");
  EXPECT_EQ(match_count_text(2), "2 matches");
  EXPECT_EQ(match_count_text(1000), "1000 matches");
  EXPECT_EQ(match_count_text(1001), "more than 1000 matches");
}

TEST(FailurePages, EachErrorGetsItsOwnTitleAndDeliberateEndsGetNone) {
  // Error, the address that failed, and the page's title (none: nothing to say). A refused
  // connection and a missing file: the engine's window test.
  const std::tuple<GQuark, int, const char*, const char*> rows[] = {
      {WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED, "http://a.test/", nullptr},
      {WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE,
       "http://a.test/f.zip", nullptr},
      // The network layer's own cancellation is a failed handshake on https only.
      {G_IO_ERROR, G_IO_ERROR_CANCELLED, "https://a.test/",
       "A secure connection could not be made"},
      {G_IO_ERROR, G_IO_ERROR_CANCELLED, "http://a.test/", "The connection was closed"},
      {G_TLS_ERROR, G_TLS_ERROR_BAD_CERTIFICATE, "https://a.test/",
       "A secure connection could not be made"},
      {G_RESOLVER_ERROR, G_RESOLVER_ERROR_NOT_FOUND, "http://a.test/",
       "The site could not be found"},
      {G_IO_ERROR, G_IO_ERROR_TIMED_OUT, "http://a.test/", "The site took too long to answer"},
      {WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_CANNOT_USE_RESTRICTED_PORT, "http://a.test:25/",
       "This port is blocked"},
      {WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_CANNOT_SHOW_URI, "http://a.test/",
       "Vel cannot show this address"},
  };
  for (auto [domain, code, uri, title] : rows) {
    GError* error = g_error_new_literal(domain, code, "test");
    const auto failure = describe_failure(error, uri);
    g_error_free(error);
    if (!title)
      EXPECT_FALSE(failure) << uri;
    else
      EXPECT_EQ(failure ? failure->title : "(none)", title) << uri << " " << code;
  }
}
