#include "platform/address.h"

#include <gtest/gtest.h>

using vel::AddressResult;
using vel::interpret_address;
using Kind = AddressResult::Kind;

TEST(Address, FullUrisAreKeptAsTheyAre) {
  for (const char* uri :
       {"http://127.0.0.1:8080/a?b=c#d", "https://example.com/", "vel:start", "file:///tmp/x.html",
        "about:blank", "data:text/html,<p>hi</p>", "FTP://Example.com/"}) {
    const auto r = interpret_address(uri);
    EXPECT_EQ(r.kind, Kind::Uri) << uri;
    EXPECT_EQ(r.uri, uri);
  }
  // Spaces inside a URI are escaped rather than cutting it short.
  EXPECT_EQ(interpret_address("http://host/a b").uri, "http://host/a%20b");
}

TEST(Address, BareHostsGetHttpsAndPortsAreNotSchemes) {
  EXPECT_EQ(interpret_address("example.com").uri, "https://example.com");
  EXPECT_EQ(interpret_address("  example.com/path?q=1 ").uri, "https://example.com/path?q=1");
  EXPECT_EQ(interpret_address("localhost:8080").uri, "https://localhost:8080");
  EXPECT_EQ(interpret_address("localhost:8080/x").uri, "https://localhost:8080/x");
  EXPECT_EQ(interpret_address("[::1]:80/").uri, "https://[::1]:80/");
  EXPECT_EQ(interpret_address("bücher.de").kind, Kind::Uri);
}

TEST(Address, AbsolutePathsBecomeEscapedFileUris) {
  EXPECT_EQ(interpret_address("/tmp/page.html").uri, "file:///tmp/page.html");
  EXPECT_EQ(interpret_address("/tmp/a b#c.html").uri, "file:///tmp/a%20b%23c.html");
}

TEST(Address, EmptyBlankAndBadTextLoadNothing) {
  EXPECT_EQ(interpret_address("").kind, Kind::Empty);
  EXPECT_EQ(interpret_address("   \t").kind, Kind::Empty);
  EXPECT_EQ(interpret_address("hello world").kind, Kind::Invalid);
  EXPECT_EQ(interpret_address("http://a\x01b").kind, Kind::Invalid);
  EXPECT_EQ(interpret_address(std::string("a\0b", 3)).kind, Kind::Invalid);
  EXPECT_EQ(interpret_address(".example").kind, Kind::Invalid);
  EXPECT_EQ(interpret_address("host:").kind, Kind::Uri);  // an unknown scheme: the engine says no
  EXPECT_EQ(interpret_address(std::string(1 << 20, 'a')).kind, Kind::Invalid);
  EXPECT_FALSE(interpret_address(std::string(1 << 20, 'a')).reason.empty());
}

TEST(Address, ScriptAddressesAreNeverRun) {
  // "javascript:80" reads like a host with a port; it must not load https://javascript:80.
  for (const char* s : {"javascript:alert(1)", "JavaScript:void(0)", " javascript:x",
                        "javascript:80", "javascript:1/x"})
    EXPECT_EQ(interpret_address(s).kind, Kind::Script) << s;
}

TEST(Address, TheLengthLimitHoldsAfterEscaping) {
  // Short enough as typed, but each escaped space is three characters.
  const std::string spaced_path = "/a" + std::string(12000, ' ') + "b";
  const std::string spaced_uri = "http://h/" + std::string(12000, ' ') + "b";
  for (const auto& text : {spaced_path, spaced_uri}) {
    const auto r = interpret_address(text);
    EXPECT_EQ(r.kind, Kind::Invalid);
    EXPECT_TRUE(r.uri.empty());
  }
  // Right at the limit is still an address, and what it gives reads back the same.
  const std::string at_limit = "https://h/" + std::string(vel::kMaxAddressLength - 10, 'x');
  const auto r = interpret_address(at_limit);
  ASSERT_EQ(r.kind, Kind::Uri);
  EXPECT_EQ(interpret_address(r.uri).uri, r.uri);
}

TEST(Address, SchemeIsLowerCased) {
  EXPECT_EQ(vel::uri_scheme("HTTPS://x"), "https");
  EXPECT_EQ(vel::uri_scheme("no scheme"), "");
}
