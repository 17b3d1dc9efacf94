#include "about/about_growth.h"

#include <algorithm>

namespace vel::about {

SizeTwips effective_size(SizeTwips requested, SizeTwips minimum) {
  return {std::max(requested.width, minimum.width), std::max(requested.height, minimum.height)};
}

GrowthStep grow(SizeTwips requested, SizeTwips minimum) {
  GrowthStep step{requested, false};
  step.requested.width = effective_size(step.requested, minimum).width + kStepTwips;
  step.requested.height = effective_size(step.requested, minimum).height + kStepTwips;
  const SizeTwips now = effective_size(step.requested, minimum);
  step.stop = now.height >= kFullTwips || now.width >= kFullTwips;
  return step;
}

}  // namespace vel::about
