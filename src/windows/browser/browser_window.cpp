// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/browser/browser_window.h"

#include <gtkmm/entry.h>
#include <gtkmm/eventcontrollermotion.h>
#include <gtkmm/eventcontrollerscroll.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "config.h"
#include "core/builtin_addresses.h"
#include "toolkit/accessible.h"
#include "toolkit/address_popup.h"
#include "toolkit/hotspot.h"
#include "toolkit/launcher.h"
#include "toolkit/scaled_art.h"
#include "toolkit/style.h"
#include "windows/keys.h"

namespace vel {
namespace {

using browser_layout::Kind;

constexpr const char* kCaption = "Vel";
// The caption of a loaded page: its title, then this (the trailing space is the window's own).
constexpr const char* kCaptionSuffix = " - Vel ";
constexpr int kHintPanel = 1;
constexpr int kStatusPanel = 2;

// Lays a widget over the whole of the page's rectangle.
void cover_page(Gtk::Widget& widget, const PixelRect& page) {
  widget.set_halign(Gtk::Align::START);
  widget.set_valign(Gtk::Align::START);
  widget.set_margin_start(page.x);
  widget.set_margin_top(page.y);
  widget.set_size_request(page.width, page.height);
}

}  // namespace

BrowserWindow::BrowserWindow(std::unique_ptr<WebEngine> engine) : engine_(std::move(engine)) {
  ensure_style();
  set_title(kCaption);
  set_decorated(false);
  set_icon_name(config::kAppId);
  set_default_size(twips_to_px(browser_layout::kClientWidth),
                   twips_to_px(browser_layout::kClientHeight));
  build_actions();
  build_controls();
  keys::bind(*this, keys::kBrowserWindow, Gtk::PropagationPhase::CAPTURE);
  build_page_tools();

  load_monitor_.signal_tick().connect([this] { on_monitor_tick(); });
  load_finished_ = engine_->signal_load_finished().connect([this] { on_load_finished(); });
  // The monitor looks once more the moment the engine settles, not up to a period later.
  settled_ = engine_->signal_settled().connect([this] {
    load_monitor_.tick_soon();
    name_page();
  });
  title_changed_ = engine_->signal_title_changed().connect([this] { name_page(); });
  download_ = engine_->signal_download().connect(
      [this](const DownloadEvent& event) { on_download(event); });
  name_page();
}

BrowserWindow::~BrowserWindow() {
  load_finished_.disconnect();
  settled_.disconnect();
  title_changed_.disconnect();
  responsive_.disconnect();
  download_.disconnect();
  page_question_.disconnect();
  question_withdrawn_.disconnect();
  address_changed_.disconnect();
  // The engine owns its widget and goes before the window does: take the widget out first.
  fixed_->remove(engine_->widget());
}

void BrowserWindow::build_actions() {
  actions_ = Gio::SimpleActionGroup::create();
  // Failures (no page to go back to, nothing to stop) are ignored.
  actions_->add_action("back", [this] { engine_->go_back(); });
  actions_->add_action("forward", [this] { engine_->go_forward(); });
  actions_->add_action("stop", [this] { engine_->stop(); });
  // Escape in the address box puts back the shown page's address; elsewhere it stops the load.
  actions_->add_action("escape", [this] {
    auto* entry = address_box_->get_entry();
    auto* focus = get_focus();
    const bool in_box = focus && (focus == entry || focus->is_ancestor(*entry));
    if (!in_box)
      engine_->stop();
    else if (const std::string shown = engine_->uri(); !shown.empty())
      entry->set_text(shown);
  });
  actions_->add_action("reload", [this] { engine_->reload(); });
  actions_->add_action("home", [this] { engine_->load_home_page(); });
  actions_->add_action("search", [this] { engine_->load_search_page(); });
  actions_->add_action("new-document", [this] { on_new_document(); });
  actions_->add_action("open", [this] { on_open(); });
  actions_->add_action("online", [this] { engine_->set_offline(false); });
  actions_->add_action("offline", [this] { on_offline(); });
  actions_->add_action("focus-address", [this] {
    auto* entry = address_box_->get_entry();
    entry->grab_focus();
    entry->select_region(0, -1);
  });
  // Caret browsing lets keyboard users move through a page's text and select it.
  actions_->add_action("caret-browsing",
                       [this] { engine_->set_caret_browsing(!engine_->caret_browsing()); });
  insert_action_group("win", actions_);
}

void BrowserWindow::build_controls() {
  overlay_ = Gtk::make_managed<Gtk::Overlay>();
  fixed_ = Gtk::make_managed<Gtk::Fixed>();
  accessible::set_role(*overlay_, GTK_ACCESSIBLE_ROLE_GENERIC);
  accessible::set_role(*fixed_, GTK_ACCESSIBLE_ROLE_GENERIC);
  fixed_->set_size_request(twips_to_px(browser_layout::kClientWidth),
                           twips_to_px(browser_layout::kClientHeight));
  overlay_->set_child(*fixed_);
  set_child(*overlay_);

  // Lowest first: GTK gives the pointer to the uppermost widget, the last one put in.
  for (std::size_t i = browser_layout::kControls.size(); i-- > 0;) {
    const browser_layout::Control& c = browser_layout::kControls[i];
    Gtk::Widget* widget = build_control(c);
    widget->set_name(std::string(c.id));
    const std::string_view name = c.accessible_name.empty() ? c.tooltip : c.accessible_name;
    if (!name.empty()) accessible::set_label(*widget, std::string(name));
    widgets_[i] = widget;
    if (c.kind == Kind::StatusBar) {
      // Docked: the overlay keeps it along the bottom edge across the whole width.
      overlay_->add_overlay(*widget);
      continue;
    }
    const PixelRect r = to_pixels(c.rect);
    widget->set_size_request(r.width, r.height);
    fixed_->put(*widget, r.x, r.y);
  }
}

std::function<void()> BrowserWindow::write_hint(std::string_view hint) {
  return [this, hint] { status_bar_->set_panel_text(kHintPanel, std::string(hint)); };
}

Gtk::Widget* BrowserWindow::build_control(const browser_layout::Control& c) {
  const PixelRect r = to_pixels(c.rect);
  switch (c.kind) {
    case Kind::Banner: {
      const std::string art = std::string(config::kResourcePrefix) + "/banner";
      auto* picture =
          Gtk::make_managed<ScaledArt>(art + ".jpg", art + "@2x.png", r.width, r.height);
      auto motion = Gtk::EventControllerMotion::create();
      motion->signal_motion().connect([write = write_hint(c.hint)](double, double) { write(); });
      picture->add_controller(motion);
      return picture;
    }
    case Kind::Hotspot: {
      auto* spot = Gtk::make_managed<Hotspot>(std::string(c.id), r.width, r.height);
      if (!c.tooltip.empty()) {
        spot->set_tooltip_text(std::string(c.tooltip));
        accessible::set_description(*spot, std::string(c.tooltip));
      }
      if (!c.hint.empty()) spot->set_motion_handler(write_hint(c.hint));
      if (c.hint_on_click) spot->set_pointer_click_handler(write_hint(c.hint));
      if (!c.action.empty())
        spot->set_click_handler([spot, &c] { spot->activate_action(std::string(c.action)); });
      return spot;
    }
    case Kind::PageView:
      return &engine_->widget();
    case Kind::AddressBox: {
      address_box_ = Gtk::make_managed<Gtk::ComboBoxText>(true);
      address_box_->add_css_class("vel-address");
      auto* entry = address_box_->get_entry();
      accessible::set_label(*entry, std::string(c.accessible_name));
      address_popup_ = std::make_unique<AddressPopup>(*address_box_);
      entry->set_text(kHomeAddress);
      entry->signal_activate().connect([this] { on_address_activated(); });
      address_changed_ = address_box_->signal_changed().connect([this] {
        // Typing into the box also reports a change, with no list entry active: that is no
        // choice.
        if (address_box_->get_active_row_number() < 0) return;
        on_address_chosen();
        // Forget the active entry (the text stays), so choosing the same entry again is a new
        // choice.
        address_changed_.block();
        address_box_->set_active(-1);
        address_changed_.unblock();
      });
      return address_box_;
    }
    case Kind::StatusBar:
      status_bar_ =
          Gtk::make_managed<StatusBar>(twips_to_px(browser_layout::kPanelWidth), r.height);
      status_bar_->set_valign(Gtk::Align::END);
      status_bar_->set_halign(Gtk::Align::FILL);
      for (int panel = 1; const char* name : {"Hint", "Status", "Date", "Time"})
        status_bar_->set_panel_name(panel++, name);
      // The downloads under way take the free room at the right of the four panels.
      download_strip_ = Gtk::make_managed<DownloadStrip>();
      download_strip_->set_hexpand(true);
      download_strip_->signal_cancel().connect([this] { engine_->cancel_downloads(); });
      status_bar_->append(*download_strip_);
      return status_bar_;
  }
  return nullptr;
}

// --- Start-up and the address box -------------------------------------------------------------

void BrowserWindow::present_and_open(const std::string& address) {
  present();
  control(browser_layout::Role::Banner).queue_draw();
  engine_->widget().grab_focus();
  if (address.empty()) return;
  address_box_->get_entry()->set_text(address);
  remember(address_box_->get_entry()->get_text());
  load_monitor_.set_enabled(true);
  engine_->navigate(address);
}

void BrowserWindow::mark_private() {
  auto* entry = address_box_->get_entry();
  address_box_->add_css_class("vel-private");
  constexpr const char* kPrivate = "Private: nothing of this run is kept";
  entry->set_tooltip_text(kPrivate);
  accessible::set_description(*entry, kPrivate);
}

void BrowserWindow::tell(const std::string& text, const std::string& detail) {
  message_box_.show(*this, text, detail);
}

void BrowserWindow::on_address_chosen() {
  load_monitor_.set_enabled(true);
  const std::string text = address_box_->get_entry()->get_text();
  if (text.empty()) return;
  engine_->navigate(text);
}

void BrowserWindow::on_address_activated() {
  // Unlike a choice from the list, Enter does not start the progress monitor.
  const Glib::ustring text = address_box_->get_entry()->get_text();
  // A refused address is not worth remembering.
  if (!engine_->navigate(text)) return;
  remember(text);
}

void BrowserWindow::remember(const Glib::ustring& text) {
  // Every entry as it came, duplicates and empty texts too; the list never drops one.
  address_box_->append(text);
}

void BrowserWindow::on_load_finished() {
  find_bar_->close();  // its matches were in the page before
  address_box_->get_entry()->set_text(engine_->uri());
}

void BrowserWindow::name_page() {
  // The page view is known by its page's title, as the caption shows it.
  const std::string title = engine_->title();
  accessible::set_label(engine_->widget(), title.empty() ? "Page" : title);
}

// --- The page-load progress monitor -----------------------------------------------------------

void BrowserWindow::on_monitor_tick() {
  if (!engine_->is_loading()) {
    load_monitor_.set_enabled(false);
    status_bar_->set_panel_text(kStatusPanel, "Done");
    set_title(engine_->title() + kCaptionSuffix);
    return;
  }
  status_bar_->set_panel_text(kStatusPanel, "Opening...");
  set_title(kCaption);
}

// --- Downloads -------------------------------------------------------------------------------

void BrowserWindow::on_download(const DownloadEvent& event) {
  using Stage = DownloadEvent::Stage;
  if (event.stage == Stage::Started || event.stage == Stage::Progress) {
    downloads_[event.id] = {std::filesystem::path(event.file).filename().string(), event.received,
                            event.total};
  } else {
    downloads_.erase(event.id);
    if (event.stage == Stage::Finished) tell_saved(*this, event.file);
    if (event.stage == Stage::Failed) tell_not_saved(*this, event.file, event.error);
  }
  std::vector<DownloadProgress> shown;
  for (const auto& [id, progress] : downloads_) shown.push_back(progress);
  // The keyboard on a Cancel that goes away goes back to the page.
  const auto* focus = get_focus();
  const bool keyboard_on_strip = focus && focus->is_ancestor(*download_strip_);
  download_strip_->show_downloads(shown);
  if (shown.empty() && keyboard_on_strip) engine_->widget().grab_focus();
}

// --- Document and connection commands ----------------------------------------------------------

void BrowserWindow::on_new_document() {
  const LaunchResult result = start_text_editor();
  if (!result.started) message_box_.show(*this, "No text editor could be started.", result.error);
}

void BrowserWindow::on_open() {
  // A cancelled dialog leaves the page as it is; a file that cannot be read ends in the engine's
  // error page.
  file_dialog_.show_open([this](const std::string& path) { engine_->navigate(path); });
}

void BrowserWindow::on_offline() {
  if (!engine_->set_offline(true))
    message_box_.show(*this, "Vel could not switch to working offline.",
                      "Pages may still be loaded from the network.");
}

// --- The page's questions, find, zoom and print: over the page, inside its rectangle -------------

void BrowserWindow::build_page_tools() {
  using browser_layout::Role;
  const PixelRect page = to_pixels(browser_layout::row(Role::PageView).rect);
  const PixelRect status = to_pixels(browser_layout::row(Role::StatusBar).rect);
  // The page's question, in the page: below the page's tools, so that they stay at hand. The rest
  // of the window goes on working; a command that leaves the page takes the question back.
  page_dialog_ = Gtk::make_managed<PageDialog>(engine_->widget());
  cover_page(*page_dialog_, page);
  overlay_->add_overlay(*page_dialog_);
  page_question_ = engine_->signal_page_question().connect([this](const PageQuestion& question) {
    page_dialog_->ask(question, [this](const PageAnswer& answer) { engine_->answer_page(answer); });
  });
  question_withdrawn_ =
      engine_->signal_page_question_withdrawn().connect([this] { page_dialog_->withdraw(); });
  auto dialog_cancel = actions_->add_action("dialog-cancel", [this] { page_dialog_->cancel(); });
  dialog_cancel->set_enabled(false);
  page_dialog_->signal_focus_within().connect(
      [dialog_cancel](bool in) { dialog_cancel->set_enabled(in); });

  // Both keep 16 px from the page's right edge.
  const int from_right = twips_to_px(browser_layout::kClientWidth) - page.x - page.width + 16;
  find_bar_ = Gtk::make_managed<FindBar>(*engine_);
  // Along the bottom of the page, just above the status bar, at its right.
  find_bar_->set_halign(Gtk::Align::END);
  find_bar_->set_valign(Gtk::Align::END);
  find_bar_->set_margin_end(from_right);
  find_bar_->set_margin_bottom(twips_to_px(browser_layout::kClientHeight) - status.y);
  overlay_->add_overlay(*find_bar_);
  zoom_badge_ = Gtk::make_managed<ZoomBadge>();
  zoom_badge_->set_halign(Gtk::Align::END);
  zoom_badge_->set_valign(Gtk::Align::START);
  zoom_badge_->set_margin_top(page.y + 12);
  zoom_badge_->set_margin_end(from_right);
  overlay_->add_overlay(*zoom_badge_);

  actions_->add_action("find", [this] { find_bar_->open(); });
  actions_->add_action("find-next", [this] { find_bar_->step(true); });
  actions_->add_action("find-previous", [this] { find_bar_->step(false); });
  auto find_close = actions_->add_action("find-close", [this] { find_bar_->close(); });
  find_close->set_enabled(false);
  find_bar_->signal_focus_within().connect([find_close](bool in) { find_close->set_enabled(in); });
  actions_->add_action("zoom-in", [this] { zoom_step(1); });
  actions_->add_action("zoom-out", [this] { zoom_step(-1); });
  actions_->add_action("zoom-reset", [this] { zoom_step(0); });
  actions_->add_action("print", [this] { engine_->print(*this); });
  actions_->add_action("downloads", [this] { download_strip_->focus_cancel(); });

  // Over the whole page while it does not answer: Wait watches it afresh, Stop (the button or the
  // command) ends its process and the crashed page's message takes its place.
  page_notice_ = Gtk::make_managed<PageNotice>();
  cover_page(*page_notice_, page);
  overlay_->add_overlay(*page_notice_);
  page_notice_->signal_wait().connect([this] {
    page_notice_->dismiss(&engine_->widget());
    engine_->keep_waiting();
  });
  page_notice_->signal_stop().connect([this] { engine_->stop(); });
  responsive_ = engine_->signal_responsive().connect([this](bool responsive) {
    if (responsive)
      page_notice_->dismiss(&engine_->widget());
    else
      page_notice_->show_for(engine_->uri());
  });
  actions_->add_action("close", [this] { close(); });

  // Ctrl with the wheel zooms, ahead of the page, which would scroll.
  auto wheel = Gtk::EventControllerScroll::create();
  wheel->set_flags(Gtk::EventControllerScroll::Flags::VERTICAL |
                   Gtk::EventControllerScroll::Flags::DISCRETE);
  wheel->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
  wheel->signal_scroll().connect(
      [this, w = wheel.get()](double, double dy) {
        if ((w->get_current_event_state() & Gdk::ModifierType::CONTROL_MASK) !=
                Gdk::ModifierType::CONTROL_MASK ||
            dy == 0)
          return false;
        zoom_step(dy < 0 ? 1 : -1);
        return true;
      },
      false);
  add_controller(wheel);
}

void BrowserWindow::zoom_step(int direction) {
  const int level =
      next_zoom_level(static_cast<int>(std::lround(engine_->zoom() * 100)), direction);
  engine_->set_zoom(level / 100.0);
  zoom_badge_->show_level(level);
}

}  // namespace vel
