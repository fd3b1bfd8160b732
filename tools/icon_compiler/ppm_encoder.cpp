#include "ppm_encoder.h"

namespace quor6::tools {

std::string encodePpm(const PixelMap& map) {
    const std::string size = std::to_string(map.size);
    std::string out = "P6\n" + size + " " + size + "\n255\n";
    out.reserve(out.size() + map.index.size() * 3);
    for (int y = 0; y < map.size; ++y) {
        for (int x = 0; x < map.size; ++x) {
            const Rgb colour = map.rgb(x, y);
            out += static_cast<char>(colour.r);
            out += static_cast<char>(colour.g);
            out += static_cast<char>(colour.b);
        }
    }
    return out;
}

}  // namespace quor6::tools
