// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/address.h"

#include <algorithm>
#include <cctype>

namespace vel {
namespace {

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
bool is_control(unsigned char c) {
  return c < 0x20 || c == 0x7f;
}
bool is_alpha(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
  return s;
}

// Length of a leading "scheme:", or 0.
std::size_t scheme_length(std::string_view s) {
  if (s.empty() || !is_alpha(s[0])) return 0;
  for (std::size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == ':') return i;
    if (!is_alpha(c) && !is_digit(c) && c != '+' && c != '-' && c != '.') return 0;
  }
  return 0;
}

// "localhost:8080/x" reads like a scheme but is a host with a port.
bool looks_like_port(std::string_view after_colon) {
  std::size_t digits = 0;
  while (digits < after_colon.size() && is_digit(after_colon[digits])) ++digits;
  if (digits == 0) return false;
  return digits == after_colon.size() || after_colon[digits] == '/' || after_colon[digits] == '?' ||
         after_colon[digits] == '#';
}

bool valid_host_and_port(std::string_view authority) {
  if (authority.empty()) return false;
  std::string_view host = authority;
  if (host.front() == '[') {  // an IPv6 literal
    const auto close = host.find(']');
    if (close == std::string_view::npos || close == 1) return false;
    for (char c : host.substr(1, close - 1))
      if (!std::isxdigit(static_cast<unsigned char>(c)) && c != ':' && c != '.') return false;
    host.remove_prefix(close + 1);
    if (host.empty()) return true;
    if (host.front() != ':') return false;
    host.remove_prefix(1);
    return !host.empty() && std::all_of(host.begin(), host.end(), is_digit);
  }
  if (const auto colon = host.find(':'); colon != std::string_view::npos) {
    const auto port = host.substr(colon + 1);
    if (port.empty() || !std::all_of(port.begin(), port.end(), is_digit)) return false;
    host = host.substr(0, colon);
  }
  if (host.empty() || host.front() == '.' || host.front() == '-') return false;
  for (char c : host) {
    const auto u = static_cast<unsigned char>(c);
    if (!is_alpha(c) && !is_digit(c) && c != '-' && c != '.' && u < 0x80) return false;
  }
  return true;
}

// Appends `c` to `out` as %XX.
void append_percent_encoded(std::string& out, char c) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto u = static_cast<unsigned char>(c);
  out += '%';
  out += kHex[u >> 4];
  out += kHex[u & 0xf];
}

std::string escape_path(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    if (is_alpha(c) || is_digit(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~')
      out += c;
    else
      append_percent_encoded(out, c);
  }
  return out;
}

std::string escape_spaces(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == ' ')
      out += "%20";
    else
      out += c;
  }
  return out;
}

// The words as the Search page's form sends them: blanks as '+', the rest percent-encoded.
std::string search_query(std::string_view words) {
  std::string out = kSearchQueryPrefix;
  for (char c : words) {
    if (is_alpha(c) || is_digit(c) || c == '-' || c == '_' || c == '.' || c == '*')
      out += c;
    else if (c == ' ')
      out += '+';
    else
      append_percent_encoded(out, c);
  }
  return out;
}

// Hosts a desktop browser opens over http: this machine, IP literals, and any host given a port.
bool opens_over_http(std::string_view authority) {
  if (authority.front() == '[') return true;
  const auto colon = authority.find(':');
  if (colon != std::string_view::npos) return true;
  std::string host(authority);
  std::transform(host.begin(), host.end(), host.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (host == "localhost") return true;
  return std::all_of(host.begin(), host.end(), [](char c) { return is_digit(c) || c == '.'; });
}

AddressResult invalid(std::string reason) {
  return {AddressResult::Kind::Invalid, {}, std::move(reason)};
}

}  // namespace

std::string uri_scheme(std::string_view text) {
  const auto n = scheme_length(text);
  std::string scheme(text.substr(0, n));
  std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return scheme;
}

bool shown_in_view(std::string_view scheme) {
  for (const char* own : {"http", "https", "file", "data", "blob", "about", "vel"})
    if (scheme == own) return true;
  return false;
}

