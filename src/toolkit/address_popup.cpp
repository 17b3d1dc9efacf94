// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/address_popup.h"

#include <gtk/gtk.h>
#include <gtkmm/label.h>
#include <gtkmm/scrollbar.h>
#include <gtkmm/scrolledwindow.h>

#include "toolkit/accessible.h"

namespace vel {
namespace {

constexpr int kMaxListHeightPx = 300;

Gtk::ToggleButton* find_arrow(Gtk::Widget& widget) {
  if (auto* button = dynamic_cast<Gtk::ToggleButton*>(&widget)) return button;
  for (auto* child = widget.get_first_child(); child; child = child->get_next_sibling())
    if (auto* button = find_arrow(*child)) return button;
  return nullptr;
}

}  // namespace

AddressPopup::AddressPopup(Gtk::ComboBoxText& box) : box_(box) {
  arrow_ = find_arrow(box_);
  if (arrow_) {
    accessible::set_label(*arrow_, "Show addresses");
    // The arrow drawn inside has nothing to add to the button's name.
    if (auto* inside = arrow_->get_first_child()) accessible::hide(*inside);
  }
  // The box's arrow and keys ask for the pop-up through this signal: show ours instead.
  popup_handler_ = g_signal_connect(box_.gobj(), "popup", G_CALLBACK(+[](GtkWidget* w, gpointer p) {
                                      g_signal_stop_emission_by_name(w, "popup");
                                      static_cast<AddressPopup*>(p)->popup();
                                    }),
                                    this);

  auto* scroller = Gtk::make_managed<Gtk::ScrolledWindow>();
  scroller->set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
  scroller->set_propagate_natural_width(true);
  scroller->set_propagate_natural_height(true);
  scroller->set_max_content_height(kMaxListHeightPx);
  scroller->set_child(rows_);
  rows_.set_selection_mode(Gtk::SelectionMode::BROWSE);
  accessible::set_label(rows_, "Addresses");
  rows_.signal_row_activated().connect([this](Gtk::ListBoxRow* row) {
    popover_.popdown();
    box_.set_active(row->get_index());
  });
  popover_.add_css_class("menu");
  popover_.set_has_arrow(false);
  popover_.set_position(Gtk::PositionType::BOTTOM);
  popover_.set_child(*scroller);
  popover_.set_parent(box_);
  // The list and its scroll bar are the pop-up's only parts a reader needs named.
  accessible::set_label(popover_, "Address list");
  if (auto* content = popover_.get_first_child()) accessible::set_label(*content, "Address list");
  // The list never scrolls sideways, so that bar is nothing to a reader. Not marked hidden:
  // GTK 4.18 sets the scroll bars' hidden state itself as it lays them out.
  accessible::set_role(*scroller->get_hscrollbar(), GTK_ACCESSIBLE_ROLE_PRESENTATION);
  if (auto* range = scroller->get_hscrollbar()->get_first_child()) accessible::hide(*range);
  accessible::set_label(*scroller->get_vscrollbar(), "Scroll the address list");
  if (auto* range = scroller->get_vscrollbar()->get_first_child()) accessible::hide(*range);
  popover_.signal_closed().connect([this] {
    if (arrow_) arrow_->set_active(false);
  });
}

AddressPopup::~AddressPopup() {
  g_signal_handler_disconnect(box_.gobj(), popup_handler_);
  popover_.unparent();
}

void AddressPopup::popup() {
  fill();
  // Never wider than the box: a long address is cut in the middle instead.
  auto* scroller = popover_.get_child();
  scroller->set_size_request(box_.get_width(), -1);
  static_cast<Gtk::ScrolledWindow*>(scroller)->set_max_content_width(box_.get_width());
  popover_.popup();
  if (auto* first = rows_.get_row_at_index(0)) first->grab_focus();
}

void AddressPopup::fill() {
  while (auto* row = rows_.get_row_at_index(0)) rows_.remove(*row);
  int index = 0;
  for (const auto& entry : box_.get_model()->children()) {
    Glib::ustring text;
    entry.get_value(0, text);
    auto* label = Gtk::make_managed<Gtk::Label>(text);
    label->set_xalign(0.0f);
    label->set_ellipsize(Pango::EllipsizeMode::MIDDLE);
    label->set_single_line_mode(true);
    // Asks for little width, so the row's width is the box's and the text is cut to fit it.
    label->set_max_width_chars(1);
    label->set_hexpand(true);
    // The row says the whole address; the label inside would only say it again.
    accessible::hide(*label);
    rows_.append(*label);
    accessible::set_label(*rows_.get_row_at_index(index++), text);
  }
}

}  // namespace vel
