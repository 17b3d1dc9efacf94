// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace vel {

// What a page says that stands in for the page the user asked for and cannot see: a load that
// failed, an address refused, a page whose process ended, a web page while working offline, and
// the notice over a page that does not answer. Every such text of the program is in this table.
struct StandInPage {
  std::string title;  // the page's title, and so the caption's
  std::string text;
  std::string heading;  // empty: the title
  // The secure connection failed, so the same address over http might open.
  bool insecure_alternative_helps = false;
};

namespace stand_in {

// Loads that failed, by what went wrong.
StandInPage untrusted_certificate();
StandInPage secure_connection_failed();
StandInPage host_not_found();
StandInPage connection_refused();
StandInPage timed_out();
StandInPage blocked_port();
StandInPage file_unreadable();
StandInPage cannot_show();
StandInPage connection_closed();
// An address of a scheme that belongs to another program, when none is there.
StandInPage no_handler(std::string_view uri);
// An address the browser does not open, and why.
StandInPage refused_address(std::string_view reason);

// A page whose process ended: it used too much memory, the browser ended it because it did not
// answer, or it stopped by itself.
StandInPage too_much_memory();
StandInPage ended_not_responding();
StandInPage stopped();

// A web page asked for while working offline.
StandInPage offline();

// The notice laid over a page that does not answer (not a page of its own: the page stays).
StandInPage not_responding();

}  // namespace stand_in

// The page as HTML: its heading and text, the address it stands for when there is one, and an
// address the user may try instead. Every text is escaped.
std::string stand_in_html(const StandInPage& page, std::string_view address = {},
                          std::string_view alternative = {});

}  // namespace vel
