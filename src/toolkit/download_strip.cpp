// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/download_strip.h"

#include "toolkit/accessible.h"

namespace vel {

DownloadStrip::DownloadStrip() : Gtk::Box(Gtk::Orientation::HORIZONTAL, 4) {
  add_css_class("vel-downloads");
  accessible::set_role(*this, GTK_ACCESSIBLE_ROLE_STATUS);
  accessible::set_label(*this, "Downloads");
  what_.set_ellipsize(Pango::EllipsizeMode::MIDDLE);
  what_.set_hexpand(true);
  what_.set_xalign(0.0f);
  what_.set_single_line_mode(true);
  // A reader hears both in the strip's description.
  accessible::hide(what_);
  accessible::hide(how_far_);
  cancel_button_.set_label("Cancel");
  cancel_button_.add_css_class("flat");
  cancel_button_.signal_clicked().connect([this] { cancel_.emit(); });
  append(what_);
  append(how_far_);
  append(cancel_button_);
  set_visible(false);
}

void DownloadStrip::show_downloads(std::span<const DownloadProgress> downloads) {
  set_visible(!downloads.empty());
  if (downloads.empty()) return;
  const DownloadSummary summary = summarize_downloads(downloads);
  what_.set_text(summary.what);
  how_far_.set_text(summary.how_far);
  accessible::set_description(*this, summary.what + ", " + summary.how_far);
  const std::string cancels = downloads.size() == 1 ? "Cancel the download of " + summary.what
                                                    : "Cancel the " + summary.what;
  cancel_button_.set_tooltip_text(cancels);
  accessible::set_label(cancel_button_, cancels);
}

void DownloadStrip::focus_cancel() {
  if (get_visible()) cancel_button_.grab_focus();
}

}  // namespace vel
