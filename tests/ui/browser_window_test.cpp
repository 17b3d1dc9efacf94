// The browser window against a stand-in engine: layout, stacking, start-up state, the address box.
#include <gtest/gtest.h>
#include <gtkmm/entry.h>

#include "browser/form1.h"
#include "platform/builtin_pages.h"
#include "support/fake_engine.h"
#include "support/form_helpers.h"
#include "support/ui_support.h"

using namespace vel;
using vel::test::control_at;
using vel::test::FakeEngine;

namespace {

struct Fixture : ::testing::Test {
  Fixture() { form = test::form_with_fake_engine(engine); }
  void load() {
    form->Form_Load();
    test::show_and_wait(*form);
  }
  void type_into_box(const std::string& text) { form->cboAddress().get_entry()->set_text(text); }
  void press_enter() { g_signal_emit_by_name(form->cboAddress().get_entry()->gobj(), "activate"); }
  void choose(int row) { form->cboAddress().set_active(row); }

  FakeEngine* engine;
  std::unique_ptr<Form1> form;
};

}  // namespace

TEST_F(Fixture, UppermostControlFollowsTheStacking) {
  load();
  // The exit square: Label14 lies over Label13.
  EXPECT_EQ(control_at(*form, 8100, 900), "Label14");
  EXPECT_EQ(form->control("Label14")->get_tooltip_text(), "Exit Browser");
  // x 1200 to 1320 of the button row: Image2, not Label2 beneath it.
  for (int x = 1200; x < 1320; x += 15) EXPECT_EQ(control_at(*form, x, 100), "Image2") << x;
  // The 15-twip overlaps go to the right-hand image.
  EXPECT_EQ(control_at(*form, 1320, 100), "Image3");
  EXPECT_EQ(control_at(*form, 4080, 100), "Image5");
  EXPECT_EQ(control_at(*form, 5520, 100), "Image6");
  EXPECT_EQ(control_at(*form, 6960, 100), "Image7");
  // The gap between Forward and Stop, and the row's right end, are the banner's.
  EXPECT_EQ(control_at(*form, 2700, 100), "Image1");
  EXPECT_EQ(control_at(*form, 8430, 100), "Image1");
  EXPECT_EQ(control_at(*form, 9585, 300), "Image1");
  // Only y 795 to 975 of Label1 and the strip y 375 to 480 of Label3 are reachable.
  EXPECT_EQ(control_at(*form, 600, 780), "cboAddress");
  EXPECT_EQ(control_at(*form, 600, 800), "Label1");
  EXPECT_EQ(control_at(*form, 600, 960), "Label1");
  EXPECT_EQ(control_at(*form, 600, 990), "Image1");
  EXPECT_EQ(control_at(*form, 3000, 390), "Label3");
  EXPECT_EQ(control_at(*form, 3000, 465), "Label3");
  EXPECT_EQ(control_at(*form, 3000, 495), "cboAddress");
  // Windowed controls lie above everything.
  EXPECT_EQ(control_at(*form, 100, 1200), "brwWebBrowser");
  EXPECT_EQ(control_at(*form, 100, 6960), "StatusBar1");
  EXPECT_EQ(control_at(*form, 9400, 600), "cboAddress");
}

TEST_F(Fixture, ControlsSitAtTheirDesignRectangles) {
  load();
  EXPECT_FALSE(form->get_decorated());
  EXPECT_EQ(form->get_width(), 640);
  EXPECT_EQ(form->get_height(), 480);
  Gtk::Widget& box = form->cboAddress();
  EXPECT_EQ(box.get_width(), 613);
  EXPECT_EQ(box.get_height(), 21);
  EXPECT_EQ(form->control("brwWebBrowser")->get_height(), 385);
  EXPECT_EQ(form->control("Image1")->get_width(), 640);
  EXPECT_EQ(form->control("Image1")->get_height(), 81);
  EXPECT_EQ(form->StatusBar1().get_height(), 17);
  double x1 = 0, x2 = 0, y = 0;
  form->StatusBar1().panel(1)->translate_coordinates(*form, 0, 0, x1, y);
  form->StatusBar1().panel(2)->translate_coordinates(*form, 0, 0, x2, y);
  EXPECT_EQ(x2 - x1, 96);
  // Nine pictures in the image list, none loaded until asked for.
  EXPECT_EQ(form->imlIcons().count(), 9);
  ASSERT_TRUE(form->imlIcons().image(1));
  EXPECT_EQ(form->imlIcons().image(1)->get_width(), 24);
  EXPECT_EQ(form->imlIcons().image(8)->get_width(), 30);
}

