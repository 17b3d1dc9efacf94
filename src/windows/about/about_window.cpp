// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/about/about_window.h"

#include <gtkmm/drawingarea.h>
#include <gtkmm/fixed.h>
#include <gtkmm/headerbar.h>
#include <pangomm/attrlist.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "config.h"
#include "core/twips.h"
#include "toolkit/accessible.h"
#include "toolkit/style.h"
#include "windows/about/about_layout.h"
#include "windows/keys.h"

namespace vel {
namespace {

constexpr const char* kCredits =
    "A small web browser by the Vel Browser developers, built on GTK and WebKitGTK.";
constexpr const char* kRightsText = "Free software: you may use, share and change it.";

// Holds the client area at its full size whatever the window's size, and cuts off what does not
// fit, so the window can be smaller than its controls while it grows.
class ClipBox : public Gtk::Widget {
 public:
  explicit ClipBox(Gtk::Widget& child) : child_(&child) {
    set_overflow(Gtk::Overflow::HIDDEN);
    child_->set_parent(*this);
    // A managed widget is destroyed before its C++ destructor runs: let go of the child then.
    signal_destroy().connect([this] { release(); });
  }
  ~ClipBox() override { release(); }

 protected:
  Gtk::SizeRequestMode get_request_mode_vfunc() const override {
    return Gtk::SizeRequestMode::CONSTANT_SIZE;
  }
  void measure_vfunc(Gtk::Orientation orientation, int, int& minimum, int& natural,
                     int& minimum_baseline, int& natural_baseline) const override {
    minimum = natural = 0;
    minimum_baseline = natural_baseline = -1;
    if (!child_) return;
    int child_min = 0, baseline = 0;
    child_->measure(orientation, -1, child_min, natural, baseline, baseline);
  }
  void size_allocate_vfunc(int width, int height, int) override {
    if (!child_) return;
    int min = 0, nat_w = 0, nat_h = 0, baseline = 0;
    child_->measure(Gtk::Orientation::HORIZONTAL, -1, min, nat_w, baseline, baseline);
    child_->measure(Gtk::Orientation::VERTICAL, -1, min, nat_h, baseline, baseline);
    child_->size_allocate(Gtk::Allocation(0, 0, std::max(width, nat_w), std::max(height, nat_h)),
                          -1);
  }

 private:
  void release() {
    if (child_) std::exchange(child_, nullptr)->unparent();
  }

