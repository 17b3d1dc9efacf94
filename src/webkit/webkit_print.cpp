// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/webkit_print.h"

namespace vel {

void run_print_dialog(WebKitWebView* view, GtkWindow* parent) {
  // The engine destroys its print dialog once it has answered; a dialog that Escape or its close
  // box had destroyed already would be destroyed twice. Closed, it only hides.
  GListModel* windows = gtk_window_get_toplevels();
  const gulong watch = g_signal_connect(
      windows, "items-changed",
      G_CALLBACK(+[](GListModel* list, guint position, guint, guint added, gpointer) {
        for (guint i = position; i < position + added; ++i) {
          GObject* window = G_OBJECT(g_list_model_get_item(list, i));
          if (GTK_IS_DIALOG(window)) gtk_window_set_hide_on_close(GTK_WINDOW(window), TRUE);
          g_object_unref(window);
        }
      }),
      nullptr);
  WebKitPrintOperation* operation = webkit_print_operation_new(view);
  webkit_print_operation_run_dialog(operation, parent);
  g_object_unref(operation);  // a print that goes on holds its own reference
  g_signal_handler_disconnect(windows, watch);
}

}  // namespace vel
