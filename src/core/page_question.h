// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vel {

// A page's question to the user: an alert, a confirmation, a prompt, whether to leave it, or the
// site's request for a user name and password.
struct PageQuestion {
  enum class Kind { Alert, Confirm, Prompt, Leave, SignIn };
  Kind kind = Kind::Alert;
  // The page's address (a sign-in's: the site's scheme, host and port), the page's words, the text
  // a prompt offers (a sign-in's: the user name proposed).
  std::string address, message, default_text;
  bool offer_block = false;  // the user may block the page's further questions
  bool retry = false;        // a sign-in whose name or password was just refused
};

// The user's answer to it.
struct PageAnswer {
  bool ok = false;       // OK (Leave, Sign in), not Cancel, Stay or Escape
  std::string text;      // what the entry holds (a prompt's answer, a sign-in's user name)
  std::string password;  // a sign-in's
  bool block = false;    // no more questions from this page until it loads again
};

}  // namespace vel
