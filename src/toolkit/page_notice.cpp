// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/page_notice.h"

#include "core/stand_in_pages.h"
#include "toolkit/accessible.h"

namespace vel {

PageNotice::PageNotice()
    : Gtk::Box(Gtk::Orientation::VERTICAL, 8),
      heading_(stand_in::not_responding().title),
      text_(stand_in::not_responding().text),
      buttons_(Gtk::Orientation::HORIZONTAL, 8),
      wait_("_Wait", true),
      stop_("_Stop", true) {
  accessible::set_role(*this, GTK_ACCESSIBLE_ROLE_ALERT);
  accessible::set_label(*this, heading_.get_text());
  set_name("page-notice");
  add_css_class("vel-page-notice");
  set_visible(false);
  heading_.add_css_class("vel-page-notice-heading");
  for (Gtk::Label* label : {&heading_, &text_, &address_}) {
    label->set_xalign(0);
    label->set_wrap(true);
  }
  address_.set_wrap_mode(Pango::WrapMode::CHAR);
  address_.set_selectable(false);
  wait_.set_name("page-notice-wait");
  stop_.set_name("page-notice-stop");
  accessible::set_label(wait_, "Wait for the page");
  accessible::set_label(stop_, "Stop the page");
  wait_.signal_clicked().connect([this] { wait_chosen_.emit(); });
  stop_.signal_clicked().connect([this] { stop_chosen_.emit(); });
  buttons_.set_halign(Gtk::Align::START);
  buttons_.append(wait_);
  buttons_.append(stop_);
  append(heading_);
  append(text_);
  append(address_);
  append(buttons_);
}

void PageNotice::show_for(const std::string& address) {
  address_.set_text("Address: " + address);
  accessible::set_description(*this, address_.get_text());
  set_visible(true);
  wait_.grab_focus();
}

void PageNotice::dismiss(Gtk::Widget* next) {
  if (!get_visible()) return;
  const bool had_focus = get_focus_child() != nullptr;
  set_visible(false);
  if (had_focus && next) next->grab_focus();
}

}  // namespace vel
