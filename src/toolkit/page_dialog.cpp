// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/page_dialog.h"

#include <gtkmm/adjustment.h>
#include <gtkmm/eventcontrollerfocus.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/root.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "toolkit/accessible.h"

namespace vel {
namespace {

// The card's width; its height follows its text, up to the page's rectangle, inside which a long
// message scrolls.
constexpr int kCardWidth = 440;
constexpr int kCardMargin = 16;
// A message of a few short lines is shown whole; a longer one scrolls, in a place of this height,
// with which the card fits the page whatever else it holds.
constexpr Glib::ustring::size_type kShortChars = 300, kShortLines = 5;
constexpr int kLongHeight = 120;
// A hostile page's message of megabytes would stall the drawing of the window: the dialog shows
// the first of it.
constexpr Glib::ustring::size_type kMostChars = 10000;

bool is_short(const Glib::ustring& text) {
  return text.size() <= kShortChars &&
         std::count(text.raw().begin(), text.raw().end(), '\n') <= int(kShortLines);
}

Glib::ustring shortened(const std::string& text) {
  Glib::ustring shown(text);
  if (shown.size() > kMostChars) shown = shown.substr(0, kMostChars) + "…";
  return shown;
}

// A button's label with its mnemonic, and its name for a reader: the same words, once, without the
// mark (the toolkit would name the button by its raw label and its label widget both).
void name_button(Gtk::Button& button, const std::string& label) {
  button.set_label(label);
  gtk_accessible_reset_relation(GTK_ACCESSIBLE(button.gobj()), GTK_ACCESSIBLE_RELATION_LABELLED_BY);
  std::string words = label;
  std::erase(words, '_');
  accessible::set_label(button, words);
}

}  // namespace

PageDialog::PageDialog(Gtk::Widget& page)
    : Gtk::Box(Gtk::Orientation::VERTICAL),
      page_(page),
      card_(Gtk::Orientation::VERTICAL, 10),
      buttons_(Gtk::Orientation::HORIZONTAL, 8),
      block_("_Block further dialogs from this page", true) {
  set_name("page-dialog");
  add_css_class("vel-page-dialog-veil");
  set_visible(false);
  accessible::set_role(card_, GTK_ACCESSIBLE_ROLE_ALERT_DIALOG);
  card_.add_css_class("vel-page-dialog");
  // Across the middle of the page, at its own width, however long the lines of its text.
  card_.set_halign(Gtk::Align::FILL);
  card_.set_valign(Gtk::Align::START);
  card_.set_margin_top(kCardMargin);
  card_.set_margin_bottom(kCardMargin);

  heading_.add_css_class("vel-page-dialog-heading");
  for (Gtk::Label* label : {&heading_, &from_, &message_, &long_message_}) {
    label->set_xalign(0);
    label->set_wrap(true);
    label->set_wrap_mode(Pango::WrapMode::WORD_CHAR);
  }
  // An address of any length takes two lines at most.
  from_.set_lines(2);
  from_.set_ellipsize(Pango::EllipsizeMode::END);
  // The page's words are plain text, selectable, never markup.
  for (Gtk::Label* label : {&message_, &long_message_}) {
    label->set_use_markup(false);
    label->set_selectable(true);
    label->set_focusable(false);
  }
  long_message_.set_yalign(0);
  scroller_.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
  scroller_.set_min_content_height(kLongHeight);
  scroller_.set_child(long_message_);

  password_.set_visibility(false);
  password_.set_input_purpose(Gtk::InputPurpose::PASSWORD);
  password_.set_placeholder_text("Password");
  accessible::set_label(password_, "Password");
  for (Gtk::Entry* entry : {&entry_, &password_})
    entry->signal_activate().connect([this] { answer(true); });
  for (Gtk::Button* button : {&cancel_, &ok_}) button->set_use_underline(true);
  cancel_.signal_clicked().connect([this] { answer(false); });
  ok_.signal_clicked().connect([this] { answer(true); });
  buttons_.set_halign(Gtk::Align::END);
  buttons_.append(cancel_);
  buttons_.append(ok_);
  for (Gtk::Widget* widget : std::initializer_list<Gtk::Widget*>{
           &heading_, &from_, &message_, &scroller_, &entry_, &password_, &block_, &buttons_})
    card_.append(*widget);
  append(card_);

  auto keys = Gtk::EventControllerKey::create();
  keys->signal_key_pressed().connect(
      [this](guint key, guint, Gdk::ModifierType) { return on_key(key); }, false);
  card_.add_controller(keys);
  auto focus = Gtk::EventControllerFocus::create();
  focus->signal_enter().connect([this] { focus_changed_.emit(focus_within_ = true); });
  focus->signal_leave().connect([this] { focus_changed_.emit(focus_within_ = false); });
  card_.add_controller(focus);
}

void PageDialog::ask(const PageQuestion& question, std::function<void(const PageAnswer&)> done) {
  using Kind = PageQuestion::Kind;
  done_ = std::move(done);
  const bool sign_in = question.kind == Kind::SignIn;
  heading_.set_text(sign_in                        ? "Sign in"
                    : question.kind == Kind::Leave ? "Leave this page?"
                                                   : "Message from the page");
  from_.set_text(sign_in ? "The site at " + question.address + " asks for a user name and password."
                         : "The page at " + question.address + " says:");
  Glib::ustring text;
  if (question.kind == Kind::Leave)
    text = "This page asks whether you want to leave it. What you entered may be lost.";
  else if (sign_in)
    text = question.retry ? "The user name or password was not accepted. Try again." : "";
  else
    text = shortened(question.message);
  // Both hold the text; one shows it.
  message_.set_text(text);
  long_message_.set_text(text);
  message_.set_visible(!text.empty() && is_short(text));
  scroller_.set_visible(!text.empty() && !is_short(text));
  scroller_.get_vadjustment()->set_value(0);

  entry_.set_text(question.default_text);
  entry_.set_visible(question.kind == Kind::Prompt || sign_in);
  entry_.set_placeholder_text(sign_in ? "User name" : "");
  accessible::set_label(entry_, sign_in ? "User name" : "Answer to the page");
  password_.set_text("");
  password_.set_visible(sign_in);
  block_.set_active(false);
  block_.set_visible(question.offer_block);
  name_button(cancel_, question.kind == Kind::Leave ? "_Stay" : "_Cancel");
  cancel_.set_visible(question.kind != Kind::Alert);
  name_button(ok_, question.kind == Kind::Leave ? "_Leave" : sign_in ? "_Sign in" : "_OK");
  accessible::set_label(card_, heading_.get_text());
  accessible::set_description(card_, from_.get_text() + " " + text);

  int width = 0, height = 0;
  get_size_request(width, height);  // the page's, as the window laid it out
  const int side = std::max(0, (width - kCardWidth) / 2);
  card_.set_margin_start(side);
  card_.set_margin_end(side);
  set_visible(true);
  Gtk::Widget& first = question.kind == Kind::Prompt || (sign_in && question.default_text.empty())
                           ? static_cast<Gtk::Widget&>(entry_)
                       : sign_in ? static_cast<Gtk::Widget&>(password_)
                                 : ok_;
  first.grab_focus();
}

void PageDialog::withdraw() {
  done_ = nullptr;
  hide_card();
}

void PageDialog::answer(bool ok) {
  if (!done_) return;
  auto done = std::exchange(done_, nullptr);
  const PageAnswer given{ok, entry_.get_text(), password_.get_text(), block_.get_active()};
  hide_card();
  done(given);
}

void PageDialog::hide_card() {
  password_.set_text("");  // kept no longer than the question
  const bool had_focus = focus_within_;
  set_visible(false);
  if (had_focus) page_.grab_focus();
}

bool PageDialog::on_key(guint key) {
  switch (key) {
    case GDK_KEY_Tab:
    case GDK_KEY_KP_Tab:
    case GDK_KEY_ISO_Left_Tab:
      move_focus(key != GDK_KEY_ISO_Left_Tab);
      return true;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
      answer(true);
      return true;
    case GDK_KEY_Page_Up:
    case GDK_KEY_Page_Down: {
      auto adjustment = scroller_.get_vadjustment();
      const double step = adjustment->get_page_increment();
      adjustment->set_value(adjustment->get_value() + (key == GDK_KEY_Page_Up ? -step : step));
      return true;
    }
    default:
      return false;
  }
}

// Round the dialog's controls that are shown, from the one with the focus.
void PageDialog::move_focus(bool forward) {
  const std::array<Gtk::Widget*, 5> order{&entry_, &password_, &block_, &cancel_, &ok_};
  const Gtk::Widget* focus = get_root() ? get_root()->get_focus() : nullptr;
  std::size_t at = order.size() - 1;
  for (std::size_t i = 0; i < order.size(); ++i)
    if (focus && (focus == order[i] || focus->is_ancestor(*order[i]))) at = i;
  for (std::size_t step = 1; step <= order.size(); ++step) {
    const std::size_t next =
        forward ? (at + step) % order.size() : (at + order.size() - step) % order.size();
    if (order[next]->get_visible()) {
      order[next]->grab_focus();
      return;
    }
  }
}

}  // namespace vel
