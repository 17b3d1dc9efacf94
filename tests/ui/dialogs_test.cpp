// SPDX-License-Identifier: GPL-3.0-or-later
// A page's questions (alert, confirm, prompt, whether to leave it, a site's sign-in) are drawn
// inside the page, with real keys and clicks: the rest of the window goes on working, a command
// that leaves the page takes the question back, and from the third of one load on each offers to
// block the rest.
#include <gtest/gtest.h>

#include "support/engine_window.h"
#include "toolkit/page_dialog.h"
#include "windows/browser/browser_window.h"

using namespace vel;

namespace {

struct Dialogs : test::EngineWindow {
  Dialogs() {
    server.add_page("/a.html", test::titled_page("A"));
    input.focus(*window);
  }

  void open(const std::string& path, const std::string& body) {
    server.add_page(path,
                    test::titled_page("Page", "<script>setTimeout(() => {" + body + "})</script>"));
    engine().navigate(server.uri(path));
  }

  PageDialog& shown() { return test::Seam::page_dialog(*window); }
  bool focus_in(Gtk::Widget& widget) {
    const Gtk::Widget* focus = window->get_focus();
    return focus && (focus == &widget || focus->is_ancestor(widget));
  }
  // Waits for the page's question saying `message`, drawn, with the keyboard in it.
  PageDialog& dialog(const std::string& message) {
    PageDialog& d = shown();
    if (!test::run_until([&] {
          return d.get_mapped() && d.message().get_text().raw() == message &&
                 d.ok_button().get_width() > 0 && focus_in(d.card());
        }))
      throw std::runtime_error("no dialog says " + message + "; the page is " + title() +
                               ", the dialog says " + d.message().get_text().raw());
    return d;
  }
  // Ctrl+L, the address, Enter: all real keys.
  void type_address(const std::string& address) {
    input.press_key("l", {"Control_L"});
    ASSERT_SOON(focus_in(*test::Seam::address_box(*window).get_entry()));
    input.type(address);
    input.press_key("Return");
  }
};

}  // namespace

TEST_F(Dialogs, TheThirdOffersBlockingWhichDismissesTheRestUntilTheNextLoad) {
  open("/storm.html", R"(
    for (let n = 1; n <= 5; ++n) alert('Alert ' + n);
    document.title = 'Done ' + confirm('Sure?') + ' ' + prompt('Name?', 'x');)");
  PageDialog& d = dialog("Alert 1");
  // Inside the page's rectangle, below the banner and the address box, and no window of its own.
  Gtk::Widget& page = test::Seam::control(*window, test::Role::PageView);
  double x = 0, y = 0, page_x = 0, page_y = 0;
  ASSERT_TRUE(d.card().translate_coordinates(*window, 0, 0, x, y));
  ASSERT_TRUE(page.translate_coordinates(*window, 0, 0, page_x, page_y));
  EXPECT_GE(y, page_y);
  EXPECT_LE(y + d.card().get_height(), page_y + page.get_height());
  EXPECT_GE(x, page_x);
  EXPECT_EQ(test::visible_windows(), 1);
  EXPECT_FALSE(d.block_button().get_visible());
  input.press_key("Return");
  dialog("Alert 2");
  input.click(*window, d.ok_button());
  dialog("Alert 3");
  ASSERT_TRUE(d.block_button().get_visible());
  EXPECT_NE(d.block_button().get_label().find("Block further dialogs"), std::string::npos);
  input.click(*window, d.block_button());
  ASSERT_SOON(d.block_button().get_active());
  input.click(*window, d.ok_button());
  EXPECT_SOON(title() == "Done false null") << title();
  EXPECT_FALSE(d.get_visible());

  // Blocking lasts until the page loads again; a new address while the page waits goes at once,
  // and none of the old page's dialogs shows over the new one.
  input.press_key("F5");
  dialog("Alert 1");
  EXPECT_FALSE(d.block_button().get_visible());
  type_address(server.uri("/a.html"));
  EXPECT_SOON(title() == "A" && !engine().is_loading()) << title();
  EXPECT_FALSE(d.get_visible());
}

// A page that asks without end: the address box, its list and the keys work all along.
TEST_F(Dialogs, ADialogStormDoesNotHoldTheWindow) {
  open("/endless.html", "for (let n = 1; ; ++n) alert('Storm ' + n);");
  PageDialog& d = dialog("Storm 1");
  // Escape in the address box puts back the page's address there, and leaves the question be.
  Gtk::Entry& box = *test::Seam::address_box(*window).get_entry();
  input.press_key("l", {"Control_L"});
  ASSERT_SOON(focus_in(box));
  input.type("elsewhere");
  ASSERT_SOON(box.get_text() == "elsewhere");
  input.press_key("Escape");
  EXPECT_SOON(box.get_text().raw() == url());
  EXPECT_TRUE(d.get_visible());
  type_address(server.uri("/a.html"));
  EXPECT_SOON(title() == "A" && !engine().is_loading()) << title();
  EXPECT_FALSE(d.get_visible());
  EXPECT_EQ(test::visible_windows(), 1);
}

