// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/clock/clock_window.h"

#include <gdkmm/display.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/drawingarea.h>
#include <gtkmm/stylecontext.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "config.h"
#include "toolkit/accessible.h"
#include "toolkit/style.h"
#include "windows/clock/readout.h"
#include "windows/keys.h"

namespace vel {
namespace {

std::string css_rgb(clock_layout::Rgb c) {
  std::ostringstream out;
  out << "rgb(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
  return out.str();
}

std::string css_font(clock_layout::Font f) {
  // fontconfig maps the design's Windows faces onto their installed stand-ins.
  return f == clock_layout::Font::Window
             ? "font-family: Arial; font-size: 9.75pt; font-weight: 400; font-style: normal;"
             : "font-family: \"MS Sans Serif\"; font-size: 8.25pt; font-weight: 400;"
               " font-style: normal;";
}

constexpr const clock_layout::Control& kWindow = clock_layout::control("clock-window");
static_assert(kWindow.background.has_value(), "the clock window's row gives its colour");

// The window's colours and fonts, written from its layout table, once per program.
void ensure_clock_style() {
  static bool done = false;
  auto display = Gdk::Display::get_default();
  if (done || !display) return;
  done = true;
  const std::string window = "window." + std::string(kWindow.role);
  std::ostringstream css;
  css << window
      << " { background-color: " << css_rgb(kWindow.background.value_or(clock_layout::Rgb{}))
      << "; " << css_font(kWindow.font) << " }\n"
      << window << " button { min-height: 0; min-width: 0; margin: 0; padding: 0 4px; }\n"
      << window << " label { padding: 0; margin: 0; }\n";
  for (const auto& c : clock_layout::kControls) {
    if (c.kind != clock_layout::Kind::Button && c.kind != clock_layout::Kind::Label) continue;
    css << window << " #" << c.role << " { " << css_font(c.font);
    if (c.text) css << " color: " << css_rgb(*c.text) << ";";
    if (c.background) css << " background-color: " << css_rgb(*c.background) << ";";
    css << " }\n";
  }
  auto provider = Gtk::CssProvider::create();
  provider->load_from_data(css.str());
  Gtk::StyleContext::add_provider_for_display(display, provider,
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

// A label of fixed size: the text starts at the top left and what does not fit is cut off, so a
// long date in some locale never moves or grows the box.
class FixedLabel : public Gtk::Label {
 public:
  FixedLabel(const Glib::ustring& text, int width, int height)
      : Gtk::Label(text), width_(width), height_(height) {
    set_xalign(0);
    set_yalign(0);
    set_wrap(true);
    set_wrap_mode(Pango::WrapMode::WORD);
    set_overflow(Gtk::Overflow::HIDDEN);
  }

 protected:
  void measure_vfunc(Gtk::Orientation orientation, int, int& minimum, int& natural,
                     int& minimum_baseline, int& natural_baseline) const override {
    minimum = natural = orientation == Gtk::Orientation::HORIZONTAL ? width_ : height_;
    minimum_baseline = natural_baseline = -1;
  }

 private:
  int width_, height_;
};

}  // namespace

// Paints a run of consecutive lines of the stacking list, in their order, over a rectangle that
// holds all the places they can reach. One pixel wide and not smoothed, as line controls are.
class LineLayer : public Gtk::DrawingArea {
 public:
  struct Item {
    const LineCoords* line;
    clock_layout::Rgb colour;
  };

  LineLayer(PixelRect bounds, std::vector<Item> items) : bounds_(bounds), items_(std::move(items)) {
    set_can_target(false);
    set_content_width(bounds.width);
    set_content_height(bounds.height);
    set_draw_func(sigc::mem_fun(*this, &LineLayer::on_draw));
  }

 private:
  void on_draw(const Cairo::RefPtr<Cairo::Context>& cr, int, int) {
    cr->set_antialias(Cairo::ANTIALIAS_NONE);
    cr->set_line_width(1);
    // End points on whole pixels, as line controls are drawn; through pixel centres, so a line
    // covers exactly the pixels between them.
    const auto x = [this](float twips) { return twips_to_px(twips) - bounds_.x + 0.5; };
    const auto y = [this](float twips) { return twips_to_px(twips) - bounds_.y + 0.5; };
    for (const auto& [line, colour] : items_) {
      cr->set_source_rgb(colour.r / 255.0, colour.g / 255.0, colour.b / 255.0);
      cr->move_to(x(line->X1), y(line->Y1));
      cr->line_to(x(line->X2), y(line->Y2));
      cr->stroke();
    }
  }

  PixelRect bounds_;
  std::vector<Item> items_;
};

namespace {
constexpr std::size_t kHandRow = clock_layout::index_of("hand");
constexpr std::size_t kFaceRow = clock_layout::index_of("face");
constexpr std::size_t kTimeRow = clock_layout::index_of("time-readout");
constexpr std::size_t kDateRow = clock_layout::index_of("date-readout");
constexpr std::size_t kTimeCaptionRow = clock_layout::index_of("time-caption");
constexpr std::size_t kDateCaptionRow = clock_layout::index_of("date-caption");

// A read-out's text, told as its description; its name comes from its caption alone.
void set_readout(Gtk::Label& readout, const Glib::ustring& text) {
  if (readout.get_text() == text) return;
  readout.set_text(text);
  gtk_accessible_reset_property(GTK_ACCESSIBLE(readout.gobj()), GTK_ACCESSIBLE_PROPERTY_LABEL);
  accessible::set_description(readout, text);
}
constexpr unsigned kHiddenBatchMs = 500;
// On screen the hand's tip moves about a sixth of a pixel a tick: six ticks to a wake-up move it
// about a pixel each time, as smooth as the screen can show, with a sixth of the wake-ups.
constexpr unsigned kShownHandBatchMs = 100;
}  // namespace

ClockWindow::ClockWindow(Clock clock) : clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return Glib::DateTime::create_now_local(); };
  keys::bind(*this, keys::kSmallWindows);
  ensure_style();
  ensure_clock_style();
  add_css_class(std::string(kWindow.role));
  set_title(std::string(kWindow.caption));
  // Said outright: GTK 4.8 tells a reader that a window with a focus widget is a "filler".
  accessible::set_role(*this, GTK_ACCESSIBLE_ROLE_WINDOW);
  set_icon_name(std::string(config::kAppId) + "-clock");
  const PixelRect client = to_pixels(kWindow.rect);
  set_default_size(client.width, client.height);
  widgets_[clock_layout::index_of("clock-window")] = this;
  build_controls();
  set_focus(*back_button_);

