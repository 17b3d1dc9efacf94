#include "browser/image_list.h"

#include "config.h"

namespace vel {

Glib::RefPtr<Gdk::Texture> ImageList::image(int index) const {
  if (index < 1 || index > kCount) return {};
  if (images_.empty()) {
    for (int i = 1; i <= kCount; ++i) {
      const std::string path = std::string(config::kResourcePrefix) + "/imagelist/" +
                               std::to_string(i) + (i >= 8 ? ".jpg" : ".png");
      images_.push_back(Gdk::Texture::create_from_resource(path));
    }
  }
  return images_[index - 1];
}

}  // namespace vel
