// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/comboboxtext.h>
#include <gtkmm/listbox.h>
#include <gtkmm/popover.h>
#include <gtkmm/togglebutton.h>

namespace vel {

// The list of a text combo box with an entry, shown in place of the box's own pop-up: its rows
// carry their text as accessible name, so a screen reader can read and choose them, and the
// pop-up keeps to the box's width, cutting long texts in the middle. Choosing a row makes it the
// box's active entry, as choosing from the box's own list does.
class AddressPopup {
 public:
  explicit AddressPopup(Gtk::ComboBoxText& box);
  ~AddressPopup();
  AddressPopup(const AddressPopup&) = delete;
  AddressPopup& operator=(const AddressPopup&) = delete;

  // Opens the list, as the box's arrow and Alt+Down do.
  void popup();
  Gtk::Popover& popover() { return popover_; }
  Gtk::ListBox& rows() { return rows_; }

 private:
  void fill();

  Gtk::ComboBoxText& box_;
  Gtk::Popover popover_;
  Gtk::ListBox rows_;
  Gtk::ToggleButton* arrow_ = nullptr;
  gulong popup_handler_ = 0;
};

}  // namespace vel
