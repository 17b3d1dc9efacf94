// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/html.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/stand_in_pages.h"

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

TEST(StandInPages, SayTheirTextWithTheAddressAndAlternativeAndLeaveNoMarkupOfTheirs) {
  const std::string offline = vel::stand_in_html(vel::stand_in::offline());
  EXPECT_NE(offline.find("<title>Working offline</title>"), std::string::npos);
  EXPECT_NE(offline.find("<h1>Vel is working offline</h1>"), std::string::npos);
  EXPECT_EQ(offline.find("Address:"), std::string::npos);  // it stands for no one address

  const std::string refused = vel::stand_in_html(vel::stand_in::refused_address("<b>bad</b>"),
                                                 "http://a.test/?q=<script>", "http://\"x");
  EXPECT_NE(refused.find("<h1>Vel cannot open this address</h1><p>&lt;b&gt;bad&lt;/b&gt;</p>"),
            std::string::npos);
  EXPECT_NE(refused.find("Address: <code>http://a.test/?q=&lt;script&gt;</code>"),
            std::string::npos);
  EXPECT_NE(refused.find("<a href=\"http://&quot;x\">"), std::string::npos);
  EXPECT_EQ(refused.find("<script>"), std::string::npos);
}
