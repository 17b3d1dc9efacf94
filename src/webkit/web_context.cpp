// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/web_context.h"

#include <unistd.h>
#include <webkit/webkit.h>

#include <algorithm>

#include "core/builtin_addresses.h"
#include "webkit/builtin_pages.h"

namespace vel {

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

}  // namespace vel