TEST_F(Fixture, StatusBarFollowsTheBottomEdgeOfALargerWindow) {
  load();
  form->set_default_size(800, 600);
  ASSERT_TRUE(test::run_until([&] { return form->get_height() == 600; }));
  test::run_until([&] { return form->StatusBar1().get_width() == 800; });
  double x = 0, y = 0;
  form->StatusBar1().translate_coordinates(*form, 0, 0, x, y);
  EXPECT_EQ(y, 600 - 17);
  EXPECT_EQ(form->StatusBar1().get_width(), 800);
  // Everything else keeps its rectangle.
  form->cboAddress().translate_coordinates(*form, 0, 0, x, y);
  EXPECT_EQ(x, 16);
  EXPECT_EQ(y, 32);
  EXPECT_EQ(form->control("brwWebBrowser")->get_height(), 385);
  for (int i = 0; i < 3; ++i) form->Form_Resize();
  EXPECT_EQ(form->cboAddress().get_width(), 613);
}

TEST_F(Fixture, StartsWithNothingRequested) {
  load();
  EXPECT_EQ(form->get_title(), "Vel");
  EXPECT_EQ(form->StatusBar1().panel_text(1), "");
  EXPECT_EQ(form->StatusBar1().panel_text(2), "");
  EXPECT_FALSE(form->StatusBar1().panel_text(3).empty());
  // Hours and minutes, no seconds.
  const std::string time = form->StatusBar1().panel_text(4);
  EXPECT_EQ(std::count(time.begin(), time.end(), ':'), 1) << time;
  EXPECT_EQ(form->cboAddress().get_entry()->get_text(), kHomeAddress);
  EXPECT_TRUE(form->address_list().empty());
  EXPECT_TRUE(engine->calls.empty());
  EXPECT_FALSE(form->timTimer().enabled());
  EXPECT_FALSE(form->Timer1().enabled());
  EXPECT_EQ(form->timTimer().interval(), 5u);
  EXPECT_EQ(form->Timer1().interval(), 200u);
  // The focus starts in the page.
  EXPECT_TRUE(engine->widget().has_focus() || form->get_focus() == &engine->widget());
}

TEST_F(Fixture, StartingAddressOpensAtLoad) {
  form->StartingAddress = "http://127.0.0.1:1/start";
  form->Form_Load();
  EXPECT_EQ(engine->calls, std::vector<std::string>{"navigate:http://127.0.0.1:1/start"});
  EXPECT_EQ(form->address_list(), std::vector<std::string>{"http://127.0.0.1:1/start"});
  EXPECT_EQ(form->cboAddress().get_entry()->get_text(), "http://127.0.0.1:1/start");
  EXPECT_TRUE(form->timTimer().enabled());
}

TEST_F(Fixture, EnterNavigatesThenAppendsEvenDuplicates) {
  load();
  type_into_box("a.test");
  press_enter();
  press_enter();
  type_into_box("   ");
  press_enter();  // blanks are passed on as they are
  EXPECT_EQ(engine->calls,
            (std::vector<std::string>{"navigate:a.test", "navigate:a.test", "navigate:   "}));
  EXPECT_EQ(form->address_list(), (std::vector<std::string>{"a.test", "a.test", "   "}));
  EXPECT_EQ(form->history().entries(), form->address_list());
  // Enter never starts the progress monitor.
  EXPECT_FALSE(form->timTimer().enabled());
}

TEST_F(Fixture, RefusedAddressOnEnterIsNotRemembered) {
  load();
  type_into_box("");
  press_enter();
  engine->fail_navigate = true;
  type_into_box("bad address");
  press_enter();
  EXPECT_EQ(engine->calls, (std::vector<std::string>{"navigate:", "navigate:bad address"}));
  EXPECT_TRUE(form->address_list().empty());
  EXPECT_EQ(form->cboAddress().get_entry()->get_text(), "bad address");  // the text stays
}

TEST_F(Fixture, ListChoiceNavigatesWithoutAddingAndStartsTheMonitor) {
  load();
  type_into_box("one.test");
  press_enter();
  type_into_box("two.test");
  press_enter();
  engine->calls.clear();
  choose(0);
  EXPECT_EQ(form->cboAddress().get_entry()->get_text(), "one.test");
  EXPECT_EQ(engine->calls, std::vector<std::string>{"navigate:one.test"});
  EXPECT_EQ(form->address_list().size(), 2u);
  EXPECT_TRUE(form->timTimer().enabled());
  // The same entry chosen again is a new choice.
  choose(0);
  EXPECT_EQ(engine->calls.size(), 2u);
}

TEST_F(Fixture, ListChoiceOfAnEmptyEntryOnlyStartsTheMonitor) {
  load();
  engine->fail_empty = false;
  type_into_box("");
  press_enter();  // the engine accepted it, so an empty entry is in the list
  engine->calls.clear();
  choose(0);
  EXPECT_TRUE(engine->calls.empty());
  EXPECT_TRUE(form->timTimer().enabled());
}

TEST_F(Fixture, LoadFinishedReplacesTypedText) {
  load();
  type_into_box("half-typ");
  engine->url = "http://fake.test/reached";
  engine->finish_load();
  EXPECT_EQ(form->cboAddress().get_entry()->get_text(), "http://fake.test/reached");
  EXPECT_TRUE(engine->calls.empty());  // setting the text is no choice
  EXPECT_TRUE(form->address_list().empty());
}
