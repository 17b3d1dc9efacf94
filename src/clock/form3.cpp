#include "clock/form3.h"

#include <gdkmm/display.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/drawingarea.h>
#include <gtkmm/stylecontext.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "clock/form3_layout.h"
#include "clock/readout.h"
#include "config.h"
#include "platform/style.h"

namespace vel {
namespace {

std::string css_rgb(form3::Rgb c) {
  std::ostringstream out;
  out << "rgb(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
  return out.str();
}

std::string css_font(form3::Font f) {
  // fontconfig maps the design's Windows faces onto their installed stand-ins.
  return f == form3::Font::W
             ? "font-family: Arial; font-size: 9.75pt; font-weight: 400; font-style: normal;"
             : "font-family: \"MS Sans Serif\"; font-size: 8.25pt; font-weight: 400;"
               " font-style: normal;";
}

// The window's colours and fonts, written from its layout table, once per program.
void ensure_form3_style() {
  static bool done = false;
  auto display = Gdk::Display::get_default();
  if (done || !display) return;
  done = true;
  std::ostringstream css;
  css << "window.vel-form3 { background-color: " << css_rgb(form3::kBackground) << "; "
      << css_font(form3::Font::W) << " }\n"
      << "window.vel-form3 button { min-height: 0; min-width: 0; margin: 0; padding: 0 4px; }\n"
      << "window.vel-form3 label { padding: 0; margin: 0; }\n";
  for (const auto& c : form3::kControls) {
    if (c.kind == form3::Kind::Line) continue;
    css << "window.vel-form3 #" << c.name << " { " << css_font(c.font);
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
    form3::Rgb colour;
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
constexpr unsigned kHiddenBatchMs = 500;
// On screen the hand's tip moves about a sixth of a pixel a tick: six ticks to a wake-up move it
// about a pixel each time, as smooth as the screen can show, with a sixth of the wake-ups.
constexpr unsigned kShownHandBatchMs = 100;
}  // namespace

Form3::Form3(Clock clock) : clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return Glib::DateTime::create_now_local(); };
  ensure_style();
  ensure_form3_style();
  add_css_class("vel-form3");
  set_title(std::string(form3::kCaption));
  set_icon_name(std::string(config::kAppId) + "-clock");
  set_default_size(twips_to_px(form3::kClientWidth), twips_to_px(form3::kClientHeight));
  for (std::size_t i = 0; i < lines_.size(); ++i) lines_[i] = form3::kLines[i].design;
  build_controls();
  set_focus(*command1_);

