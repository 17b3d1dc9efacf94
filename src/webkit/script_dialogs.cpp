// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/script_dialogs.h"

#include <utility>

namespace vel {
namespace {

// The answer of a dialog the user dismissed: false, null, and yes to leaving.
void answer_dismissed(WebKitScriptDialog* dialog) {
  switch (webkit_script_dialog_get_dialog_type(dialog)) {
    case WEBKIT_SCRIPT_DIALOG_CONFIRM:
      webkit_script_dialog_confirm_set_confirmed(dialog, FALSE);
      break;
    case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
      webkit_script_dialog_confirm_set_confirmed(dialog, TRUE);
      break;
    case WEBKIT_SCRIPT_DIALOG_ALERT:
    case WEBKIT_SCRIPT_DIALOG_PROMPT:  // no text set: the page gets null
      break;
  }
}

PageQuestion::Kind kind_of(WebKitScriptDialog* dialog) {
  switch (webkit_script_dialog_get_dialog_type(dialog)) {
    case WEBKIT_SCRIPT_DIALOG_CONFIRM:
      return PageQuestion::Kind::Confirm;
    case WEBKIT_SCRIPT_DIALOG_PROMPT:
      return PageQuestion::Kind::Prompt;
    case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
      return PageQuestion::Kind::Leave;
    case WEBKIT_SCRIPT_DIALOG_ALERT:
      break;
  }
  return PageQuestion::Kind::Alert;
}

}  // namespace

ScriptDialogs::ScriptDialogs(WebKitWebView* view, std::function<void(const PageQuestion&)> ask_user,
                             std::function<void()> withdraw)
    : view_(view), ask_user_(std::move(ask_user)), withdraw_(std::move(withdraw)) {}

ScriptDialogs::~ScriptDialogs() {
  close();
}

void ScriptDialogs::load_committed() {
  count_ = 0;
  blocked_ = leaving_ = false;
}

void ScriptDialogs::ask(WebKitScriptDialog* dialog) {
  const PageQuestion::Kind kind = kind_of(dialog);
  if (blocked_ || pending_ || (kind == PageQuestion::Kind::Leave && leaving_)) {
    answer_dismissed(dialog);
    return;
  }
  PageQuestion question;
  question.kind = kind;
  const char* uri = webkit_web_view_get_uri(view_);
  question.address = uri ? uri : "";
  const char* message = webkit_script_dialog_get_message(dialog);
  question.message = message ? message : "";
  if (kind == PageQuestion::Kind::Prompt)
    if (const char* text = webkit_script_dialog_prompt_get_default_text(dialog)) {
      question.default_text = text;
    }
  question.offer_block = ++count_ > 2;
  pending_ = webkit_script_dialog_ref(dialog);
  ask_user_(question);
}

void ScriptDialogs::answer(const PageAnswer& answer) {
  if (!pending_) return;
  switch (webkit_script_dialog_get_dialog_type(pending_)) {
    case WEBKIT_SCRIPT_DIALOG_CONFIRM:
    case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
      webkit_script_dialog_confirm_set_confirmed(pending_, answer.ok);
      break;
    case WEBKIT_SCRIPT_DIALOG_PROMPT:
      if (answer.ok) webkit_script_dialog_prompt_set_text(pending_, answer.text.c_str());
      break;
    case WEBKIT_SCRIPT_DIALOG_ALERT:
      break;
  }
  if (answer.block) blocked_ = true;
  end_pending();
}

void ScriptDialogs::leave() {
  leaving_ = true;
  close();
}

void ScriptDialogs::close() {
  if (!pending_) return;
  withdraw_();
  answer_dismissed(pending_);
  end_pending();
}

void ScriptDialogs::end_pending() {
  WebKitScriptDialog* dialog = std::exchange(pending_, nullptr);
  webkit_script_dialog_close(dialog);
  webkit_script_dialog_unref(dialog);
}

}  // namespace vel
