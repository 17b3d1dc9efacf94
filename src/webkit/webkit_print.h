// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <webkit/webkit.h>

namespace vel {

// Shows the print dialog for the view's page over `parent`; returns when the dialog has closed.
void run_print_dialog(WebKitWebView* view, GtkWindow* parent);

}  // namespace vel
