// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/keys.h"

#include <gtkmm/shortcutcontroller.h>

namespace vel::keys {

void bind(Gtk::Widget& widget, std::span<const Key> table, Gtk::PropagationPhase phase) {
  auto controller = Gtk::ShortcutController::create();
  controller->set_propagation_phase(phase);
  controller->set_scope(Gtk::ShortcutScope::LOCAL);
  for (const Key& key : table)
    controller->add_shortcut(Gtk::Shortcut::create(Gtk::ShortcutTrigger::parse_string(key.trigger),
                                                   Gtk::NamedAction::create(key.action)));
  widget.add_controller(controller);
}

}  // namespace vel::keys
