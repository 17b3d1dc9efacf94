// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/web_context.h"

#include <unistd.h>
#include <webkit/webkit.h>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "config.h"
#include "core/builtin_addresses.h"
#include "core/site_data.h"
#include "core/spelling.h"
#include "webkit/builtin_pages.h"

namespace vel {
namespace {

std::pair<std::string, std::string> site_data_problem;

WebKitWebContext* shared_context = nullptr;  // the program's, once set up

}  // namespace

void check_spelling_soon() {
  static bool asked = false;
  if (!shared_context || std::exchange(asked, true)) return;
  // After the event that asked has been handled.
  g_idle_add_full(
      G_PRIORITY_LOW,
      +[](gpointer) -> gboolean {
        std::vector<std::string> names;
        for (const char* const* name = g_get_language_names(); *name; ++name)
          names.push_back(*name);
        const std::vector<std::string> languages =
            spelling_languages(names, [](const std::string& code) {
              std::error_code error;
              return std::filesystem::exists("/usr/share/hunspell/" + code + ".dic", error);
            });
        if (languages.empty()) return G_SOURCE_REMOVE;
        std::vector<const char*> list;
        list.reserve(languages.size() + 1);
        for (const std::string& language : languages) list.push_back(language.c_str());
        list.push_back(nullptr);
        webkit_web_context_set_spell_checking_languages(shared_context, list.data());
        webkit_web_context_set_spell_checking_enabled(shared_context, TRUE);
        return G_SOURCE_REMOVE;
      },
      nullptr, nullptr);
}

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
  WebKitWebContext*& context = shared_context;
  if (context) return context;
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

WebKitNetworkSession* set_up_network_session(bool private_run) {
  static WebKitNetworkSession* session = nullptr;
  if (session) return session;
  if (!private_run) {
    const SiteDataFolders folders =
        site_data_folders(g_get_user_data_dir(), g_get_user_cache_dir(), config::kAppId);
    SiteDataCheck check = prepare_site_data(folders);
    if (check.keep) {
      session = webkit_network_session_new(folders.data.c_str(), folders.cache.c_str());
      const std::string cookies = (folders.data / kCookieFile).string();
      webkit_cookie_manager_set_persistent_storage(
          webkit_network_session_get_cookie_manager(session), cookies.c_str(),
          WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
    }
    site_data_problem = {std::move(check.problem), std::move(check.detail)};
  }
  if (!session) session = webkit_network_session_new_ephemeral();
  // Certificate errors fail closed: nothing is bypassed and no exception is remembered.
  webkit_network_session_set_tls_errors_policy(session, WEBKIT_TLS_ERRORS_POLICY_FAIL);
  return session;
}

std::pair<std::string, std::string> take_site_data_problem() {
  return std::exchange(site_data_problem, {});
}

}  // namespace vel
