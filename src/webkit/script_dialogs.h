// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <webkit/webkit.h>

#include <memory>

#include "toolkit/script_dialog.h"

namespace vel {

// The page's alert, confirm, prompt and "leave this page?" dialogs, in Vel's own window. From the
// third dialog of one load on, each offers to block the rest; a blocked page's dialogs are
// answered as dismissed until a new load commits. Leaving a page is never held up by a dialog.
class ScriptDialogs {
 public:
  explicit ScriptDialogs(WebKitWebView* view);
  ~ScriptDialogs();
  ScriptDialogs(const ScriptDialogs&) = delete;
  ScriptDialogs& operator=(const ScriptDialogs&) = delete;

  // The user gives a command that leaves the page: a dialog shown is closed as dismissed, and the
  // page's question whether to leave, should it ask, is answered yes.
  void leave();
  // A dialog shown is closed as dismissed (Stop, and the page's process ending).
  void close();

  // The page asks: shown, or answered at once as dismissed. Always taken care of.
  void ask(WebKitScriptDialog* dialog);
  // A new load committed: a new page, whose dialogs are counted afresh and shown again.
  void load_committed();

 private:
  void on_answer(const ScriptDialog::Answer& answer);
  void end_pending();

  WebKitWebView* view_;
  WebKitScriptDialog* pending_ = nullptr;  // the page waits for its answer
  std::unique_ptr<ScriptDialog> shown_;
  unsigned count_ = 0;  // dialogs of this load shown
  bool blocked_ = false, leaving_ = false;
};

}  // namespace vel
