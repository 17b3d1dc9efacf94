// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vel {

// A page's question to the user: an alert, a confirmation, a prompt, or whether to leave it.
struct PageQuestion {
  enum class Kind { Alert, Confirm, Prompt, Leave };
  Kind kind = Kind::Alert;
  std::string address, message, default_text;  // the page's address, its words, a prompt's text
  bool offer_block = false;                    // the user may block the page's further questions
};

// The user's answer to it.
struct PageAnswer {
  bool ok = false;     // OK (or Leave), not Cancel, the close box or Escape
  std::string text;    // what the entry holds (a prompt's)
  bool block = false;  // no more questions from this page until it loads again
};

}  // namespace vel
