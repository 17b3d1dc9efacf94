// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: what the user types into the address box. Checks what must hold of every
// answer, not only that there is one.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/address.h"

namespace {

using vel::AddressResult;
using Kind = AddressResult::Kind;

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "address invariant broken: %s\n", what);
  std::abort();
}

std::string_view trim(std::string_view s) {
  constexpr const char* kSpace = " \t\n\r\f\v";
  const auto first = s.find_first_not_of(kSpace);
  return first == s.npos ? s.substr(0, 0) : s.substr(first, s.find_last_not_of(kSpace) - first + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view text = trim(input);
  const AddressResult r = vel::interpret_address(input);

  check((r.kind == Kind::Empty) == text.empty(), "Empty exactly for blank text");
  switch (r.kind) {
    case Kind::Empty:
      check(r.uri.empty() && r.reason.empty(), "Empty carries nothing");
      break;
    case Kind::Invalid:
    case Kind::Script:
      check(r.uri.empty() && !r.reason.empty(), "a refusal has a reason and no uri");
      break;
    case Kind::Uri: {
      check(!r.uri.empty() && r.reason.empty(), "a Uri answer has a uri and no reason");
      check(r.uri.size() <= vel::kMaxAddressLength, "the engine never gets an over-long address");
      for (unsigned char c : r.uri) check(c > 0x20 && c != 0x7f, "no control characters or spaces");
      const std::string scheme = vel::uri_scheme(r.uri);
      check(!scheme.empty() && scheme != "javascript", "a Uri answer names a scheme, not a script");
      if (text.front() == '/') check(r.uri.rfind("file:///", 0) == 0, "a path becomes a file URI");
      // What the box loads, typed again, loads the same.
      const AddressResult again = vel::interpret_address(r.uri);
      check(again.kind == Kind::Uri && again.uri == r.uri, "a Uri answer read again is the same");
      break;
    }
  }
  if (vel::uri_scheme(text) == "javascript") check(r.kind != Kind::Uri, "javascript: never loads");
  // Spaces around what was typed (a paste, say) change nothing.
  const AddressResult trimmed = vel::interpret_address(text);
  check(trimmed.kind == r.kind && trimmed.uri == r.uri, "surrounding blanks are ignored");
  return 0;
}
