// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <webkit/webkit.h>

#include <functional>
#include <string>

#include "engine/web_engine.h"

namespace vel {

// The page's questions: its alert, confirm, prompt and "leave this page?" dialogs, and a site's
// request for a user name and password. Each is put to the user through `ask_user` (the window
// shows it) and taken back through `withdraw` when the page no longer waits. One at a time: one
// that comes while another waits is answered as dismissed.
//
// From the third dialog of one load on, each offers to block the rest; a blocked page's dialogs
// are answered as dismissed until a new load commits. Once the user has given a command that leaves
// the page, its alerts, confirms and prompts are answered as dismissed, but its question whether to
// leave is asked, and Leave lets the command go on.
class PageQuestions {
 public:
  PageQuestions(WebKitWebView* view, std::function<void(const PageQuestion&)> ask_user,
                std::function<void()> withdraw);
  ~PageQuestions();
  PageQuestions(const PageQuestions&) = delete;
  PageQuestions& operator=(const PageQuestions&) = delete;

  // The user gives a command that leaves the page: a question shown is taken back (a question
  // whether to leave is answered yes, as the user is going anyway; a sign-in is cancelled).
  void leave();
  // A question shown is taken back and answered as dismissed (Stop, and the page's process ending).
  void close();

  // The page asks: put to the user, or answered at once as dismissed. Always taken care of.
  void ask(WebKitScriptDialog* dialog);
  // A site asks for a name and password: true when taken care of, false for the kinds of
  // authentication that the engine's own handler is left to deal with.
  bool sign_in(WebKitAuthenticationRequest* request);
  // The user answered the question put to them. True when the answer keeps the page: the user
  // chose to stay on it.
  bool answer(const PageAnswer& answer);
  // A new load committed: a new page, whose dialogs are counted afresh and shown again.
  void load_committed();

 private:
  enum class Ending { Dismissed, Left };
  void take_back(Ending ending);
  void end_pending();

  WebKitWebView* view_;
  std::function<void(const PageQuestion&)> ask_user_;
  std::function<void()> withdraw_;
  // What waits for the user's answer: a dialog of the page, or a sign-in. At most one is set.
  WebKitScriptDialog* dialog_ = nullptr;
  WebKitAuthenticationRequest* sign_in_ = nullptr;
  std::string page_;       // the address of the page that asks (the view's is the next one's, once
                           // a navigation is asked for)
  std::string last_user_;  // the name given to the last sign-in, offered again when it is refused
  unsigned count_ = 0;     // dialogs of this load shown
  bool blocked_ = false;   // the user blocked this load's dialogs
  bool leaving_ = false;   // the user gave a command that leaves the page
  bool released_ = false;  // ... and let it go: its question whether to leave is answered yes
};

}  // namespace vel