TEST_F(Dialogs, ConfirmAndPromptAreAnsweredByKeys) {
  open("/ask.html", "document.title = confirm('Sure?') + ' ' + prompt('Name?', 'x');");
  // Enter is OK; typing replaces the prompt's offered text.
  dialog("Sure?");
  input.press_key("Return");
  PageDialog& d = dialog("Name?");
  EXPECT_EQ(d.entry().get_text(), "x");
  EXPECT_TRUE(focus_in(d.entry()));
  input.type("Vel");
  input.press_key("Return");
  EXPECT_SOON(title() == "true Vel") << title();

  // Tab goes round the controls (OK, then Cancel); Escape cancels.
  input.press_key("F5");
  dialog("Sure?");
  EXPECT_TRUE(focus_in(d.ok_button()));
  input.press_key("Tab");
  ASSERT_SOON(focus_in(d.cancel_button()));
  input.press_key("Tab");
  ASSERT_SOON(focus_in(d.ok_button()));
  input.press_key("Tab", {"Shift_L"});
  ASSERT_SOON(focus_in(d.cancel_button()));
  input.press_key("Return");
  dialog("Name?");
  input.press_key("Escape");
  EXPECT_SOON(title() == "false null") << title();
  EXPECT_TRUE(focus_in(engine().widget()));
}

// The page's words are text, never markup; a long message scrolls inside the page's rectangle.
TEST_F(Dialogs, TheMessageIsPlainTextAndALongOneScrolls) {
  open("/long.html", "alert('<b>bold?</b>\\n' + 'line\\n'.repeat(200));");
  PageDialog& d = dialog("<b>bold?</b>\n" + [] {
    std::string lines;
    for (int i = 0; i < 200; ++i) lines += "line\n";
    return lines;
  }());
  EXPECT_NE(
      test::accessible_property(d.card(), GTK_ACCESSIBLE_PROPERTY_DESCRIPTION).find("<b>bold?</b>"),
      std::string::npos);
  Gtk::Widget& page = test::Seam::control(*window, test::Role::PageView);
  EXPECT_LE(d.card().get_height(), page.get_height());
  auto scroll = d.scroller().get_vadjustment();
  ASSERT_SOON(scroll->get_upper() > scroll->get_page_size() + 100);
  input.press_key("Page_Down");
  EXPECT_SOON(scroll->get_value() > 0);
  input.press_key("Return");
  EXPECT_SOON(!d.get_visible());
}

// The user's own command raises the page's question whether to leave: Stay keeps the page, Leave
// goes where the user asked.
TEST_F(Dialogs, LeavingAPageThatAsksWaitsForTheUsersAnswer) {
  server.add_page(
      "/stay.html",
      test::titled_page(
          "Stay",
          "<script>onbeforeunload = e => { e.preventDefault(); return 'Stay'; };</script>"));
  load([&] { engine().navigate(server.uri("/stay.html")); });
  click_page();  // the page asks only once the user has done something in it
  type_address(server.uri("/a.html"));
  PageDialog& d =
      dialog("This page asks whether you want to leave it. What you entered may be lost.");
  EXPECT_EQ(d.heading().get_text(), "Leave this page?");
  // It names the page that asks, not the one asked for.
  EXPECT_NE(test::accessible_property(d.card(), GTK_ACCESSIBLE_PROPERTY_DESCRIPTION)
                .find(server.uri("/stay.html")),
            std::string::npos);
  input.click(*window, d.cancel_button());  // Stay
  EXPECT_SOON(!d.get_visible());
  EXPECT_SOON(!engine().is_loading());
  EXPECT_EQ(title(), "Stay");
  EXPECT_EQ(url(), server.uri("/stay.html"));
  EXPECT_EQ(server.requests("/a.html"), 0);

  type_address(server.uri("/a.html"));
  dialog("This page asks whether you want to leave it. What you entered may be lost.");
  input.press_key("Return");  // Leave
  EXPECT_SOON(title() == "A" && !engine().is_loading()) << title();
  EXPECT_EQ(test::visible_windows(), 1);
}

// A site's request for a name and password: typed in the page, Cancel shows the site's own page,
// and another address takes the request back.
TEST_F(Dialogs, SignInByKeysCancelShowsTheSitesPageAndLeavingDismissesIt) {
  server.add_protected_page("/private.html", test::titled_page("Inside"), "ada:lovelace",
                            test::titled_page("Refused"));
  engine().navigate(server.uri("/private.html"));
  PageDialog& d = dialog("");
  EXPECT_EQ(d.heading().get_text(), "Sign in");
  EXPECT_TRUE(d.password().get_visible());
  EXPECT_TRUE(focus_in(d.entry()));
  input.press_key("Escape");
  EXPECT_SOON(title() == "Refused" && !engine().is_loading()) << title();

  input.press_key("F5");
  dialog("");
  input.type("ada");
  input.press_key("Tab");
  ASSERT_SOON(focus_in(d.password()));
  input.type("wrong");
  input.press_key("Return");
  dialog("The user name or password was not accepted. Try again.");
  EXPECT_TRUE(focus_in(d.password()));  // the name stays, as it was given
  EXPECT_EQ(d.entry().get_text(), "ada");
  input.type("lovelace");
  input.press_key("Return");
  EXPECT_SOON(title() == "Inside" && !engine().is_loading()) << title();

  // Another site's request, left for another address.
  test::TestServer other;
  other.add_protected_page("/private.html", test::titled_page("Inside"), "grace:hopper",
                           test::titled_page("Refused"));
  engine().navigate(other.uri("/private.html"));
  dialog("");
  type_address(server.uri("/a.html"));
  EXPECT_SOON(title() == "A" && !engine().is_loading()) << title();
  EXPECT_FALSE(d.get_visible());
}
