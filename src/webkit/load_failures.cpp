// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/load_failures.h"

#include "core/address.h"

namespace vel {
namespace {

bool never_resolves(std::string_view host) {
  constexpr std::string_view kInvalid = ".invalid";
  return host == kInvalid.substr(1) ||
         (host.size() > kInvalid.size() && host.substr(host.size() - kInvalid.size()) == kInvalid);
}

}  // namespace

bool check_navigation(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                      const NavigationCheck& check) {
  if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return false;
  WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
      WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  WebKitURIRequest* request = webkit_navigation_action_get_request(action);
  const std::string uri = request ? webkit_uri_request_get_uri(request) : "";
  if (!shown_in_view(uri_scheme(uri))) {
    const bool clicked = webkit_navigation_action_is_user_gesture(action);
    webkit_policy_decision_ignore(decision);
    if (clicked) check.open_elsewhere(uri);
    return true;
  }
  if (webkit_navigation_action_get_frame_name(action)) return false;
  std::optional<StandInPage> refused;
  if (never_resolves(uri_host(uri))) refused = stand_in::host_not_found();
  // The engine refuses these ports too, but ends such a load without a word.
  else if ((uri_scheme(uri) == "http" || uri_scheme(uri) == "https") &&
           is_blocked_port(uri_port(uri)))
    refused = stand_in::blocked_port();
  if (!refused) return false;
  webkit_policy_decision_ignore(decision);
  check.refuse(*refused, uri);
  return true;
}

std::optional<StandInPage> describe_failure(const GError* error, std::string_view uri) {
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
    return stand_in::secure_connection_failed();
  if (error->domain == G_TLS_ERROR) return stand_in::secure_connection_failed();
  if (error->domain == G_RESOLVER_ERROR ||
      g_error_matches(error, G_IO_ERROR, G_IO_ERROR_HOST_NOT_FOUND))
    return stand_in::host_not_found();
  if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CONNECTION_REFUSED))
    return stand_in::connection_refused();
  if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT)) return stand_in::timed_out();
  if (g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_CANNOT_USE_RESTRICTED_PORT))
    return stand_in::blocked_port();
  if (scheme == "file") return stand_in::file_unreadable();
  if (error->domain == WEBKIT_POLICY_ERROR || error->domain == WEBKIT_NETWORK_ERROR ||
      !shown_in_view(scheme))
    return stand_in::cannot_show();
  return stand_in::connection_closed();
}

}  // namespace vel
