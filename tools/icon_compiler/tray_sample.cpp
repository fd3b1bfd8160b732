#include "tray_sample.h"

namespace quor6::tools {

TrayImage sampleForTray(const PixelMap& map) {
    TrayImage image;
    for (int y = 0; y < kTraySize; ++y) {
        for (int x = 0; x < kTraySize; ++x) {
            image.index[static_cast<std::size_t>(y * kTraySize + x)] = map.at(2 * x + 1, 2 * y);
        }
    }
    return image;
}

int countDifferingPixels(const TrayImage& a, const TrayImage& b) {
    int count = 0;
    for (std::size_t i = 0; i < a.index.size(); ++i) {
        if (a.index[i] != b.index[i])
            ++count;
    }
    return count;
}

}  // namespace quor6::tools
