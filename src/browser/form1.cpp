#include "browser/form1.h"

#include <gdk/gdkkeysyms.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventcontrollermotion.h>
#include <gtkmm/shortcutcontroller.h>

#include "about/form2.h"
#include "browser/form1_layout.h"
#include "config.h"
#include "platform/builtin_pages.h"
#include "platform/launcher.h"
#include "platform/style.h"

namespace vel {
namespace {

constexpr const char* kCaption = "Vel";
constexpr const char* kCaptionSuffix = " - Vel ";

// Names for screen readers: the painted toolbar has no text a reader could find.
std::string_view accessible_name(const form1::Control& c) {
  static constexpr std::pair<std::string_view, std::string_view> kNames[] = {
      {"Image2", "Back"},
      {"Label1", "Back"},
      {"Image3", "Forward"},
      {"Label2", "Forward"},
      {"Image4", "Stop"},
      {"Label3", "Stop"},
      {"Image5", "Refresh"},
      {"Label4", "Refresh"},
      {"Image6", "Home"},
      {"Label5", "Home"},
      {"Image7", "Search"},
      {"Label6", "Search"},
      {"Label16", "About Vel Browser"},
      {"Image1", "Vel Browser toolbar"}};
  for (const auto& [name, text] : kNames)
    if (name == c.name) return text;
  return c.tooltip;
}

}  // namespace

Form1::Form1(std::unique_ptr<WebEngine> engine) : engine_(std::move(engine)) {
  ensure_style();
  set_title(kCaption);
  set_decorated(false);
  set_icon_name(config::kAppId);
  set_default_size(twips_to_px(form1::kClientWidth), twips_to_px(form1::kClientHeight));
  build_controls();
  build_shortcuts();

  property_default_width().signal_changed().connect([this] { Form_Resize(); });
  property_default_height().signal_changed().connect([this] { Form_Resize(); });
  tim_timer_.signal_tick().connect([this] { timTimer_Timer(); });
  timer1_.signal_tick().connect([this] { Timer1_Timer(); });
  download_complete_ =
      engine_->signal_load_finished().connect([this] { brwWebBrowser_DownloadComplete(); });
  // The monitor looks once more the moment the engine settles, not up to a period later.
  settled_ = engine_->signal_settled().connect([this] { tim_timer_.tick_soon(); });
}

Form1::~Form1() {
  download_complete_.disconnect();
  settled_.disconnect();
  combo_changed_.disconnect();
  // The engine owns its widget and goes before the window does: take the widget out first.
  fixed_->remove(engine_->widget());
}

void Form1::build_controls() {
  overlay_ = Gtk::make_managed<Gtk::Overlay>();
  fixed_ = Gtk::make_managed<Gtk::Fixed>();
  fixed_->set_size_request(twips_to_px(form1::kClientWidth), twips_to_px(form1::kClientHeight));
  overlay_->set_child(*fixed_);
  set_child(*overlay_);

  // Lowest first: GTK gives the pointer to the uppermost widget, the last one put in.
  for (auto it = form1::kControls.rbegin(); it != form1::kControls.rend(); ++it) {
    const form1::Control& c = *it;
    const PixelRect r = to_pixels(c.rect);
    Gtk::Widget* widget = nullptr;
    switch (c.kind) {
      case form1::Kind::Banner: {
        auto* picture = Gtk::make_managed<Gtk::Picture>();
        picture->set_resource(std::string(config::kResourcePrefix) + "/banner.jpg");
        picture->set_can_shrink(false);
        picture->set_keep_aspect_ratio(false);
        auto motion = Gtk::EventControllerMotion::create();
        motion->signal_motion().connect([this](double, double) { Image1_MouseMove(); });
        picture->add_controller(motion);
        widget = picture;
        break;
      }
      case form1::Kind::Label:
      case form1::Kind::Image: {
        auto* spot = Gtk::make_managed<Hotspot>(std::string(c.name), r.width, r.height);
        if (!c.tooltip.empty()) spot->set_tooltip_text(std::string(c.tooltip));
        if (auto name = accessible_name(c); !name.empty())
          spot->set_accessible_name(std::string(name));
        widget = spot;
        break;
      }
      case form1::Kind::Browser:
        widget = &engine_->widget();
        break;
      case form1::Kind::AddressBox: {
        cbo_address_ = Gtk::make_managed<Gtk::ComboBoxText>(true);
        cbo_address_->add_css_class("vel-address");
        auto* entry = cbo_address_->get_entry();
        entry->set_text(kHomeAddress);
        entry->signal_activate().connect([this] { cboAddress_KeyPress(13); });
        combo_changed_ =
            cbo_address_->signal_changed().connect(sigc::mem_fun(*this, &Form1::on_combo_changed));
        widget = cbo_address_;
        break;
      }
      case form1::Kind::StatusBar: {
        // Docked: the overlay keeps it along the bottom edge across the whole width.
        status_bar_ = Gtk::make_managed<StatusBar>(twips_to_px(form1::kPanelWidth), r.height);
        status_bar_->set_valign(Gtk::Align::END);
        status_bar_->set_halign(Gtk::Align::FILL);
        overlay_->add_overlay(*status_bar_);
        status_bar_->set_name(std::string(c.name));
        controls_.emplace(std::string(c.name), status_bar_);
        continue;
      }
    }
    widget->set_name(std::string(c.name));
    widget->set_size_request(r.width, r.height);
    fixed_->put(*widget, r.x, r.y);
    controls_.emplace(std::string(c.name), widget);
  }

  // Wire the toolbar by name, as the layout table names the controls.
  const std::pair<const char*, void (Form1::*)()> clicks[] = {
      {"Label1", &Form1::Label1_Click}, {"Label2", &Form1::Label2_Click},
      {"Label3", &Form1::Label3_Click}, {"Label4", &Form1::Label4_Click},
      {"Label5", &Form1::Label5_Click}, {"Label6", &Form1::Label6_Click},
      {"Image2", &Form1::Image2_Click}, {"Image3", &Form1::Image3_Click},
      {"Image4", &Form1::Image4_Click}, {"Image5", &Form1::Image5_Click},
      {"Image6", &Form1::Image6_Click}, {"Image7", &Form1::Image7_Click},
  };
  for (const auto& [name, handler] : clicks)
    hotspot(name)->on_click([this, h = handler] { (this->*h)(); });
  const std::pair<const char*, void (Form1::*)()> moves[] = {
      {"Image2", &Form1::Image2_MouseMove}, {"Image3", &Form1::Image3_MouseMove},
      {"Image4", &Form1::Image4_MouseMove}, {"Image5", &Form1::Image5_MouseMove},
      {"Image6", &Form1::Image6_MouseMove}, {"Image7", &Form1::Image7_MouseMove},
  };
  for (const auto& [name, handler] : moves)
    hotspot(name)->on_motion([this, h = handler] { (this->*h)(); });

  hotspot("Label15")->on_click([this] { time_zone_.emit(); });
  hotspot("Label16")->on_click([this] { Label16_Click(); });
  hotspot("Label7")->on_click([this] { Label7_Click(); });
  hotspot("Label8")->on_click([this] { Label8_Click(); });
  hotspot("Label10")->on_click([this] { Label10_Click(); });
  hotspot("Label11")->on_click([this] { Label11_Click(); });
  hotspot("Label13")->on_click([this] { exit_.emit(); });
  hotspot("Label14")->on_click([this] { exit_.emit(); });
}

void Form1::build_shortcuts() {
  auto controller = Gtk::ShortcutController::create();
  // Ahead of the web view and the address box, which would otherwise take these keys.
  controller->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
  controller->set_scope(Gtk::ShortcutScope::LOCAL);
  auto add = [&](const char* trigger, std::function<void()> action) {
    controller->add_shortcut(Gtk::Shortcut::create(
        Gtk::ShortcutTrigger::parse_string(trigger),
        Gtk::CallbackAction::create([action](Gtk::Widget&, const Glib::VariantBase&) {
          action();
          return true;
        })));
  };
  add("<Alt>Left", [this] { Label1_Click(); });
  add("<Alt>Right", [this] { Label2_Click(); });
  add("Escape", [this] { Label3_Click(); });
  add("F5", [this] { Label4_Click(); });
  add("<Control>r", [this] { Label4_Click(); });
  add("<Alt>Home", [this] { Label5_Click(); });
  add("<Control>l", [this] {
    auto* entry = cbo_address_->get_entry();
    entry->grab_focus();
    entry->select_region(0, -1);
  });
  add_controller(controller);
}

Hotspot* Form1::hotspot(std::string_view name) const {
  return dynamic_cast<Hotspot*>(control(name));
}

Gtk::Widget* Form1::control(std::string_view name) const {
  const auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}

std::vector<std::string> Form1::address_list() const {
  std::vector<std::string> items;
  auto model = cbo_address_->get_model();
  if (!model) return items;
  for (const auto& row : model->children()) {
    Glib::ustring text;
    row.get_value(0, text);
    items.push_back(text);
  }
  return items;
}

// --- Start-up and the address box -------------------------------------------------------------

void Form1::Form_Load() {
  present();
  if (auto* banner = control("Image1")) banner->queue_draw();
  Form_Resize();
  engine_->widget().grab_focus();
  if (StartingAddress.empty()) return;
  cbo_address_->get_entry()->set_text(StartingAddress);
  append_to_list(cbo_address_->get_entry()->get_text());
  tim_timer_.set_enabled(true);
  engine_->navigate(StartingAddress);
}

void Form1::Form_Resize() {
  // Every control keeps its design rectangle; only the docked status bar follows the bottom edge,
  // and the overlay does that by itself.
}

void Form1::on_combo_changed() {
  // Typing into the box also reports a change, with no list entry active: that is no choice.
  if (cbo_address_->get_active_row_number() < 0) return;
  cboAddress_Click();
  // Forget the active entry (the text stays), so choosing the same entry again is a new choice.
  combo_changed_.block();
  cbo_address_->set_active(-1);
  combo_changed_.unblock();
}

void Form1::cboAddress_Click() {
  tim_timer_.set_enabled(true);
  const std::string text = cbo_address_->get_entry()->get_text();
  if (text.empty()) return;
  engine_->navigate(text);
}

void Form1::cboAddress_KeyPress(unsigned key_code) {
  if (key_code != 13) return;
  auto* entry = cbo_address_->get_entry();
  const std::string text = entry->get_text();
  // A refused address is not worth remembering.
  if (!engine_->navigate(text)) return;
  append_to_list(entry->get_text());
}

void Form1::append_to_list(const std::string& text) {
  history_.append(text);
  cbo_address_->append(text);
}

void Form1::brwWebBrowser_DownloadComplete() {
  cbo_address_->get_entry()->set_text(engine_->location_url());
}

// --- The page-load progress monitor -----------------------------------------------------------

void Form1::timTimer_Timer() {
  if (!engine_->busy()) {
    tim_timer_.set_enabled(false);
    status_bar_->set_panel_text(2, "Done");
    set_title(engine_->location_name() + kCaptionSuffix);
    return;
  }
  status_bar_->set_panel_text(2, "Opening...");
  set_title(kCaption);
}

// --- Toolbar buttons --------------------------------------------------------------------------

// Failures (no page to go back to, nothing to stop) are ignored.
void Form1::Label1_Click() {
  engine_->go_back();
}
void Form1::Label2_Click() {
  engine_->go_forward();
}
void Form1::Label3_Click() {
  engine_->stop();
}
void Form1::Label4_Click() {
  engine_->refresh();
}
void Form1::Label5_Click() {
  engine_->go_home();
}
void Form1::Label6_Click() {
  engine_->go_search();
}

void Form1::Image2_Click() {
  status_bar_->set_panel_text(1, "  Back");
  Label1_Click();
}
void Form1::Image3_Click() {
  Label2_Click();
}
void Form1::Image4_Click() {
  Label3_Click();
}
void Form1::Image5_Click() {
  Label4_Click();
}
void Form1::Image6_Click() {
  Label5_Click();
}
void Form1::Image7_Click() {
  Label6_Click();
}

void Form1::Image1_MouseMove() {
  status_bar_->set_panel_text(1, "  ");
}
void Form1::Image2_MouseMove() {
  status_bar_->set_panel_text(1, "  Back");
}
void Form1::Image3_MouseMove() {
  status_bar_->set_panel_text(1, "  Forward");
}
void Form1::Image4_MouseMove() {
  status_bar_->set_panel_text(1, "  Stop");
}
void Form1::Image5_MouseMove() {
  status_bar_->set_panel_text(1, "  Refresh");
}
void Form1::Image6_MouseMove() {
  status_bar_->set_panel_text(1, "  Home");
}
void Form1::Image7_MouseMove() {
  status_bar_->set_panel_text(1, "  Search");
}

// --- Document, connection and window commands --------------------------------------------------

void Form1::Label7_Click() {
  const LaunchResult result = start_text_editor();
  if (!result.started) message_.show(*this, "No text editor could be started.", result.error);
}

void Form1::Label8_Click() {
  // A cancelled dialog leaves the page as it is; a file that cannot be read ends in the engine's
  // error page.
  common_dialog1_.show_open([this](const std::string& path) { engine_->navigate(path); });
}

void Form1::Label10_Click() {
  engine_->set_offline(false);
}

void Form1::Label11_Click() {
  if (!engine_->set_offline(true))
    message_.show(*this, "Vel could not switch to working offline.",
                  "Pages may still be loaded from the network.");
}

void Form1::Label16_Click() {
  if (!about_window_) return;
  Form2& about = about_window_();
  about.present();
  about.set_Width(0.0f);
  about.set_Height(0.0f);
  timer1_.set_enabled(true);
}

void Form1::Timer1_Timer() {
  if (!about_window_) {
    timer1_.set_enabled(false);
    return;
  }
  Form2& about = about_window_();
  const about::GrowthStep step = about::grow(about.requested_size(), about.minimum_size());
  about.set_Width(step.requested.width);
  about.set_Height(step.requested.height);
  if (step.stop) timer1_.set_enabled(false);
}

}  // namespace vel
