// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <webkit/webkit.h>

#include <functional>

#include "engine/web_engine.h"

namespace vel {

// The page's alert, confirm, prompt and "leave this page?" dialogs, put to the user through
// `ask_user` (the window shows them) and taken back through `withdraw` when the page no longer
// waits. From the third dialog of one load on, each offers to block the rest; a blocked page's
// dialogs are answered as dismissed until a new load commits. Leaving a page is never held up by a
// dialog.
class ScriptDialogs {
 public:
  ScriptDialogs(WebKitWebView* view, std::function<void(const PageQuestion&)> ask_user,
                std::function<void()> withdraw);
  ~ScriptDialogs();
  ScriptDialogs(const ScriptDialogs&) = delete;
  ScriptDialogs& operator=(const ScriptDialogs&) = delete;

  // The user gives a command that leaves the page: a dialog shown is closed as dismissed, and the
  // page's question whether to leave, should it ask, is answered yes.
  void leave();
  // A dialog shown is closed as dismissed (Stop, and the page's process ending).
  void close();

  // The page asks: put to the user, or answered at once as dismissed. Always taken care of.
  void ask(WebKitScriptDialog* dialog);
  // The user answered the dialog put to them.
  void answer(const PageAnswer& answer);
  // A new load committed: a new page, whose dialogs are counted afresh and shown again.
  void load_committed();

 private:
  void end_pending();

  WebKitWebView* view_;
  std::function<void(const PageQuestion&)> ask_user_;
  std::function<void()> withdraw_;
  WebKitScriptDialog* pending_ = nullptr;  // the page waits for its answer
  unsigned count_ = 0;                     // dialogs of this load shown
  bool blocked_ = false, leaving_ = false;
};

}  // namespace vel
