// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/box.h>

#include <string>
#include <vector>

#include "engine/web_engine.h"

namespace vel::test {

// A stand-in engine that records what it was asked and answers what the test sets.
class FakeEngine : public WebEngine {
 public:
  std::vector<std::string> calls;  // "prepare:<text>", "navigate:<text>", "back", ...
  bool history_back = true, loading_value = false, caret = false;
  std::string page_title = "Fake page", page_uri = "http://fake.test/";

  FakeEngine() { box_.set_focusable(true); }

  // navigate("") fails, as the real one does.
  bool navigate(const std::string& address) override {
    return record("navigate:" + address, !address.empty());
  }
  void prepare(const std::string& address) override { record("prepare:" + address); }
  bool go_back() override { return record("back", history_back); }
  bool go_forward() override { return record("forward"); }
  void load_home_page() override { record("home"); }
  void load_search_page() override { record("search"); }
  void stop() override { record("stop"); }
  bool reload() override { return record("reload"); }
  bool set_offline(bool value) override { return record(value ? "offline:true" : "offline:false"); }
  void set_caret_browsing(bool on) override { record((caret = on) ? "caret:true" : "caret:false"); }
  bool caret_browsing() const override { return caret; }
  bool is_loading() const override { return loading_value; }
  std::string title() const override { return page_title; }
  std::string uri() const override { return page_uri; }
  Gtk::Widget& widget() override { return box_; }
  void find(const std::string& text, bool forward) override {
    calls.push_back("find:" + text + (forward ? ":next" : ":previous"));
  }
  void find_finish() override { calls.push_back("find-finish"); }
  void set_zoom(double level) override { zoom_level = level; }
  double zoom() const override { return zoom_level; }
  void print(Gtk::Window&) override { calls.push_back("print"); }
  void cancel_downloads() override { calls.push_back("cancel-downloads"); }
  double zoom_level = 1.0;

  void finish_load() { load_finished_.emit(); }
  void settle() { settled_.emit(); }
  void download(const DownloadEvent& event) { download_.emit(event); }

 private:
  bool record(std::string call, bool result = true) {
    calls.push_back(std::move(call));
    return result;
  }
  Gtk::Box box_;
};

}  // namespace vel::test
