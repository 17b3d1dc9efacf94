#pragma once

#include <gtkmm/box.h>

#include <string>
#include <vector>

#include "platform/web_engine.h"

namespace vel::test {

// A stand-in engine that records what it was asked and answers what the test sets.
class FakeEngine : public WebEngine {
 public:
  std::vector<std::string> calls;  // "prepare:<text>", "navigate:<text>", "back", ...
  bool fail_navigate = false;      // navigate() reports failure
  bool fail_empty = true;          // navigate("") reports failure, as the real engine does
  bool history_back = true, history_forward = true;
  bool busy_value = false;
  std::string title = "Fake page";
  std::string url = "http://fake.test/";
  bool offline = false;

  bool navigate(const std::string& address) override {
    calls.push_back("navigate:" + address);
    if (fail_navigate || (fail_empty && address.empty())) return false;
    return true;
  }
  void prepare(const std::string& address) override { calls.push_back("prepare:" + address); }
  bool go_back() override {
    calls.push_back("back");
    return history_back;
  }
  bool go_forward() override {
    calls.push_back("forward");
    return history_forward;
  }
  bool go_home() override {
    calls.push_back("home");
    return true;
  }
  bool go_search() override {
    calls.push_back("search");
    return true;
  }
  bool stop() override {
    calls.push_back("stop");
    return true;
  }
  bool refresh() override {
    calls.push_back("refresh");
    return true;
  }
  bool set_offline(bool value) override {
    calls.push_back(value ? "offline:true" : "offline:false");
    offline = value;
    return true;
  }
  bool busy() const override { return busy_value; }
  std::string location_name() const override { return title; }
  std::string location_url() const override { return url; }
  sigc::signal<void()>& signal_load_finished() override { return complete_; }
  Gtk::Widget& widget() override { return box_; }
  void find(const std::string& text, bool forward) override {
    calls.push_back("find:" + text + (forward ? ":next" : ":previous"));
  }
  void find_finish() override { calls.push_back("find-finish"); }
  void set_zoom(double level) override { zoom_level = level; }
  double zoom() const override { return zoom_level; }
  void print(Gtk::Window&) override { calls.push_back("print"); }
  double zoom_level = 1.0;

  void finish_load() { complete_.emit(); }
  void settle() { settled_.emit(); }

  FakeEngine() { box_.set_focusable(true); }

 private:
  sigc::signal<void()> complete_;
  Gtk::Box box_;
};

}  // namespace vel::test
