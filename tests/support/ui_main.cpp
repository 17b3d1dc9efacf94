// SPDX-License-Identifier: GPL-3.0-or-later
// The main of every window test: GTK on the test's own X screen, then GoogleTest.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <gtkmm/init.h>

#include "toolkit/graphics.h"
#include "toolkit/style.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The windows under test, and the engine's page processes, draw as the program's do on this
  // machine.
  vel::ToolkitGraphicsChoice graphics;
  gtk_init();
  Gtk::init_gtkmm_internals();
  vel::ensure_style();
  return RUN_ALL_TESTS();
}
