// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/html.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(Html, EscapingLeavesNoMarkupAndNoWayOutOfAQuotedAttribute) {
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"nothing stays nothing", "", ""},
      {"an ampersand is escaped once, before the others", "&lt;", "&amp;lt;"},
      {"double quotes", "a\"b", "a&quot;b"},
      {"single quotes", "it's", "it&#39;s"},
      {"a title cannot close its element", "</title><script>", "&lt;/title&gt;&lt;script&gt;"},
      {"UTF-8 passes byte for byte", "Grüße “ok”", "Grüße “ok”"},
  };
  for (auto [name, text, html] : rows) EXPECT_EQ(vel::html_escape(text), html) << name;
}
