// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/page_questions.h"

#include <memory>
#include <utility>

namespace vel {
namespace {

// The answer of a dialog the user did not answer: false, null, and to leaving, yes when the user is
// going anyway, else no.
void answer_dismissed(WebKitScriptDialog* dialog, bool leave) {
  switch (webkit_script_dialog_get_dialog_type(dialog)) {
    case WEBKIT_SCRIPT_DIALOG_CONFIRM:
      webkit_script_dialog_confirm_set_confirmed(dialog, FALSE);
      break;
    case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
      webkit_script_dialog_confirm_set_confirmed(dialog, leave);
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

// The authentication that asks for a user name and password; the others (certificates, PINs) are
// left to the engine.
bool asks_for_password(WebKitAuthenticationRequest* request) {
  switch (webkit_authentication_request_get_scheme(request)) {
    case WEBKIT_AUTHENTICATION_SCHEME_DEFAULT:
    case WEBKIT_AUTHENTICATION_SCHEME_HTTP_BASIC:
    case WEBKIT_AUTHENTICATION_SCHEME_HTTP_DIGEST:
    case WEBKIT_AUTHENTICATION_SCHEME_HTML_FORM:
    case WEBKIT_AUTHENTICATION_SCHEME_NTLM:
    case WEBKIT_AUTHENTICATION_SCHEME_NEGOTIATE:
      return true;
    default:
      return false;
  }
}

// The site (or proxy) that asks, as "scheme://host:port".
std::string site_of(WebKitAuthenticationRequest* request) {
  std::unique_ptr<WebKitSecurityOrigin, decltype(&webkit_security_origin_unref)> origin(
      webkit_authentication_request_get_security_origin(request), webkit_security_origin_unref);
  if (origin && !webkit_authentication_request_is_for_proxy(request)) {
    std::unique_ptr<char, decltype(&g_free)> text(webkit_security_origin_to_string(origin.get()),
                                                  g_free);
    if (text) return text.get();
  }
  const char* host = webkit_authentication_request_get_host(request);
  return std::string(host ? host : "") + ":" +
         std::to_string(webkit_authentication_request_get_port(request));
}

}  // namespace

PageQuestions::PageQuestions(WebKitWebView* view, std::function<void(const PageQuestion&)> ask_user,
                             std::function<void()> withdraw)
    : view_(view), ask_user_(std::move(ask_user)), withdraw_(std::move(withdraw)) {}

PageQuestions::~PageQuestions() {
  take_back(Ending::Dismissed);
}

void PageQuestions::load_committed() {
  // Whatever still waits belongs to the page that is gone.
  take_back(Ending::Dismissed);
  count_ = 0;
  blocked_ = leaving_ = released_ = false;
  const char* uri = webkit_web_view_get_uri(view_);
  page_ = uri ? uri : "";
}

void PageQuestions::ask(WebKitScriptDialog* dialog) {
  const PageQuestion::Kind kind = kind_of(dialog);
  const bool leave_question = kind == PageQuestion::Kind::Leave;
  if (blocked_ || dialog_ || sign_in_ || (leave_question ? released_ : leaving_)) {
    // A blocked page's question whether to leave never holds the user.
    answer_dismissed(dialog, blocked_ || released_);
    return;
  }
  PageQuestion question;
  question.kind = kind;
  const char* uri = webkit_web_view_get_uri(view_);
  question.address = !page_.empty() ? page_ : uri ? uri : "";
  const char* message = webkit_script_dialog_get_message(dialog);
  question.message = message ? message : "";
  if (kind == PageQuestion::Kind::Prompt)
    if (const char* text = webkit_script_dialog_prompt_get_default_text(dialog)) {
      question.default_text = text;
    }
  question.offer_block = ++count_ > 2;
  dialog_ = webkit_script_dialog_ref(dialog);
  ask_user_(question);
}

bool PageQuestions::sign_in(WebKitAuthenticationRequest* request) {
  if (!asks_for_password(request)) return false;
  if (dialog_ || sign_in_) {
    // One question at a time: this request goes on without a name, to the site's own page.
    webkit_authentication_request_authenticate(request, nullptr);
    return true;
  }
  PageQuestion question;
  question.kind = PageQuestion::Kind::SignIn;
  // The realm is the site's own text, and not shown: it could pose as Vel's.
  question.address = site_of(request);
  if (WebKitCredential* proposed = webkit_authentication_request_get_proposed_credential(request)) {
    if (const char* user = webkit_credential_get_username(proposed)) question.default_text = user;
    webkit_credential_free(proposed);
  }
  question.retry = webkit_authentication_request_is_retry(request);
  if (question.retry && question.default_text.empty()) question.default_text = last_user_;
  sign_in_ = WEBKIT_AUTHENTICATION_REQUEST(g_object_ref(request));
  // The engine gives up on the request (the load was stopped or replaced): the question goes.
  g_signal_connect(request, "cancelled",
                   G_CALLBACK(+[](WebKitAuthenticationRequest*, gpointer self) {
                     auto* questions = static_cast<PageQuestions*>(self);
                     questions->withdraw_();
                     questions->end_pending();
                   }),
                   this);
  ask_user_(question);
  return true;
}

bool PageQuestions::answer(const PageAnswer& answer) {
  bool stayed = false;
  if (sign_in_) {
    // Cancel goes on without a name: the site shows its own page for that.
    WebKitCredential* credential =
        answer.ok ? webkit_credential_new(answer.text.c_str(), answer.password.c_str(),
                                          WEBKIT_CREDENTIAL_PERSISTENCE_FOR_SESSION)
                  : nullptr;
    webkit_authentication_request_authenticate(sign_in_, credential);
    last_user_ = answer.ok ? answer.text : "";
    if (credential) webkit_credential_free(credential);
  } else if (dialog_) {
    switch (webkit_script_dialog_get_dialog_type(dialog_)) {
      case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
        // Staying ends the command that would have left the page; leaving lets it go on.
        stayed = !answer.ok;
        leaving_ = released_ = answer.ok;
        [[fallthrough]];
      case WEBKIT_SCRIPT_DIALOG_CONFIRM:
        webkit_script_dialog_confirm_set_confirmed(dialog_, answer.ok);
        break;
      case WEBKIT_SCRIPT_DIALOG_PROMPT:
        if (answer.ok) webkit_script_dialog_prompt_set_text(dialog_, answer.text.c_str());
        break;
      case WEBKIT_SCRIPT_DIALOG_ALERT:
        break;
    }
    if (answer.block) blocked_ = true;
  } else {
    return false;
  }
  end_pending();
  return stayed;
}

void PageQuestions::leave() {
  leaving_ = true;
  take_back(Ending::Left);
}

void PageQuestions::close() {
  take_back(Ending::Dismissed);
}

void PageQuestions::take_back(Ending ending) {
  if (!dialog_ && !sign_in_) return;
  withdraw_();
  if (sign_in_) {
    g_signal_handlers_disconnect_by_data(sign_in_, this);  // it is withdrawn already
    webkit_authentication_request_cancel(sign_in_);
  } else {
    const bool leave = ending == Ending::Left;
    if (leave &&
        webkit_script_dialog_get_dialog_type(dialog_) == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM)
      released_ = true;
    answer_dismissed(dialog_, leave);
  }
  end_pending();
}

void PageQuestions::end_pending() {
  if (WebKitScriptDialog* dialog = std::exchange(dialog_, nullptr)) {
    webkit_script_dialog_close(dialog);
    webkit_script_dialog_unref(dialog);
  }
  if (WebKitAuthenticationRequest* request = std::exchange(sign_in_, nullptr)) {
    g_signal_handlers_disconnect_by_data(request, this);
    g_object_unref(request);
  }
}

}  // namespace vel
