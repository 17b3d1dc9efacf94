// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/address.h"

#include <gtest/gtest.h>

#include <tuple>

using vel::interpret_address;
using Kind = vel::AddressResult::Kind;

TEST(Address, WhatIsTypedBecomesTheAddressTheEngineGetsOrAReason) {
  const std::string long_tail(vel::kMaxAddressLength - 10, 'x');  // "https://h/" + this: the limit
  const std::string spaces(12000, ' ');  // short enough as typed, not once escaped
  const std::tuple<const char*, std::string, Kind, std::string> rows[] = {
      {"a web address is kept", "http://127.0.0.1:8080/a?b=c#d", Kind::Uri,
       "http://127.0.0.1:8080/a?b=c#d"},
      {"an unknown scheme is the engine's to refuse", "host:", Kind::Uri, "host:"},
      {"a space inside a URI is escaped", "http://host/a b", Kind::Uri, "http://host/a%20b"},
      {"a bare host gets https", "example.com", Kind::Uri, "https://example.com"},
      {"blanks around are dropped", " \texample.com/p?q=1 ", Kind::Uri,
       "https://example.com/p?q=1"},
      {"a port is no scheme, and a host with a port opens over http", "example.com:8080/x",
       Kind::Uri, "http://example.com:8080/x"},
      {"this machine opens over http", "LocalHost", Kind::Uri, "http://LocalHost"},
      {"an IPv4 literal opens over http", "127.0.0.1/page.html", Kind::Uri,
       "http://127.0.0.1/page.html"},
      {"an IPv6 host with a port", "[::1]:80/", Kind::Uri, "http://[::1]:80/"},
      {"words are searched for", "hello  world", Kind::Uri,
       "https://duckduckgo.com/html/?q=hello++world"},
      {"one word is searched for", "vel", Kind::Uri, "https://duckduckgo.com/html/?q=vel"},
      {"search words are encoded as a form does", "c++ & ü?", Kind::Uri,
       "https://duckduckgo.com/html/?q=c%2B%2B+%26+%C3%BC%3F"},
      {"a host in UTF-8", "bücher.de", Kind::Uri, "https://bücher.de"},
      {"a path is a file, escaped", "/tmp/a b#c%.html", Kind::Uri, "file:///tmp/a%20b%23c%25.html"},
      {"right at the length limit", "https://h/" + long_tail, Kind::Uri, "https://h/" + long_tail},
      {"nothing", "", Kind::Empty, ""},
      {"only blanks", "   \t", Kind::Empty, ""},
      {"no host and no words", "::::", Kind::Invalid, ""},
      {"a delete character", "example.com\x7f", Kind::Invalid, ""},
      {"a NUL", std::string("a\0b", 3), Kind::Invalid, ""},
      {"a host starting with a dot", ".example", Kind::Invalid, ""},
      {"an unclosed IPv6 host", "[::1", Kind::Invalid, ""},
      {"one past the length limit", "https://h/x" + long_tail, Kind::Invalid, ""},
      {"a path too long once escaped", "/a" + spaces + "b", Kind::Invalid, ""},
      {"a URI too long once escaped", "http://h/" + spaces + "b", Kind::Invalid, ""},
      {"a script", "javascript:alert(1)", Kind::Script, ""},
      {"a script in mixed case after a blank", " JavaScript:void(0)", Kind::Script, ""},
      {"a script that reads like a host and port", "javascript:80", Kind::Script, ""},
  };
  for (const auto& [name, text, kind, uri] : rows) {
    const auto r = interpret_address(text);
    EXPECT_EQ(r.kind, kind) << name;
    EXPECT_EQ(r.uri, uri) << name;  // that a refusal says why, the fuzzer checks
  }
  // Only a guessed https is offered over http, and only by a failure page.
  EXPECT_EQ(interpret_address("example.com/p").http_alternative, "http://example.com/p");
  EXPECT_EQ(interpret_address("https://example.com/p").http_alternative, "");
}

TEST(Address, TheSchemeIsTheLowerCasedNameBeforeTheFirstColon) {
  const std::pair<const char*, const char*> rows[] = {{"HTTPS://x", "https"},
                                                      {"vel+x.y-z:a", "vel+x.y-z"},
                                                      {"no scheme", ""},
                                                      {"1http://x", ""},
                                                      {"ht tp://x", ""}};
  for (auto [text, scheme] : rows) EXPECT_EQ(vel::uri_scheme(text), scheme) << text;
}

TEST(Address, OnlyTheWrittenPortCountsAndOnlyPortsOfOtherServicesAreBlocked) {
  const std::tuple<const char*, int, bool> rows[] = {
      {"http://127.0.0.1:9/x", 9, true},  {"https://u:p@h:8080/a:1", 8080, false},
      {"http://[::1]:6667/", 6667, true}, {"http://[::1/", -1, false},
      {"http://h/p:9", -1, false},        {"http://h:/", -1, false},
      {"http://h:99999999/", -1, false}};
  for (auto [uri, port, blocked] : rows) {
    EXPECT_EQ(vel::uri_port(uri), port) << uri;
    EXPECT_EQ(vel::is_blocked_port(vel::uri_port(uri)), blocked) << uri;
  }
}