std::string uri_host(std::string_view uri) {
  const auto n = scheme_length(uri);
  if (n == 0 || uri.substr(n, 3) != "://") return {};
  std::string_view rest = uri.substr(n + 3);
  rest = rest.substr(0, rest.find_first_of("/?#"));
  if (const auto at = rest.rfind('@'); at != std::string_view::npos) rest.remove_prefix(at + 1);
  if (rest.empty() || rest.front() == '[') return std::string(rest.substr(0, rest.find(']') + 1));
  std::string host(rest.substr(0, rest.find(':')));
  std::transform(host.begin(), host.end(), host.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return host;
}

int uri_port(std::string_view uri) {
  const auto n = scheme_length(uri);
  if (n == 0 || uri.substr(n, 3) != "://") return -1;
  std::string_view rest = uri.substr(n + 3);
  rest = rest.substr(0, rest.find_first_of("/?#"));
  if (const auto at = rest.rfind('@'); at != std::string_view::npos) rest.remove_prefix(at + 1);
  if (!rest.empty() && rest.front() == '[') {
    const auto bracket = rest.find(']');
    if (bracket == std::string_view::npos) return -1;
    rest.remove_prefix(bracket + 1);
  }
  const auto colon = rest.rfind(':');
  if (colon == std::string_view::npos || colon + 1 == rest.size() || rest.size() - colon > 6)
    return -1;
  int port = 0;
  for (char c : rest.substr(colon + 1)) {
    if (c < '0' || c > '9') return -1;
    port = port * 10 + (c - '0');
  }
  return port;
}

bool is_blocked_port(int port) {
  static constexpr int kBlocked[] = {
      1,    7,    9,    11,   13,   15,   17,   19,   20,   21,   22,   23,   25,   37,
      42,   43,   53,   69,   77,   79,   87,   95,   101,  102,  103,  104,  109,  110,
      111,  113,  115,  117,  119,  123,  135,  137,  139,  143,  161,  179,  389,  427,
      465,  512,  513,  514,  515,  526,  530,  531,  532,  540,  548,  554,  556,  563,
      587,  601,  636,  989,  990,  993,  995,  1719, 1720, 1723, 2049, 3659, 4045, 4190,
      5060, 5061, 6000, 6566, 6665, 6666, 6667, 6668, 6669, 6679, 6697, 10080};
  return std::find(std::begin(kBlocked), std::end(kBlocked), port) != std::end(kBlocked);
}

AddressResult interpret_address(std::string_view raw) {
  const std::string_view text = trim(raw);
  if (text.empty()) return {AddressResult::Kind::Empty, {}, {}};
  if (text.size() > kMaxAddressLength) return invalid("The address is too long.");
  if (std::any_of(text.begin(), text.end(), [](char c) { return is_control(c); }))
    return invalid("The address contains control characters.");

  // Before the port rule: "javascript:1" is a script, not a host called javascript.
  if (uri_scheme(text) == "javascript")
    return {AddressResult::Kind::Script, {}, "Scripts are not run from the address box."};

  std::string uri;
  if (text.front() == '/') {
    uri = "file://" + escape_path(text);
  } else if (const auto n = scheme_length(text); n > 0 && !looks_like_port(text.substr(n + 1))) {
    uri = escape_spaces(text);
  } else {
    // A bare host name, perhaps with a port and a path, or words to search for.
    const auto end = text.find_first_of("/?#");
    const std::string_view authority = text.substr(0, end);
    const bool words = std::any_of(text.begin(), text.end(), is_space);
    if (!words && !valid_host_and_port(authority)) return invalid("This is not a web address.");
    if (words ||
        (end == std::string_view::npos &&
         authority.find_first_of(".:[") == std::string_view::npos && !opens_over_http(authority))) {
      uri = search_query(text);
    } else if (opens_over_http(authority)) {
      uri = "http://" + std::string(text);
    } else {
      uri = "https://" + std::string(text);
      if (uri.size() <= kMaxAddressLength)
        return {AddressResult::Kind::Uri, std::move(uri), {}, "http://" + std::string(text)};
    }
  }
  // Escaping can triple the text: the limit holds for what the engine gets.
  if (uri.size() > kMaxAddressLength) return invalid("The address is too long.");
  return {AddressResult::Kind::Uri, std::move(uri), {}};
}

}  // namespace vel
