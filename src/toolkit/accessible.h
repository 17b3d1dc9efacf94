// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtk/gtk.h>
#include <gtkmm/widget.h>

#include <string>

namespace vel::accessible {

// What a screen reader says for a widget: its name, then its description.
inline void set_label(Gtk::Widget& widget, const std::string& text) {
  gtk_accessible_update_property(GTK_ACCESSIBLE(widget.gobj()), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                 text.c_str(), -1);
}
inline void set_description(Gtk::Widget& widget, const std::string& text) {
  gtk_accessible_update_property(GTK_ACCESSIBLE(widget.gobj()), GTK_ACCESSIBLE_PROPERTY_DESCRIPTION,
                                 text.c_str(), -1);
}
// Drawing that says nothing a reader needs, or says it through another widget.
inline void hide(Gtk::Widget& widget) {
  gtk_accessible_update_state(GTK_ACCESSIBLE(widget.gobj()), GTK_ACCESSIBLE_STATE_HIDDEN, TRUE, -1);
}
// A widget's role can only be chosen before it is first shown. A container that only places its
// children is generic: the reader passes through it without a word.
inline void set_role(Gtk::Widget& widget, GtkAccessibleRole role) {
  g_object_set(widget.gobj(), "accessible-role", role, nullptr);
}

}  // namespace vel::accessible
