#pragma once

#include <gtkmm/button.h>
#include <gtkmm/drawingarea.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>
#include <sigc++/signal.h>

#include "about/about_growth.h"

namespace vel {

// The About window: the product name with a credits line, a rights notice, four lines and OK.
// It is not resizable by the user; the browser window's Timer1 grows it in steps.
class Form2 : public Gtk::Window {
 public:
  Form2();
  ~Form2() override;

  // The outer size, title bar included, in single-precision twips, as the browser window's
  // growth rule reads and writes it. Reading gives what the window system makes of the last size
  // set: never less than the window's minimum.
  float Width() const;
  float Height() const;
  void set_Width(float twips);
  void set_Height(float twips);
  about::SizeTwips size_twips() const { return about::effective_size(requested_, minimum_size()); }
  about::SizeTwips requested_size() const { return requested_; }
  // The smallest outer size the window can have: its title bar and frame.
  about::SizeTwips minimum_size() const;

  // OK: shows the browser window, hides this one and starts it shrinking to grow again.
  void Command1_Click();
  sigc::signal<void()>& signal_show_form1() { return show_form1_; }
  sigc::signal<void()>& signal_enable_timer1() { return enable_timer1_; }

  // The controls, for tests.
  Gtk::Label& Label1() { return *label1_; }
  Gtk::Label& Label2() { return *label2_; }
  Gtk::Button& Command1() { return *command1_; }

 private:
  void apply_size();
  void draw_lines(const Cairo::RefPtr<Cairo::Context>& cr) const;

  about::SizeTwips requested_;
  Gtk::Label* label1_ = nullptr;
  Gtk::Label* label2_ = nullptr;
  Gtk::Button* command1_ = nullptr;
  sigc::signal<void()> show_form1_, enable_timer1_;
};

}  // namespace vel
