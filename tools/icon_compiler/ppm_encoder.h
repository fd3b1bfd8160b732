#pragma once

#include <string>

#include "pixel_map.h"

namespace quor6::tools {

// One frame as a binary PPM (P6) image, for previews and for the reference images of
// screenshot tests.
std::string encodePpm(const PixelMap& map);

}  // namespace quor6::tools
