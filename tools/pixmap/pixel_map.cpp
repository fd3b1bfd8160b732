#include "pixel_map.h"

#include <fstream>
#include <sstream>

namespace quor6::tools {

const std::array<Rgb, 16>& standardPalette() {
    static const std::array<Rgb, 16> palette{{
        {0, 0, 0},
        {128, 0, 0},
        {0, 128, 0},
        {128, 128, 0},
        {0, 0, 128},
        {128, 0, 128},
        {0, 128, 128},
        {192, 192, 192},
        {128, 128, 128},
        {255, 0, 0},
        {0, 255, 0},
        {255, 255, 0},
        {0, 0, 255},
        {255, 0, 255},
        {0, 255, 255},
        {255, 255, 255},
    }};
    return palette;
}

std::optional<PixelMap> parsePixelMap(std::string_view text, std::string& error) {
    PixelMap map;
    int row = 0;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == ';') {
            if (end == text.size())
                break;
            continue;
        }
        if (row == kMapSize) {
            error = "line " + std::to_string(lineNumber) + ": more than 32 rows";
            return std::nullopt;
        }
        if (line.size() != kMapSize) {
            error = "line " + std::to_string(lineNumber) + ": " + std::to_string(line.size()) +
                    " columns, expected 32";
            return std::nullopt;
        }
        for (int x = 0; x < kMapSize; ++x) {
            const std::size_t colour = kPaletteChars.find(line[static_cast<std::size_t>(x)]);
            if (colour == std::string_view::npos) {
                error = "line " + std::to_string(lineNumber) + ", column " + std::to_string(x + 1) +
                        ": '" + line[static_cast<std::size_t>(x)] + "' is not a palette character";
                return std::nullopt;
            }
            map.index[static_cast<std::size_t>(row * kMapSize + x)] =
                static_cast<std::uint8_t>(colour);
        }
        ++row;
        if (end == text.size())
            break;
    }
    if (row != kMapSize) {
        error = std::to_string(row) + " rows, expected 32";
        return std::nullopt;
    }
    return map;
}

std::optional<PixelMap> loadPixelMap(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open";
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    auto map = parsePixelMap(text.str(), error);
    if (!map)
        error = path + ": " + error;
    return map;
}

}  // namespace quor6::tools
