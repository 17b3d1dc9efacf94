// SPDX-License-Identifier: GPL-3.0-or-later
// The browser window on a screen of scale 2 (GDK_SCALE=2 on X11, as on most laptops): twice the
// pixels, the same layout in logical pixels, and the banner drawn from art made for that many
// pixels, not the 1x picture blown up.
#include <gdkmm/pixbuf.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include "config.h"
#include "support/fake_engine.h"
#include "support/ui_support.h"
#include "support/x_windows.h"

using namespace vel;
using test::Role;

namespace {

// Before GTK starts.
const bool kScaled = setenv("GDK_SCALE", "2", 1) == 0;

// How much fine detail the rows of the banner outside the address box hold: the mean of the
// squared steps of brightness between neighbouring pixels. A sharp edge is one big step; the same
// edge blurred is two half steps, which count half as much.
double edge_detail(const std::function<unsigned long(int, int)>& rgb, int scale) {
  const auto brightness = [&](int x, int y) {
    const unsigned long c = rgb(x, y);
    return 0.3 * double((c >> 16) & 255) + 0.59 * double((c >> 8) & 255) + 0.11 * double(c & 255);
  };
  double sum = 0;
  long count = 0;
  for (int y = 0; y < 80 * scale; ++y) {
    if (y >= 30 * scale && y < 54 * scale) continue;  // the address box, GTK's own
    for (int x = 0; x + 1 < 640 * scale; ++x) {
      const double dx = brightness(x + 1, y) - brightness(x, y);
      const double dy = brightness(x, y + 1) - brightness(x, y);
      sum += dx * dx + dy * dy;
      ++count;
    }
  }
  return sum / double(count);
}

TEST(Scale2, TheBannerIsDrawnForTheScreensPixelsAndTheLayoutStaysInLogicalPixels) {
  ASSERT_TRUE(kScaled);
  test::FakeEngine* engine = nullptr;
  auto window = test::window_with_fake_engine(engine);
  ASSERT_EQ(window->get_scale_factor(), 2);
  const test::WindowPixels shown = test::window_pixels(test::x_window(*window));
  EXPECT_EQ(shown.width, 1280);
  EXPECT_EQ(shown.height, 960);

  // The 1x art enlarged, as a toolkit that scales a picture does.
  auto art = Gdk::Pixbuf::create_from_resource(std::string(config::kResourcePrefix) + "/banner.jpg")
                 ->scale_simple(1280, 162, Gdk::InterpType::BILINEAR);
  const auto* pixels = art->get_pixels();
  const auto enlarged = [&](int x, int y) {
    const auto* p = pixels + y * art->get_rowstride() + x * art->get_n_channels();
    return (unsigned long)(p[0]) << 16 | (unsigned long)(p[1]) << 8 | p[2];
  };
  const double sharp = edge_detail([&](int x, int y) { return shown.at(x, y); }, 2);
  const double blown_up = edge_detail(enlarged, 2);
  EXPECT_GT(sharp, 2 * blown_up) << "on screen " << sharp << ", the 1x art enlarged " << blown_up;

  // The pointer over the middle of Back, in the screen's pixels, writes Back's hint.
  const PixelRect back = to_pixels(browser_layout::row(Role::BackButton).rect);
  test::XInput input;
  input.move(*window, 2 * (back.x + back.width / 2), 2 * (back.y + back.height / 2));
  EXPECT_SOON(test::Seam::status_bar(*window).panel_text(1) == "  Back");
}

}  // namespace
