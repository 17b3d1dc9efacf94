// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <webkit/webkit.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/stand_in_pages.h"

namespace vel {

// The page for a main-frame load of `uri` that ended in `error`, or nothing when the load was
// ended on purpose (Stop, another address, a download) and there is nothing to say.
std::optional<StandInPage> describe_failure(const GError* error, std::string_view uri);

// What becomes of a navigation the view is about to start.
struct NavigationCheck {
  // An address of a scheme the view does not show, on a user's click (a page's script alone
  // starts nothing): for the desktop's application for it.
  std::function<void(const std::string& uri)> open_elsewhere;
  // A main-frame address whose host never resolves (".invalid", RFC 6761) or whose port is kept
  // for other services, told without asking the network.
  std::function<void(const StandInPage& page, const std::string& uri)> refuse;
};

// The view's navigation policy: true when the decision was taken here (the navigation does not
// go on in the view), false to leave it to the engine.
bool check_navigation(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                      const NavigationCheck& check);

}  // namespace vel
