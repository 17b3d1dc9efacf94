// SPDX-License-Identifier: GPL-3.0-or-later
// A page's script dialogs come in Vel's own window: from the third of one load on, each offers to
// block the rest, a blocked page's dialogs answer as dismissed until its next load, and leaving a
// page is never held up by one.
#include <gtest/gtest.h>

#include "support/engine_window.h"
#include "toolkit/script_dialog.h"
#include "windows/browser/browser_window.h"

using namespace vel;

namespace {

struct Dialogs : test::EngineWindow {
  Dialogs() { server.add_page("/a.html", test::titled_page("A")); }

  void open(const std::string& path, const std::string& body) {
    server.add_page(path,
                    test::titled_page("Page", "<script>setTimeout(() => {" + body + "})</script>"));
    engine().navigate(server.uri(path));
  }

  // Waits for the page's dialog saying `message`, shown and ready for the pointer.
  ScriptDialog& dialog(const std::string& message) {
    ScriptDialog* found = nullptr;
    test::run_until([&] {
      for (Gtk::Window* w : Gtk::Window::list_toplevels())
        if (auto* d = dynamic_cast<ScriptDialog*>(w); d && d->get_mapped() &&
                                                      d->message().get_text().raw() == message &&
                                                      d->ok_button().get_width())
          found = d;
      return found != nullptr;
    });
    if (!found) throw std::runtime_error("no dialog says " + message + "; the page is " + title());
    return *found;
  }
};

}  // namespace

TEST_F(Dialogs, TheThirdOffersBlockingWhichDismissesTheRestUntilTheNextLoad) {
  open("/storm.html", R"(
    for (let n = 1; n <= 5; ++n) alert('Alert ' + n);
    document.title = 'Done ' + confirm('Sure?') + ' ' + prompt('Name?', 'x');)");
  for (const char* message : {"Alert 1", "Alert 2"}) {
    ScriptDialog& shown = dialog(message);
    EXPECT_FALSE(shown.block_button().get_visible());
    input.click(shown, shown.ok_button());
  }
  ScriptDialog& third = dialog("Alert 3");
  ASSERT_TRUE(third.block_button().get_visible());
  EXPECT_NE(third.block_button().get_label().find("Block further dialogs"), std::string::npos);
  input.click(third, third.block_button());
  ASSERT_SOON(third.block_button().get_active());
  input.click(third, third.ok_button());
  EXPECT_SOON(title() == "Done false null") << title();
  EXPECT_EQ(test::visible_windows(), 1);  // the browser window alone

  window->activate_action("win.reload");
  ScriptDialog& again = dialog("Alert 1");
  EXPECT_FALSE(again.block_button().get_visible());
  // A new address while the page waits for its answer.
  test::enter_address(*window, server.uri("/a.html"));
  EXPECT_SOON(title() == "A" && !engine().is_loading()) << title();
  EXPECT_EQ(test::visible_windows(), 1);  // the browser window alone
}

TEST_F(Dialogs, ConfirmAndPromptCarryTheAnswer) {
  open("/ask.html", "document.title = confirm('Sure?') + ' ' + prompt('Name?', 'x');");
  ScriptDialog& confirm = dialog("Sure?");
  EXPECT_TRUE(confirm.cancel_button().get_visible());
  input.click(confirm, confirm.ok_button());
  ScriptDialog& prompt = dialog("Name?");
  EXPECT_EQ(prompt.entry().get_text(), "x");
  prompt.entry().set_text("Vel");
  input.click(prompt, prompt.ok_button());
  EXPECT_SOON(title() == "true Vel") << title();
}

TEST_F(Dialogs, APageThatAsksToStayIsLeftAtOnce) {
  server.add_page(
      "/stay.html",
      test::titled_page(
          "Stay",
          "<script>onbeforeunload = e => { e.preventDefault(); return 'Stay'; };</script>"));
  load([&] { engine().navigate(server.uri("/stay.html")); });
  // The page asks only once the user has done something in it.
  click_page();
  test::enter_address(*window, server.uri("/a.html"));
  EXPECT_SOON(title() == "A" && !engine().is_loading()) << title();
  EXPECT_EQ(test::visible_windows(), 1);  // the browser window alone
}