  timer1_.signal_tick().connect([this] { Timer1_Timer(); });
  timer2_.signal_tick().connect([this] { Timer2_Timer(); });
  // Off screen nobody sees the ticks arrive: take them in batches, so a hidden clock wakes the
  // program a few times a second instead of seventy.
  unmap_ = signal_unmap().connect([this] {
    timer1_.set_batch_period(kHiddenBatchMs);
    timer2_.set_batch_period(kHiddenBatchMs);
  });
  map_ = signal_map().connect([this] {
    timer1_.set_batch_period(0);
    timer2_.set_batch_period(kShownHandBatchMs);
  });
  Form_Load();
  // Both timers run from creation; ticks arrive from the main loop, after the load step.
  timer1_.set_enabled(true);
  timer2_.set_enabled(true);
}

Form3::~Form3() {
  // The window unmaps after the timers are gone.
  unmap_.disconnect();
  map_.disconnect();
}

void Form3::build_controls() {
  fixed_ = Gtk::make_managed<Gtk::Fixed>();
  fixed_->set_size_request(twips_to_px(form3::kClientWidth), twips_to_px(form3::kClientHeight));
  set_child(*fixed_);

  // Consecutive lines of the stacking list share one drawing layer at their place in it.
  std::vector<int> run;
  const auto flush_lines = [&] {
    if (run.empty()) return;
    std::vector<LineLayer::Item> items;
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    const auto reach = [&](double x, double y) {
      left = std::min(left, x), top = std::min(top, y);
      right = std::max(right, x), bottom = std::max(bottom, y);
    };
    bool has_hand = false;
    for (int index : run) {
      const LineCoords& l = lines_[index];
      items.push_back({&l, form3::colour_of(form3::kLines[index].colour)});
      if (index == form3::kHandLine - 1) {
        // The hand sweeps a circle about its start point.
        has_hand = true;
        const double r = std::hypot(l.X1 - l.X2, l.Y1 - l.Y2);
        reach(l.X1 - r, l.Y1 - r);
        reach(l.X1 + r, l.Y1 + r);
      } else {
        reach(l.X1, l.Y1);
        reach(l.X2, l.Y2);
      }
    }
    // One pixel of room on each side for the pixel the line's end stands on.
    const int x = static_cast<int>(std::floor(left / kTwipsPerPixel)) - 1;
    const int y = static_cast<int>(std::floor(top / kTwipsPerPixel)) - 1;
    const int w = static_cast<int>(std::ceil(right / kTwipsPerPixel)) + 2 - x;
    const int h = static_cast<int>(std::ceil(bottom / kTwipsPerPixel)) + 2 - y;
    auto* layer = Gtk::make_managed<LineLayer>(PixelRect{x, y, w, h}, std::move(items));
    fixed_->put(*layer, x, y);
    for (int index : run) controls_.emplace(std::string(form3::kLines[index].name), layer);
    if (has_hand) hand_layer_ = layer;
    run.clear();
  };

  // Lowest first: GTK paints later children over earlier ones.
  for (auto it = form3::kControls.rbegin(); it != form3::kControls.rend(); ++it) {
    const form3::Control& c = *it;
    if (c.kind == form3::Kind::Line) {
      run.push_back(form3::line_index(c.name));
      continue;
    }
    flush_lines();
    const PixelRect r = to_pixels(c.rect);
    Gtk::Widget* widget = nullptr;
    if (c.kind == form3::Kind::Button) {
      command1_ = Gtk::make_managed<Gtk::Button>(std::string(c.caption));
      command1_->signal_clicked().connect([this] { Command1_Click(); });
      widget = command1_;
    } else {
      auto* text = Gtk::make_managed<FixedLabel>(std::string(c.caption), r.width, r.height);
      widget = text;
    }
    widget->set_name(std::string(c.name));
    widget->set_size_request(r.width, r.height);
    fixed_->put(*widget, r.x, r.y);
    controls_.emplace(std::string(c.name), widget);
  }
  flush_lines();

  // A hand moved while hidden is drawn where it is now once the window shows again.
  if (hand_layer_)
    hand_layer_->signal_map().connect([this] {
      const LineCoords& line = lines_[form3::kHandLine - 1];
      drawn_tip_ = {twips_to_px(line.X2), twips_to_px(line.Y2)};
      hand_layer_->queue_draw();
    });
}

Gtk::Widget* Form3::control(std::string_view name) const {
  const auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}

Gtk::Label* Form3::label(int number) const {
  return dynamic_cast<Gtk::Label*>(control("Label" + std::to_string(number)));
}

void Form3::set_clock(Clock clock) {
  if (clock) clock_ = std::move(clock);
}

void Form3::Form_Load() {
  hand_.load(lines_[form3::kHandLine - 1]);
}

void Form3::Command1_Click() {
  show_browser_.emit();
  hide();
}

void Form3::Timer1_Timer() {
  // One reading for both, so the time and the date always belong together, also at midnight.
  const ClockReadouts text = clock_readouts(clock_());
  Label2().set_text(text.time_of_day);
  Label4().set_text(text.date);
}

void Form3::Timer2_Timer() {
  LineCoords& line = lines_[form3::kHandLine - 1];
  hand_.tick(line);
  // The hand moves about a sixth of a pixel a tick. Repaint its square only when it lands on
  // other pixels, and not at all while the window is off screen.
  const std::pair tip{twips_to_px(line.X2), twips_to_px(line.Y2)};
  if (tip == drawn_tip_ || !hand_layer_ || !hand_layer_->get_mapped()) return;
  drawn_tip_ = tip;
  hand_layer_->queue_draw();
}

}  // namespace vel
