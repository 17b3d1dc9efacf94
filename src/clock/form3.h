#pragma once

#include <glibmm/datetime.h>
#include <gtkmm/button.h>
#include <gtkmm/fixed.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "clock/hand.h"
#include "platform/window_timer.h"

namespace vel {

class LineLayer;

// The clock window: read-outs of the local time and date, a dial with one sweeping hand, and a
// Back button, at the fixed rectangles of its layout table. Both timers run from creation until
// the window is destroyed, also while it is hidden.
class Form3 : public Gtk::Window {
 public:
  // The source of the current local time; tests put a fixed clock in.
  using Clock = std::function<Glib::DateTime()>;

  explicit Form3(Clock clock = {});
  ~Form3() override;

  // Load: measures the hand. Runs once, when the window is created.
  void Form_Load();
  // Back: shows the browser window, then hides this one.
  void Command1_Click();
  // The time and date read-outs.
  void Timer1_Timer();
  // The hand.
  void Timer2_Timer();

  // Back asks the application for the browser window, which may have to be created anew.
  sigc::signal<void()>& signal_show_browser() { return show_browser_; }

  // The controls, for the application and for tests.
  Gtk::Button& Command1() { return *command1_; }
  Gtk::Label& Label2() { return *label(2); }
  Gtk::Label& Label4() { return *label(4); }
  WindowTimer& Timer1() { return timer1_; }
  WindowTimer& Timer2() { return timer2_; }
  const LineCoords& Line(int number) const { return lines_.at(number - 1); }
  const ClockHand& hand() const { return hand_; }
  Gtk::Widget* control(std::string_view name) const;
  Gtk::Fixed& client_area() { return *fixed_; }
  void set_clock(Clock clock);

 private:
  void build_controls();
  Gtk::Label* label(int number) const;

  Clock clock_;
  Gtk::Fixed* fixed_ = nullptr;
  Gtk::Button* command1_ = nullptr;
  LineLayer* hand_layer_ = nullptr;
  std::pair<int, int> drawn_tip_{-1, -1};  // pixel of the hand's tip as last painted
  sigc::connection map_, unmap_;
  std::map<std::string, Gtk::Widget*, std::less<>> controls_;
  std::array<LineCoords, 10> lines_{};
  ClockHand hand_;
  WindowTimer timer1_{100};
  WindowTimer timer2_{1};
  sigc::signal<void()> show_browser_;
};

}  // namespace vel
