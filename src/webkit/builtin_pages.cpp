// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/builtin_pages.h"

#include <unistd.h>
#include <webkit/webkit.h>

#include <algorithm>

#include "config.h"
#include "core/builtin_addresses.h"
#include "core/html.h"

namespace vel {
namespace {

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

}  // namespace

unsigned page_memory_limit_mb() {
  constexpr unsigned long long kFloorMb = 1024, kCeilingMb = 4096;
  const long pages = sysconf(_SC_PHYS_PAGES), page_size = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || page_size <= 0) return kFloorMb;
  const unsigned long long quarter_mb = static_cast<unsigned long long>(pages) *
                                        static_cast<unsigned long long>(page_size) / 4 /
                                        (1024ULL * 1024ULL);
  return static_cast<unsigned>(std::clamp(quarter_mb, kFloorMb, kCeilingMb));
}

WebKitWebContext* set_up_web_context(const MemoryLimitSettings& memory) {
  static WebKitWebContext* context = nullptr;
  if (context) return context;
  // Certificate errors fail closed: nothing is bypassed and no exception is remembered.
  webkit_network_session_set_tls_errors_policy(webkit_network_session_get_default(),
                                               WEBKIT_TLS_ERRORS_POLICY_FAIL);
  // A page's process that grows past the limit is ended (the engine tells the user); below it,
  // WebKit's own thresholds (a third, a half) have it release memory as before. The limit is a
  // construct property of the context, so the program's views share a context of its own.
  WebKitMemoryPressureSettings* pressure = webkit_memory_pressure_settings_new();
  webkit_memory_pressure_settings_set_memory_limit(
      pressure, memory.limit_mb ? memory.limit_mb : page_memory_limit_mb());
  webkit_memory_pressure_settings_set_kill_threshold(pressure, 1.0);
  webkit_memory_pressure_settings_set_poll_interval(pressure, memory.poll_s);
  context = WEBKIT_WEB_CONTEXT(
      g_object_new(WEBKIT_TYPE_WEB_CONTEXT, "memory-pressure-settings", pressure, nullptr));
  webkit_memory_pressure_settings_free(pressure);
  webkit_web_context_register_uri_scheme(context, kBuiltinScheme, serve_builtin_page, nullptr,
                                         nullptr);
  WebKitSecurityManager* security = webkit_web_context_get_security_manager(context);
  webkit_security_manager_register_uri_scheme_as_local(security, kBuiltinScheme);
  webkit_security_manager_register_uri_scheme_as_secure(security, kBuiltinScheme);
  return context;
}

std::string message_page(std::string_view title, std::string_view text, std::string_view address,
                         std::string_view alternative) {
  std::string page = "<!DOCTYPE html><html><head><meta charset='utf-8'><title>" +
                     html_escape(title) +
                     "</title><style>body{font-family:sans-serif;margin:3em;color:#223}"
                     "h1{font-size:1.3em}code{word-break:break-all}</style></head><body><h1>" +
                     html_escape(title) + "</h1><p>" + html_escape(text) + "</p>";
  if (!address.empty()) page += "<p>Address: <code>" + html_escape(address) + "</code></p>";
  if (!alternative.empty())
    page += "<p>Open the page without a secure connection: <a href=\"" + html_escape(alternative) +
            "\">" + html_escape(alternative) + "</a></p>";
  return page + "</body></html>";
}

std::string offline_page() {
  const std::string path = std::string(config::kResourcePrefix) + "/pages/offline.html";
  if (GBytes* bytes =
          g_resources_lookup_data(path.c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr)) {
    gsize size = 0;
    const auto* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
    std::string page(data, size);
    g_bytes_unref(bytes);
    return page;
  }
  return message_page("Vel is working offline",
                      "This page is on the web. Click \"Work online\", then load it again.");
}

}  // namespace vel
