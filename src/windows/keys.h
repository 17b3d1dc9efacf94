// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/eventcontroller.h>
#include <gtkmm/widget.h>

#include <span>

namespace vel::keys {

// A key and the action it activates ("win." the window's, "app." the program's, "window." GTK's
// own for a window).
struct Key {
  const char* trigger;
  const char* action;
};

// Every key of the program's windows is in one of these tables.

// The browser window's, ahead of the page and the address box, which would otherwise take them.
inline constexpr Key kBrowserWindow[] = {
    {"<Alt>Left", "win.back"},
    {"<Alt>Right", "win.forward"},
    // While a page's question has the focus, Escape cancels it; while the find bar has it, Escape
    // closes the bar (each action is enabled only then).
    {"Escape", "win.dialog-cancel"},
    {"Escape", "win.find-close"},
    // Elsewhere it stops the load, or puts back the shown page's address in the address box.
    {"Escape", "win.escape"},
    {"F5", "win.reload"},
    {"<Control>r", "win.reload"},
    {"<Alt>Home", "win.home"},
    {"<Control>l", "win.focus-address"},
    {"F7", "win.caret-browsing"},
    {"<Control>o", "win.open"},
    {"<Control>w", "win.close"},
    {"<Control>q", "app.quit"},
    {"<Control>p", "win.print"},
    {"<Control><Shift>y", "win.downloads"},
    {"<Control>f", "win.find"},
    {"F3", "win.find-next"},
    {"<Shift>F3", "win.find-previous"},
    {"<Control>plus", "win.zoom-in"},
    {"<Control>equal", "win.zoom-in"},
    {"<Control>KP_Add", "win.zoom-in"},
    {"<Control>minus", "win.zoom-out"},
    {"<Control>KP_Subtract", "win.zoom-out"},
    {"<Control>0", "win.zoom-reset"},
    {"<Control>KP_0", "win.zoom-reset"},
};

// The find bar's, ahead of its entry, which has no use for them (Enter there finds the next).
inline constexpr Key kFindBar[] = {
    {"<Shift>Return", "win.find-previous"},
    {"<Shift>KP_Enter", "win.find-previous"},
};

// The clock and About windows': Ctrl+W is their close box, Ctrl+Q ends the program as it does
// from the browser window.
inline constexpr Key kSmallWindows[] = {
    {"<Control>w", "window.close"},
    {"<Control>q", "app.quit"},
};

// Binds the keys of a table on a widget, for it and what it holds.
void bind(Gtk::Widget& widget, std::span<const Key> table,
          Gtk::PropagationPhase phase = Gtk::PropagationPhase::BUBBLE);

}  // namespace vel::keys
