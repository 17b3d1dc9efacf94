// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/html.h"

#include <gtest/gtest.h>

TEST(Html, EscapingLeavesNoMarkupAndNoWayOutOfAQuotedAttribute) {
  const struct {
    const char* name;
    const char* text;
    const char* html;
  } rows[] = {
      {"plain text is kept", "Hello, world 1", "Hello, world 1"},
      {"nothing stays nothing", "", ""},
      {"a tag becomes text", "<b>x</b>", "&lt;b&gt;x&lt;/b&gt;"},
      {"an ampersand is escaped once, before the others", "&lt;", "&amp;lt;"},
      {"double quotes", "a\"b", "a&quot;b"},
      {"single quotes", "it's", "it&#39;s"},
      {"a title cannot close its element", "</title><script>", "&lt;/title&gt;&lt;script&gt;"},
      {"UTF-8 passes byte for byte", "Grüße “ok”", "Grüße “ok”"},
  };
  for (const auto& row : rows) EXPECT_EQ(vel::html_escape(row.text), row.html) << row.name;
}
