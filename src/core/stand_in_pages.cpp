// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/stand_in_pages.h"

#include <utility>

#include "core/address.h"
#include "core/html.h"

namespace vel::stand_in {
namespace {

StandInPage page(std::string title, std::string text, bool insecure_alternative_helps = false) {
  return {std::move(title), std::move(text), {}, insecure_alternative_helps};
}

}  // namespace

StandInPage untrusted_certificate() {
  return page("This connection is not private",
              "The site's certificate is not trusted, so Vel did not open the page. Someone may be "
              "pretending to be the site.",
              true);
}

StandInPage secure_connection_failed() {
  return page("A secure connection could not be made",
              "The site did not complete a secure (https) connection: it may not offer one, or its "
              "certificate may not be trusted. Vel did not open the page.",
              true);
}

StandInPage host_not_found() {
  return page(
      "The site could not be found",
      "No server is known by this name. Check the address for typing errors, then Refresh.");
}

StandInPage connection_refused() {
  return page("The site refused the connection",
              "Nothing at this address accepted the connection. The site may be down or the port "
              "wrong: check the address, then Refresh to try again.");
}

StandInPage timed_out() {
  return page("The site took too long to answer",
              "The site did not answer in time. It may be busy: Refresh to try again.");
}

StandInPage blocked_port() {
  return page("This port is blocked",
              "The address uses a port kept for other services than the web, so Vel does not open "
              "it. Check the port in the address.");
}

StandInPage file_unreadable() {
  return page("The file could not be opened",
              "Vel could not read this file. Check that it exists and that you may read it.");
}

StandInPage cannot_show() {
  return page("Vel cannot show this address",
              "This address is not a page Vel can show. Check the address.");
}

StandInPage connection_closed() {
  return page("The connection was closed",
              "The site closed the connection before the page arrived. Refresh to try again.");
}

StandInPage no_handler(std::string_view uri) {
  return page("No application opens this address",
              "Vel does not show \"" + uri_scheme(uri) +
                  ":\" addresses, and no application on this system opens them.");
}

StandInPage refused_address(std::string_view reason) {
  return page("Vel cannot open this address", std::string(reason));
}

StandInPage too_much_memory() {
  return page("This page used too much memory",
              "The page used too much memory and was stopped. Refresh to load it again.");
}

StandInPage ended_not_responding() {
  return page("This page has stopped",
              "The page was not responding and was stopped. Refresh to load it again.");
}

StandInPage stopped() {
  return page("This page has stopped", "The page stopped working. Refresh to load it again.");
}

StandInPage offline() {
  StandInPage offline = page("Working offline",
                             "This page is on the web, and Vel is working offline. Click \"Work "
                             "online\" in the toolbar, then load the page again.");
  offline.heading = "Vel is working offline";
  return offline;
}

StandInPage not_responding() {
  return page("This page is not responding", "You can wait for it to answer, or stop it.");
}

}  // namespace vel::stand_in

namespace vel {

std::string stand_in_html(const StandInPage& page, std::string_view address,
                          std::string_view alternative) {
  const std::string& heading = page.heading.empty() ? page.title : page.heading;
  std::string html = "<!DOCTYPE html><html><head><meta charset='utf-8'><title>" +
                     html_escape(page.title) +
                     "</title><style>body{font-family:sans-serif;margin:3em;color:#223}"
                     "h1{font-size:1.3em}code{word-break:break-all}</style></head><body><h1>" +
                     html_escape(heading) + "</h1><p>" + html_escape(page.text) + "</p>";
  if (!address.empty()) html += "<p>Address: <code>" + html_escape(address) + "</code></p>";
  if (!alternative.empty())
    html += "<p>Open the page without a secure connection: <a href=\"" + html_escape(alternative) +
            "\">" + html_escape(alternative) + "</a></p>";
  return html + "</body></html>";
}

}  // namespace vel
