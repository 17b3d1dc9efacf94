// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace vel {

// Turning what the user typed into an address the engine can load.
struct AddressResult {
  enum class Kind {
    Uri,      // load `uri`
    Empty,    // nothing typed: load nothing
    Invalid,  // not an address; `reason` says why
    Script,   // a javascript: address, which is never run from the address box
  };
  Kind kind;
  std::string uri;
  std::string reason;
  // For a bare host name sent over https: the same address over http, which a failure page may
  // offer (never opened by itself).
  std::string http_alternative = {};
};

// The longest address that is handed to the engine.
inline constexpr std::size_t kMaxAddressLength = std::size_t{32} * 1024;

// Where the Search page sends its words.
inline constexpr const char* kSearchQueryPrefix = "https://duckduckgo.com/html/?q=";

// A full URI is kept as it is, an absolute path becomes a file URI; `localhost`, an IP literal and
// a host with a port get http://, any other bare host name https://. Words (text with a blank, or
// one word that could be a host name but has no dot, port or scheme) become a search for them.
AddressResult interpret_address(std::string_view text);

// Whether the view shows addresses of this scheme itself; others belong to another program.
bool shown_in_view(std::string_view scheme);

// The host of a URI with an authority ("http://host:port/..."), lower-cased; empty otherwise.
std::string uri_host(std::string_view uri);
// The port written in a web address, or -1 when it names none.
int uri_port(std::string_view uri);
// Ports of other services than the web, which browsers never connect to for a page (the "bad
// ports" of the Fetch standard).
bool is_blocked_port(int port);

// The scheme of a URI in lower case, or empty when the text has none.
std::string uri_scheme(std::string_view text);

}  // namespace vel
