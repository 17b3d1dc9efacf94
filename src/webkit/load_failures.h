// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <webkit/webkit.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vel {

// What a message page says in place of a page that could not be opened.
struct Failure {
  std::string title;
  std::string text;
  // The secure connection failed, so the same address over http might open.
  bool insecure_alternative_helps = false;
};

// The page for a main-frame load of `uri` that ended in `error`, or nothing when the load was
// ended on purpose (Stop, another address, a download) and there is nothing to say.
std::optional<Failure> describe_failure(const GError* error, std::string_view uri);

// A certificate the engine refused.
Failure untrusted_certificate();
// A handshake that did not end in a secure connection.
Failure secure_connection_failed();
// A host that cannot exist (".invalid"), told without asking the network.
Failure host_not_found();
// A port kept for other services than the web.
Failure blocked_port();
// An address of a scheme that belongs to another program, when none is there.
Failure no_handler(std::string_view uri);

// Calls `show` with the page to show for each main-frame load of the view that fails, and tells
// the engine that the failure is taken care of; loads ended on purpose are left alone.
void watch_failures(WebKitWebView* view,
                    std::function<void(const Failure&, const std::string&)> show);

// Checks every navigation of the view before it starts: an address of a scheme the view does not
// show goes to `open_elsewhere`, but only on a user's click (a page's script alone starts
// nothing); a main-frame address whose host never resolves (".invalid", RFC 6761) or whose port
// is kept for other services goes to `refuse` with what to say, without asking the network.
void check_navigations(WebKitWebView* view, std::function<void(const std::string&)> open_elsewhere,
                       std::function<void(const Failure&, const std::string&)> refuse);

// Disconnects what the two above connected, before the view's owner goes.
void stop_watching(WebKitWebView* view);

}  // namespace vel
