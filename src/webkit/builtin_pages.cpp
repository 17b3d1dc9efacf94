// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/builtin_pages.h"

#include <string>

#include "config.h"

namespace vel {

// "vel:NAME" is the resource pages/NAME.html; a name is lower-case letters and dashes only, so no
// address reaches another resource.
void serve_builtin_page(WebKitURISchemeRequest* request, gpointer) {
  std::string name = webkit_uri_scheme_request_get_path(request);
  while (!name.empty() && name.front() == '/') name.erase(0, 1);
  const bool safe =
      !name.empty() && name.find_first_not_of("abcdefghijklmnopqrstuvwxyz-") == std::string::npos;
  const std::string path = std::string(config::kResourcePrefix) + "/pages/" + name + ".html";
  GBytes* bytes =
      safe ? g_resources_lookup_data(path.c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr) : nullptr;
  if (!bytes) {
    GError* error = g_error_new(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "There is no page “%s”.",
                                webkit_uri_scheme_request_get_uri(request));
    webkit_uri_scheme_request_finish_error(request, error);
    g_error_free(error);
    return;
  }
  GInputStream* stream = g_memory_input_stream_new_from_bytes(bytes);
  webkit_uri_scheme_request_finish(request, stream, static_cast<gint64>(g_bytes_get_size(bytes)),
                                   "text/html");
  g_object_unref(stream);
  g_bytes_unref(bytes);
}

}  // namespace vel