  Gtk::Widget* child_;
};

void put(Gtk::Fixed& fixed, Gtk::Widget& widget, about_layout::Role role) {
  const auto& row = about_layout::row(role);
  widget.set_name(std::string(row.id));
  const PixelRect r = to_pixels(row.rect);
  widget.set_size_request(r.width, r.height);
  fixed.put(widget, r.x, r.y);
}

}  // namespace

AboutWindow::AboutWindow(AboutGrowth& growth) : growth_(growth) {
  using about_layout::Role;
  keys::bind(*this, keys::kSmallWindows);
  ensure_style();
  set_title(about_layout::kCaption);
  // A dialog to a reader, said outright: GTK 4.8 calls a window with a focus widget a "filler".
  accessible::set_role(*this, GTK_ACCESSIBLE_ROLE_DIALOG);
  set_icon_name(about_layout::kIconName);
  set_resizable(false);

  // The title bar is drawn by the window itself, so the outer size is the window's own and the
  // title bar offers only the close box.
  auto* title_bar = Gtk::make_managed<Gtk::HeaderBar>();
  title_bar->set_decoration_layout(":close");
  title_bar->add_css_class("vel-about-titlebar");
  // The caption gives way while the window is small.
  auto* caption = Gtk::make_managed<Gtk::Label>(about_layout::kCaption);
  caption->set_ellipsize(Pango::EllipsizeMode::END);
  caption->add_css_class("title");
  title_bar->set_title_widget(*caption);
  set_titlebar(*title_bar);

  // A reader goes through the two texts and the button in order; the containers and the lines
  // say nothing.
  auto* fixed = Gtk::make_managed<Gtk::Fixed>();
  accessible::set_role(*fixed, GTK_ACCESSIBLE_ROLE_GENERIC);
  auto* lines = Gtk::make_managed<Gtk::DrawingArea>();
  accessible::hide(*lines);
  lines->set_draw_func(
      [this](const Cairo::RefPtr<Cairo::Context>& cr, int, int) { draw_lines(cr); });
  const PixelRect all = to_pixels({0, 0, 3000 + kTwipsPerPixel, 1080 + 3 * kTwipsPerPixel});
  lines->set_size_request(all.width, all.height);
  fixed->put(*lines, 0, 0);

  credits_ = Gtk::make_managed<Gtk::Label>();
  credits_->set_text(std::string("Vel Browser ") + config::kVersion + "\n" + kCredits);
  credits_->set_wrap(true);
  credits_->set_xalign(0.0f);
  credits_->set_yalign(0.0f);
  put(*fixed, *credits_, Role::Credits);

  notice_ = Gtk::make_managed<Gtk::Label>(kRightsText);
  notice_->set_wrap(true);
  notice_->set_xalign(0.0f);
  notice_->set_yalign(0.0f);
  Pango::AttrList attrs;
  auto blue = Pango::Attribute::create_attr_foreground(about_layout::kNoticeRed * 257,
                                                       about_layout::kNoticeGreen * 257,
                                                       about_layout::kNoticeBlue * 257);
  attrs.insert(blue);
  notice_->set_attributes(attrs);
  put(*fixed, *notice_, Role::Notice);

  ok_button_ = Gtk::make_managed<Gtk::Button>("OK");
  ok_button_->signal_clicked().connect([this] { on_ok_clicked(); });
  put(*fixed, *ok_button_, Role::OkButton);

  auto* clip = Gtk::make_managed<ClipBox>(*fixed);
  accessible::set_role(*clip, GTK_ACCESSIBLE_ROLE_GENERIC);
  set_child(*clip);
  // The growth stops once either side is full. The title bar makes the least width larger than
  // the least height, so from that minimum the width would be full while the OK button was still
  // cut off below: a square minimum makes both sides full at the same tick.
  const about::SizeTwips least = minimum_size();
  if (least.width > least.height)
    clip->set_size_request(-1, twips_to_px(least.width) - twips_to_px(least.height));
  // First in the tab order: OK has the focus when the window opens, and Enter presses it.
  set_default_widget(*ok_button_);
  set_focus(*ok_button_);

  const PixelRect client = to_pixels(about_layout::kClientArea);
  set_size_twips({static_cast<float>(px_to_twips(client.width)),
                  static_cast<float>(px_to_twips(client.height))});
}

AboutWindow::~AboutWindow() = default;

about::SizeTwips AboutWindow::minimum_size() const {
  int min_w = 0, min_h = 0, natural = 0, baseline = 0;
  measure(Gtk::Orientation::HORIZONTAL, -1, min_w, natural, baseline, baseline);
  measure(Gtk::Orientation::VERTICAL, min_w, min_h, natural, baseline, baseline);
  return {static_cast<float>(px_to_twips(min_w)), static_cast<float>(px_to_twips(min_h))};
}

void AboutWindow::set_size_twips(about::SizeTwips size) {
  // A size the window system cannot give is no size at all: keep the last one.
  if (std::isfinite(size.width)) requested_.width = std::max(size.width, 0.0f);
  if (std::isfinite(size.height)) requested_.height = std::max(size.height, 0.0f);
  // The window is not resizable, so its default size is its size; GTK keeps it no smaller than
  // the minimum.
  const about::SizeTwips shown = size_twips();
  set_default_size(twips_to_px(shown.width), twips_to_px(shown.height));
}

void AboutWindow::on_ok_clicked() {
  show_browser_.emit();
  hide();
  set_size_twips({0.0f, requested_.height});
  growth_.resume();
}

void AboutWindow::draw_lines(const Cairo::RefPtr<Cairo::Context>& cr) const {
  for (const auto& line : about_layout::kLines) {
    const double grey = line.grey / 255.0;
    cr->set_source_rgb(grey, grey, grey);
    cr->set_line_width(line.width);
    // Centre a one-pixel line on its pixel row; a two-pixel one covers the row and the next.
    const double y = twips_to_px(line.y1) + line.width / 2.0;
    cr->move_to(twips_to_px(line.x1), y);
    cr->line_to(twips_to_px(line.x2) + 1, twips_to_px(line.y2) + line.width / 2.0);
    cr->stroke();
  }
}

}  // namespace vel
