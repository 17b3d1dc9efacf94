// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/load_failures.h"

#include <webkit/webkit.h>

#include "core/address.h"

namespace vel {

Failure untrusted_certificate() {
  return {"This connection is not private",
          "The site's certificate is not trusted, so Vel did not open the page. Someone may be "
          "pretending to be the site.",
          true};
}

Failure secure_connection_failed() {
  return {"A secure connection could not be made",
          "The site did not complete a secure (https) connection: it may not offer one, or its "
          "certificate may not be trusted. Vel did not open the page.",
          true};
}

Failure host_not_found() {
  return {"The site could not be found",
          "No server is known by this name. Check the address for typing errors, then Refresh."};
}

Failure no_handler(std::string_view uri) {
  return {"No application opens this address",
          "Vel does not show \"" + uri_scheme(uri) +
              ":\" addresses, and no application on this system opens them."};
}

Failure blocked_port() {
  return {"This port is blocked",
          "The address uses a port kept for other services than the web, so Vel does not open "
          "it. Check the port in the address."};
}

namespace {

bool never_resolves(std::string_view host) {
  constexpr std::string_view kInvalid = ".invalid";
  return host == kInvalid.substr(1) ||
         (host.size() > kInvalid.size() && host.substr(host.size() - kInvalid.size()) == kInvalid);
}

struct NavigationChecks {
  std::function<void(const std::string&)> open_elsewhere;
  std::function<void(const Failure&, const std::string&)> refuse;
};

gboolean check_navigation(WebKitWebView*, WebKitPolicyDecision* decision,
                          WebKitPolicyDecisionType type, NavigationChecks* checks) {
  if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return FALSE;
  WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
      WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  WebKitURIRequest* request = webkit_navigation_action_get_request(action);
  const std::string uri = request ? webkit_uri_request_get_uri(request) : "";
  if (!shown_in_view(uri_scheme(uri))) {
    const bool clicked = webkit_navigation_action_is_user_gesture(action);
    webkit_policy_decision_ignore(decision);
    if (clicked) checks->open_elsewhere(uri);
    return TRUE;
  }
  if (webkit_navigation_action_get_frame_name(action)) return FALSE;
  std::optional<Failure> refused;
  if (never_resolves(uri_host(uri))) refused = host_not_found();
  // The engine refuses these ports too, but ends such a load without a word.
  else if ((uri_scheme(uri) == "http" || uri_scheme(uri) == "https") &&
           is_blocked_port(uri_port(uri)))
    refused = blocked_port();
  if (refused) {
    webkit_policy_decision_ignore(decision);
    checks->refuse(*refused, uri);
    return TRUE;
  }
  return FALSE;
}

using ShowFailure = std::function<void(const Failure&, const std::string&)>;

gboolean on_failed(WebKitWebView*, WebKitLoadEvent, char* uri, GError* error, ShowFailure* show) {
  const auto failure = describe_failure(error, uri ? uri : "");
  if (!failure) return FALSE;
  (*show)(*failure, uri ? uri : "");
  return TRUE;
}

// A certificate that is not trusted ends the load; say so instead of showing an empty view.
gboolean on_tls_failed(WebKitWebView*, char* uri, GTlsCertificate*, GTlsCertificateFlags,
                       ShowFailure* show) {
  (*show)(untrusted_certificate(), uri ? uri : "");
  return TRUE;
}

template <typename T>
void connect_owning(WebKitWebView* view, const char* signal, GCallback callback, T* data) {
  g_signal_connect_data(
      view, signal, callback, data, +[](gpointer p, GClosure*) { delete static_cast<T*>(p); },
      GConnectFlags(0));
}

}  // namespace

void watch_failures(WebKitWebView* view, ShowFailure show) {
  connect_owning(view, "load-failed-with-tls-errors", G_CALLBACK(on_tls_failed),
                 new ShowFailure(show));
  connect_owning(view, "load-failed", G_CALLBACK(on_failed), new ShowFailure(std::move(show)));
}

void stop_watching(WebKitWebView* view) {
  for (auto callback :
       {G_CALLBACK(on_tls_failed), G_CALLBACK(on_failed), G_CALLBACK(check_navigation)})
    g_signal_handlers_disconnect_matched(view, G_SIGNAL_MATCH_FUNC, 0, 0, nullptr,
                                         reinterpret_cast<gpointer>(callback), nullptr);
}

void check_navigations(WebKitWebView* view, std::function<void(const std::string&)> open_elsewhere,
                       std::function<void(const Failure&, const std::string&)> refuse) {
  connect_owning(view, "decide-policy", G_CALLBACK(check_navigation),
                 new NavigationChecks{std::move(open_elsewhere), std::move(refuse)});
}

std::optional<Failure> describe_failure(const GError* error, std::string_view uri) {
  // Stop, a new address, and a response turned into a download end the load on purpose.
  if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
      g_error_matches(error, WEBKIT_POLICY_ERROR,
                      WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE))
    return std::nullopt;
  const std::string scheme = uri_scheme(uri);
  // The network layer ends a handshake it gave up on (a refused certificate now and then, a
  // server that does not speak TLS after its time-out) by cancelling its own request; a user's
  // Stop is the engine's own cancellation above.
  if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED) && scheme == "https")
    return secure_connection_failed();
  if (error->domain == G_TLS_ERROR) return secure_connection_failed();
  if (error->domain == G_RESOLVER_ERROR ||
      g_error_matches(error, G_IO_ERROR, G_IO_ERROR_HOST_NOT_FOUND))
    return host_not_found();
  if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CONNECTION_REFUSED))
    return Failure{"The site refused the connection",
                   "Nothing at this address accepted the connection. The site may be down or the "
                   "port wrong: check the address, then Refresh to try again."};
  if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT))
    return Failure{"The site took too long to answer",
                   "The site did not answer in time. It may be busy: Refresh to try again."};
  if (g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_CANNOT_USE_RESTRICTED_PORT))
    return blocked_port();
  if (scheme == "file")
    return Failure{"The file could not be opened",
                   "Vel could not read this file. Check that it exists and that you may read it."};
  if (error->domain == WEBKIT_POLICY_ERROR || error->domain == WEBKIT_NETWORK_ERROR ||
      !shown_in_view(scheme))
    return Failure{"Vel cannot show this address",
                   "This address is not a page Vel can show. Check the address."};
  return Failure{"The connection was closed",
                 "The site closed the connection before the page arrived. Refresh to try again."};
}

}  // namespace vel
