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
};

// The longest address that is handed to the engine.
inline constexpr std::size_t kMaxAddressLength = 32 * 1024;

// A full URI is kept as it is, an absolute path becomes a file URI, a bare host name gets https://.
AddressResult interpret_address(std::string_view text);

// The scheme of a URI in lower case, or empty when the text has none.
std::string uri_scheme(std::string_view text);

}  // namespace vel
