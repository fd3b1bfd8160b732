#pragma once

#include <string>

#include "pixel_map.h"
#include "tray_sample.h"

namespace quor6::tools {

// Binary PPM (P6) images, for previews and for the reference images of screenshot tests.
std::string encodePpm(const PixelMap& map);
std::string encodePpm(const TrayImage& image);

}  // namespace quor6::tools
