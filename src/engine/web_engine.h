// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/widget.h>
#include <gtkmm/window.h>
#include <sigc++/signal.h>

#include <optional>
#include <string>

namespace vel {

// What the browser window needs of a web engine: a few operations, three properties and one
// event. Every operation says whether it worked, so a handler can ignore a failure or act on it;
// a page without a title has an empty name.
class WebEngine {
 public:
  virtual ~WebEngine() = default;

  virtual bool navigate(const std::string& address) = 0;
  // Starts opening the address a window is about to ask for, while that window is still being
  // built; the window's own navigate to the same address then takes this load over. An engine
  // may ignore it.
  virtual void prepare(const std::string& address) { (void)address; }
  virtual bool go_back() = 0;
  virtual bool go_forward() = 0;
  virtual bool load_home_page() = 0;
  virtual bool load_search_page() = 0;
  virtual bool stop() = 0;
  virtual bool reload() = 0;
  virtual bool set_offline(bool offline) = 0;
  // Caret browsing: a movable text cursor in the page, for reading and selecting by keyboard.
  virtual bool set_caret_browsing(bool on) {
    (void)on;
    return false;
  }
  virtual bool caret_browsing() const { return false; }

  // True while a load is under way: from the request until the page and its title are in.
  virtual bool is_loading() const = 0;
  // The shown page's title, and its full address (for a message page, the address it stands for).
  virtual std::string title() const = 0;
  virtual std::string uri() const = 0;

  // Raised whenever a load ends, successfully or not.
  virtual sigc::signal<void()>& signal_load_finished() = 0;
  // Raised when the engine stops loading, so a watcher need not wait for its next look.
  sigc::signal<void()>& signal_settled() { return settled_; }
  // Raised when the page's title changes.
  sigc::signal<void()>& signal_title_changed() { return title_changed_; }
  // Raised with false when the shown page has not answered for a while (the user is to be told,
  // and may wait or stop it: stop() then ends the page's process), and with true once it answers
  // again or its process has ended.
  sigc::signal<void(bool)>& signal_responsive() { return responsive_; }
  // The user chose to wait for a page that does not answer: it is watched afresh.
  virtual void keep_waiting() {}

  // The widget that shows the pages.
  virtual Gtk::Widget& widget() = 0;

  // Find in the page, ignoring case and going round at either end. A new text highlights its
  // matches and goes to the nearest; the same text again goes to the next (or previous) match.
  // The number of matches arrives through signal_match_count.
  virtual void find(const std::string& text, bool forward) { (void)text, (void)forward; }
  // Finding is over: no highlight, and the next find starts afresh.
  virtual void find_finish() {}
  sigc::signal<void(unsigned)>& signal_match_count() { return match_count_; }
  // The page's zoom: 1.0 is 100 %. It stays for the engine's lifetime, across loads.
  virtual void set_zoom(double level) { (void)level; }
  virtual double zoom() const { return 1.0; }
  // Shows the print dialog for the page, over `parent`; returns when the dialog has closed.
  virtual void print(Gtk::Window& parent) { (void)parent; }

 protected:
  sigc::signal<void()> settled_;
  sigc::signal<void()> title_changed_;
  sigc::signal<void(bool)> responsive_;
  sigc::signal<void(unsigned)> match_count_;
};

}  // namespace vel
