// SPDX-License-Identifier: GPL-3.0-or-later
// A page's questions (alert, confirm, prompt, leaving, a site's sign-in), drawn inside the page and
// answered with real keys and clicks, while the rest of the window goes on working.
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

  // Waits for the page's question saying `message`, drawn, with the keyboard in it.
  PageDialog& dialog(const std::string& message) {
    PageDialog& d = test::Seam::page_dialog(*window);
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
  EXPECT_EQ(test::visible_windows(), 1);  // no window of its own
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

  input.press_key("F5");  // blocking lasts until the page loads again
  dialog("Alert 1");
  EXPECT_FALSE(d.block_button().get_visible());
}

// A page that asks without end: the address box and the keys work all along, and a new address
// goes at once, with none of the old page's dialogs over the new one.
TEST_F(Dialogs, ADialogStormDoesNotHoldTheWindow) {
  open("/endless.html", "for (let n = 1; ; ++n) alert('Storm ' + n);");
  PageDialog& d = dialog("Storm 1");
  // Escape in the address box puts back the page's address there, and leaves the question be.
  Gtk::Entry& box = *test::Seam::address_box(*window).get_entry();
  input.press_key("l", {"Control_L"});
  ASSERT_SOON(focus_in(box));
  input.type("elsewhere");
  input.press_key("Escape");
  EXPECT_SOON(box.get_text().raw() == url());
  EXPECT_TRUE(d.get_visible());
  type_address(server.uri("/a.html"));
  EXPECT_SOON(title() == "A" && !engine().is_loading()) << title();
  EXPECT_FALSE(d.get_visible());
}

TEST_F(Dialogs, ConfirmAndPromptAreAnsweredByKeys) {
  open("/ask.html", "document.title = confirm('Sure?') + ' ' + prompt('Name?', 'x');");
  // Enter is OK; typing replaces the prompt's offered text.
  dialog("Sure?");
  input.press_key("Return");
  PageDialog& d = dialog("Name?");
  input.type("Vel");
  input.press_key("Return");
  EXPECT_SOON(title() == "true Vel") << title();

  // Tab goes round the controls (from OK, the last, to Cancel); Escape cancels.
  input.press_key("F5");
  dialog("Sure?");
  EXPECT_TRUE(focus_in(d.ok_button()));
  input.press_key("Tab");
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
  std::string lines;
  for (int i = 0; i < 200; ++i) lines += "line\n";
  PageDialog& d = dialog("<b>bold?</b>\n" + lines);
  EXPECT_NE(
      test::accessible_property(d.card(), GTK_ACCESSIBLE_PROPERTY_DESCRIPTION).find("<b>bold?</b>"),
      std::string::npos);
  // Inside the page's rectangle, below the banner and the address box.
  Gtk::Widget& page = test::Seam::control(*window, test::Role::PageView);
  double x = 0, y = 0, page_x = 0, page_y = 0;
  ASSERT_TRUE(d.card().translate_coordinates(*window, 0, 0, x, y));
  ASSERT_TRUE(page.translate_coordinates(*window, 0, 0, page_x, page_y));
  EXPECT_TRUE(y >= page_y && y + d.card().get_height() <= page_y + page.get_height()) << y;
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
}

// A site's request for a name and password: typed in the page, Cancel shows the site's own page,
// and another address takes the request back.
TEST_F(Dialogs, SignInByKeysCancelShowsTheSitesPageAndLeavingDismissesIt) {
  server.add_protected_page("/private.html", test::titled_page("Inside"), "ada:lovelace",
                            test::titled_page("Refused"));
  engine().navigate(server.uri("/private.html"));
  PageDialog& d = dialog("");
  EXPECT_EQ(d.heading().get_text(), "Sign in");
  input.press_key("Escape");
  EXPECT_SOON(title() == "Refused" && !engine().is_loading()) << title();

  input.press_key("F5");
  dialog("");
  input.type("ada");
  input.press_key("Tab");
  ASSERT_SOON(focus_in(d.password()));
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
