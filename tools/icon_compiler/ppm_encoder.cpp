#include "ppm_encoder.h"

namespace quor6::tools {
namespace {

template <typename Image>
std::string encode(const Image& image, int size) {
    const std::string header =
        "P6\n" + std::to_string(size) + " " + std::to_string(size) + "\n255\n";
    std::string out;
    out.reserve(header.size() + static_cast<std::size_t>(size * size * 3));
    out += header;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Rgb colour = image.rgb(x, y);
            out += static_cast<char>(colour.r);
            out += static_cast<char>(colour.g);
            out += static_cast<char>(colour.b);
        }
    }
    return out;
}

}  // namespace

std::string encodePpm(const PixelMap& map) {
    return encode(map, kMapSize);
}

std::string encodePpm(const TrayImage& image) {
    return encode(image, kTraySize);
}

}  // namespace quor6::tools