  readout_timer_.signal_tick().connect([this] { on_readout_tick(); });
  hand_timer_.signal_tick().connect([this] { on_hand_tick(); });
  // Off screen nobody sees the ticks arrive: take them in batches, so a hidden clock wakes the
  // program a few times a second instead of seventy.
  unmap_ = signal_unmap().connect([this] {
    readout_timer_.set_batch_period(kHiddenBatchMs);
    hand_timer_.set_batch_period(kHiddenBatchMs);
  });
  map_ = signal_map().connect([this] {
    readout_timer_.set_batch_period(0);
    hand_timer_.set_batch_period(kShownHandBatchMs);
  });
  measure_hand();
  // Both timers run from creation; ticks arrive from the main loop, after the hand is measured.
  readout_timer_.set_enabled(true);
  hand_timer_.set_enabled(true);
}

ClockWindow::~ClockWindow() {
  // The window unmaps after the timers are gone.
  unmap_.disconnect();
  map_.disconnect();
}

void ClockWindow::build_controls() {
  using clock_layout::Kind;
  const PixelRect client = to_pixels(kWindow.rect);
  fixed_ = Gtk::make_managed<Gtk::Fixed>();
  accessible::set_role(*fixed_, GTK_ACCESSIBLE_ROLE_GENERIC);
  fixed_->set_size_request(client.width, client.height);
  set_child(*fixed_);

  // Consecutive lines of the stacking list share one drawing layer at their place in it.
  std::vector<std::size_t> run;
  const auto flush_lines = [&] {
    if (run.empty()) return;
    std::vector<LineLayer::Item> items;
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    const auto reach = [&](double x, double y) {
      left = std::min(left, x), top = std::min(top, y);
      right = std::max(right, x), bottom = std::max(bottom, y);
    };
    bool has_hand = false;
    for (std::size_t row : run) {
      const clock_layout::Control& c = clock_layout::kControls[row];
      if (row == kHandRow) {
        // The hand sweeps a circle about its start point.
        has_hand = true;
        const LineCoords& l = hand_line_;
        items.push_back({&l, clock_layout::colour_of(c.line_colour)});
        const double r = std::hypot(l.X1 - l.X2, l.Y1 - l.Y2);
        reach(l.X1 - r, l.Y1 - r);
        reach(l.X1 + r, l.Y1 + r);
      } else {
        items.push_back({&c.line, clock_layout::colour_of(c.line_colour)});
        reach(c.line.X1, c.line.Y1);
        reach(c.line.X2, c.line.Y2);
      }
    }
    // One pixel of room on each side for the pixel the line's end stands on.
    const int x = static_cast<int>(std::floor(left / kTwipsPerPixel)) - 1;
    const int y = static_cast<int>(std::floor(top / kTwipsPerPixel)) - 1;
    const int w = static_cast<int>(std::ceil(right / kTwipsPerPixel)) + 2 - x;
    const int h = static_cast<int>(std::ceil(bottom / kTwipsPerPixel)) + 2 - y;
    auto* layer = Gtk::make_managed<LineLayer>(PixelRect{x, y, w, h}, std::move(items));
    // The dial speaks for its lines.
    accessible::hide(*layer);
    fixed_->put(*layer, x, y);
    for (std::size_t row : run) widgets_[row] = layer;
    if (has_hand) hand_layer_ = layer;
    run.clear();
  };

  // Lowest first: GTK paints later children over earlier ones.
  for (std::size_t row = clock_layout::kControls.size(); row-- > 0;) {
    const clock_layout::Control& c = clock_layout::kControls[row];
    if (c.kind == Kind::Line) {
      run.push_back(row);
      continue;
    }
    if (c.kind != Kind::Button && c.kind != Kind::Label) continue;
    flush_lines();
    const PixelRect r = to_pixels(c.rect);
    Gtk::Widget* widget = nullptr;
    if (c.kind == Kind::Button) {
      back_button_ = Gtk::make_managed<Gtk::Button>(std::string(c.caption));
      back_button_->signal_clicked().connect([this] { on_back_clicked(); });
      widget = back_button_;
    } else {
      widget = Gtk::make_managed<FixedLabel>(std::string(c.caption), r.width, r.height);
      // The face is the dial: an image named for what it is, the time as its description; the
      // numerals are part of it.
      if (row == kFaceRow) accessible::set_role(*widget, GTK_ACCESSIBLE_ROLE_IMG);
      if (c.role.starts_with("numeral-")) accessible::hide(*widget);
    }
    if (!c.accessible_name.empty() && row != kTimeRow && row != kDateRow)
      accessible::set_label(*widget, std::string(c.accessible_name));
    widget->set_name(std::string(c.role));
    widget->set_size_request(r.width, r.height);
    fixed_->put(*widget, r.x, r.y);
    widgets_[row] = widget;
  }
  flush_lines();
  // The read-outs are known by their captions and read out their text.
  for (auto [readout, caption] :
       {std::pair{kTimeRow, kTimeCaptionRow}, {kDateRow, kDateCaptionRow}})
    gtk_accessible_update_relation(GTK_ACCESSIBLE(widgets_[readout]->gobj()),
                                   GTK_ACCESSIBLE_RELATION_LABELLED_BY, widgets_[caption]->gobj(),
                                   nullptr, -1);

  // A hand moved while hidden is drawn where it is now once the window shows again.
  if (hand_layer_)
    hand_layer_->signal_map().connect([this] {
      drawn_tip_ = {twips_to_px(hand_line_.X2), twips_to_px(hand_line_.Y2)};
      hand_layer_->queue_draw();
    });
}

void ClockWindow::measure_hand() {
  hand_.measure(hand_line_);
}

void ClockWindow::on_back_clicked() {
  show_browser_.emit();
  hide();
}

void ClockWindow::on_readout_tick() {
  // One reading for both, so the time and the date always belong together, also at midnight.
  const ClockReadouts text = clock_readouts(clock_());
  set_readout(time_readout(), text.time_of_day);
  set_readout(date_readout(), text.date);
  if (auto* face = widgets_[kFaceRow]; face && text.time_of_day != face_time_) {
    face_time_ = text.time_of_day;
    accessible::set_description(*face, face_time_);
  }
}

void ClockWindow::on_hand_tick() {
  hand_.tick(hand_line_);
  // The hand moves about a sixth of a pixel a tick. Repaint its square only when it lands on
  // other pixels, and not at all while the window is off screen.
  const std::pair tip{twips_to_px(hand_line_.X2), twips_to_px(hand_line_.Y2)};
  if (tip == drawn_tip_ || !hand_layer_ || !hand_layer_->get_mapped()) return;
  drawn_tip_ = tip;
  hand_layer_->queue_draw();
}

}  // namespace vel
