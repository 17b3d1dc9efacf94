// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/widget.h>
#include <gtkmm/window.h>
#include <sigc++/signal.h>

#include <string>

#include "core/page_question.h"

namespace vel {

// A download, as the engine tells of it. Each one raises Started once its file is made, Progress
// about once a second while data comes, and then one of: Finished (the file is whole, under its
// name), Failed (nothing of it is left under its name) or Cancelled (by cancel_downloads(): nothing
// is left at all).
struct DownloadEvent {
  enum class Stage { Started, Progress, Finished, Failed, Cancelled };
  Stage stage = Stage::Started;
  unsigned id = 0;   // tells the downloads apart; the same for all of one download's events
  std::string file;  // the full path it is saved under once whole
  unsigned long long received = 0, total = 0;  // bytes so far and in all (0: not known)
  std::string error;  // Failed: why, in a sentence for the user (and what is left, if anything)
};

// What the browser window needs of a web engine: operations, the state of the shown page, and
// events. The engine opens no window but the print dialog that print() asks for: what the user
// sees of its events, the window decides. An operation that can fail says whether it worked; the
// others return nothing. A page without a title has an empty name.
class WebEngine {
 public:
  virtual ~WebEngine() = default;

  // --- Operations ---
  // False when the address is refused (the engine then shows why) or empty.
  virtual bool navigate(const std::string& address) = 0;
  // Starts opening the address a window is about to ask for, while that window is still being
  // built; the window's own navigate to the same address then takes this load over. An engine
  // may ignore it.
  virtual void prepare(const std::string& address) { (void)address; }
  // False when there is no page to go back or forward to.
  virtual bool go_back() = 0;
  virtual bool go_forward() = 0;
  virtual void load_home_page() = 0;
  virtual void load_search_page() = 0;
  // A page that does not answer is ended: the crashed page's message takes its place.
  virtual void stop() = 0;
  // False when no page is shown.
  virtual bool reload() = 0;
  // False when working offline is not possible.
  virtual bool set_offline(bool offline) = 0;
  // Caret browsing: a movable text cursor in the page, for reading and selecting by keyboard.
  virtual void set_caret_browsing(bool on) { (void)on; }
  virtual bool caret_browsing() const { return false; }
  // The user chose to wait for a page that does not answer: it is watched afresh.
  virtual void keep_waiting() {}
  // Find in the page, ignoring case and going round at either end. A new text highlights its
  // matches and goes to the nearest; the same text again goes to the next (or previous) match.
  // The number of matches arrives through signal_match_count.
  virtual void find(const std::string& text, bool forward) { (void)text, (void)forward; }
  // Finding is over: no highlight, and the next find starts afresh.
  virtual void find_finish() {}
  // The page's zoom: 1.0 is 100 %. It stays for the engine's lifetime, across loads.
  virtual void set_zoom(double level) { (void)level; }
  virtual double zoom() const { return 1.0; }
  // Shows the print dialog for the page, over `parent`; returns when the dialog has closed.
  virtual void print(Gtk::Window& parent) { (void)parent; }
  // Cancels every download of this engine's that is under way: each raises Cancelled.
  virtual void cancel_downloads() {}
  // The user's answer to the page's question (signal_page_question); the page goes on.
  virtual void answer_page(const PageAnswer& answer) { (void)answer; }

  // --- The shown page ---
  // True while a load is under way: from the request until the page and its title are in.
  virtual bool is_loading() const = 0;
  // The shown page's title, and its full address (for a message page, the address it stands for).
  virtual std::string title() const = 0;
  virtual std::string uri() const = 0;
  // The widget that shows the pages.
  virtual Gtk::Widget& widget() = 0;

  // --- Events ---
  // A load ended, successfully or not.
  sigc::signal<void()>& signal_load_finished() { return load_finished_; }
  // The engine stopped loading, so a watcher need not wait for its next look.
  sigc::signal<void()>& signal_settled() { return settled_; }
  // The page's title changed.
  sigc::signal<void()>& signal_title_changed() { return title_changed_; }
  // False when the shown page has not answered for a while (the user is to be told, and may wait
  // or stop it), true once it answers again or its process has ended.
  sigc::signal<void(bool)>& signal_responsive() { return responsive_; }
  // How many matches the last find has.
  sigc::signal<void(unsigned)>& signal_match_count() { return match_count_; }
  // A download started, went on, ended whole, failed or was cancelled.
  sigc::signal<void(const DownloadEvent&)>& signal_download() { return download_; }
  // The page asks the user something and waits for answer_page(). One at a time.
  sigc::signal<void(const PageQuestion&)>& signal_page_question() { return page_question_; }
  // The page no longer waits for that answer (it was left or stopped, or its process ended): the
  // question goes unanswered.
  sigc::signal<void()>& signal_page_question_withdrawn() { return page_question_withdrawn_; }

 protected:
  sigc::signal<void()> load_finished_;
  sigc::signal<void()> settled_;
  sigc::signal<void()> title_changed_;
  sigc::signal<void(bool)> responsive_;
  sigc::signal<void(unsigned)> match_count_;
  sigc::signal<void(const DownloadEvent&)> download_;
  sigc::signal<void(const PageQuestion&)> page_question_;
  sigc::signal<void()> page_question_withdrawn_;
};

}  // namespace vel
