#pragma once

#include <gdkmm/texture.h>

#include <vector>

namespace vel {

// The browser window's image list: nine pictures, 24 x 24 with light grey as the mask colour.
// Nothing shows them, so they are loaded only when asked for.
class ImageList {
 public:
  static constexpr int kCount = 9;
  static constexpr int kImageSize = 24;

  int count() const { return kCount; }
  // Image `index`, counting from 1; empty when out of range.
  Glib::RefPtr<Gdk::Texture> image(int index) const;

 private:
  mutable std::vector<Glib::RefPtr<Gdk::Texture>> images_;
};

}  // namespace vel
