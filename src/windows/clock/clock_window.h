// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <glibmm/datetime.h>
#include <gtkmm/button.h>
#include <gtkmm/fixed.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>

#include <array>
#include <cstddef>
#include <functional>
#include <utility>

#include "toolkit/window_timer.h"
#include "windows/clock/clock_layout.h"
#include "windows/clock/hand.h"

namespace vel {
namespace test {
struct Seam;
}

class LineLayer;

// The clock window: read-outs of the local time and date, a dial with one sweeping hand, and a
// Back button, at the fixed rectangles of its layout table. Both timers run from creation until
// the window is destroyed, also while it is hidden.
class ClockWindow : public Gtk::Window {
 public:
  // The source of the current local time; tests put a fixed clock in.
  using Clock = std::function<Glib::DateTime()>;

  explicit ClockWindow(Clock clock = {});
  ~ClockWindow() override;

  // Back asks the application for the browser window, which may have to be created anew.
  sigc::signal<void()>& signal_show_browser() { return show_browser_; }

 private:
  // The tests read the window's parts through test::Seam (tests/support/seam.h).
  friend struct test::Seam;
  Gtk::Label& time_readout() { return label<clock_layout::index_of("time-readout")>(); }
  Gtk::Label& date_readout() { return label<clock_layout::index_of("date-readout")>(); }

  // Back: shows the browser window, then hides this one.
  void on_back_clicked();
  // Writes the time and date read-outs.
  void on_readout_tick();
  // Turns the hand one step.
  void on_hand_tick();
  void build_controls();
  // Measures the hand. Runs once, when the window is created.
  void measure_hand();
  template <std::size_t Row>
  Gtk::Label& label() {
    static_assert(clock_layout::kControls[Row].kind == clock_layout::Kind::Label);
    return *static_cast<Gtk::Label*>(widgets_[Row]);
  }

  Clock clock_;
  Gtk::Fixed* fixed_ = nullptr;
  Gtk::Button* back_button_ = nullptr;
  LineLayer* hand_layer_ = nullptr;
  std::pair<int, int> drawn_tip_{-1, -1};  // the pixel of the hand's tip as last painted
  std::string face_time_;                  // the time the dial's description tells
  sigc::connection map_, unmap_;
  std::array<Gtk::Widget*, clock_layout::kControls.size()> widgets_{};
  LineCoords hand_line_ = clock_layout::control("hand").line;
  ClockHand hand_;
  WindowTimer readout_timer_{clock_layout::control("readout-timer").interval_ms};
  WindowTimer hand_timer_{clock_layout::control("hand-timer").interval_ms};
  sigc::signal<void()> show_browser_;
};

}  // namespace vel
