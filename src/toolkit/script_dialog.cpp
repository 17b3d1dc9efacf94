// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/script_dialog.h"

#include <gtkmm/eventcontrollerkey.h>

#include <utility>

#include "config.h"
#include "toolkit/accessible.h"

namespace vel {

ScriptDialog::ScriptDialog(Gtk::Window* parent, const PageQuestion& question,
                           std::function<void(PageAnswer)> done)
    : box_(Gtk::Orientation::VERTICAL, 12),
      buttons_(Gtk::Orientation::HORIZONTAL, 8),
      block_("_Block further dialogs from this page", true),
      cancel_(question.kind == PageQuestion::Kind::Leave ? "_Stay" : "_Cancel", true),
      ok_(question.kind == PageQuestion::Kind::Leave ? "_Leave" : "_OK", true),
      done_(std::move(done)) {
  set_title("Message from the page");
  accessible::set_role(*this, GTK_ACCESSIBLE_ROLE_ALERT_DIALOG);
  set_icon_name(config::kAppId);
  set_modal(true);
  set_resizable(false);
  set_hide_on_close(true);
  if (parent) set_transient_for(*parent);
  set_default_size(420, -1);

  from_.set_text("The page at " + question.address + " says:");
  message_.set_text(
      question.kind == PageQuestion::Kind::Leave
          ? "This page asks whether you want to leave it. What you entered may be lost."
          : question.message);
  for (Gtk::Label* label : {&from_, &message_}) {
    label->set_xalign(0);
    label->set_wrap(true);
    label->set_wrap_mode(Pango::WrapMode::WORD_CHAR);
    label->set_max_width_chars(60);
  }
  // A page's message may be long; it is selectable text, never markup.
  message_.set_selectable(true);
  message_.set_focusable(false);
  entry_.set_text(question.default_text);
  entry_.set_activates_default(true);
  entry_.set_visible(question.kind == PageQuestion::Kind::Prompt);
  accessible::set_label(entry_, "Answer to the page");
  block_.set_visible(question.offer_block);
  cancel_.set_visible(question.kind != PageQuestion::Kind::Alert);
  cancel_.signal_clicked().connect([this] { answer(false); });
  ok_.signal_clicked().connect([this] { answer(true); });
  buttons_.set_halign(Gtk::Align::END);
  buttons_.append(cancel_);
  buttons_.append(ok_);

  box_.set_margin(18);
  for (Gtk::Widget* widget :
       std::initializer_list<Gtk::Widget*>{&from_, &message_, &entry_, &block_, &buttons_})
    box_.append(*widget);
  set_child(box_);
  set_default_widget(ok_);
  (question.kind == PageQuestion::Kind::Prompt ? static_cast<Gtk::Widget&>(entry_) : ok_)
      .grab_focus();

  // The close box and Escape answer as Cancel does.
  signal_close_request().connect(
      [this] {
        answer(false);
        return false;
      },
      false);
  auto keys = Gtk::EventControllerKey::create();
  keys->signal_key_pressed().connect(
      [this](guint key, guint, Gdk::ModifierType) {
        if (key != GDK_KEY_Escape) return false;
        answer(false);
        return true;
      },
      false);
  add_controller(keys);
  present();
}

void ScriptDialog::answer(bool ok) {
  if (!done_) return;
  auto done = std::exchange(done_, nullptr);
  set_visible(false);
  done(PageAnswer{ok, entry_.get_text(), block_.get_active()});
}

void ScriptDialog::withdraw() {
  done_ = nullptr;
  set_visible(false);
}

}  // namespace vel
