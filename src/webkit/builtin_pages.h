// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <webkit/webkit.h>

namespace vel {

// Answers a request for a "vel:" page with the program's own page of that name, from its
// resources (so the pages work offline), or with an error when there is none.
void serve_builtin_page(WebKitURISchemeRequest* request, gpointer);

}  // namespace vel
