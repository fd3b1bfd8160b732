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

namespace {

bool isFrameSize(std::size_t width) {
    for (const int size : kFrameSizes) {
        if (width == static_cast<std::size_t>(size))
            return true;
    }
    return false;
}

}  // namespace

std::optional<std::vector<PixelMap>> parseIconFrames(std::string_view text, std::string& error) {
    std::vector<PixelMap> frames;
    int row = 0;  // rows read of the last frame
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == ';')
            continue;
        const std::string where = "line " + std::to_string(lineNumber);
        if (frames.empty() || row == frames.back().size) {
            if (!isFrameSize(line.size())) {
                error = where + ": " + std::to_string(line.size()) +
                        " columns, not a frame size (32, 24, 20 or 16)";
                return std::nullopt;
            }
            const int size = static_cast<int>(line.size());
            if (frameOfSize(frames, size) != nullptr) {
                error = where + ": a second " + std::to_string(size) + "x" + std::to_string(size) +
                        " frame";
                return std::nullopt;
            }
            frames.emplace_back(size);
            row = 0;
        }
        PixelMap& frame = frames.back();
        if (line.size() != static_cast<std::size_t>(frame.size)) {
            error = where + ": " + std::to_string(line.size()) + " columns, expected " +
                    std::to_string(frame.size);
            return std::nullopt;
        }
        for (int x = 0; x < frame.size; ++x) {
            const char c = line[static_cast<std::size_t>(x)];
            const std::size_t colour = kPaletteChars.find(c);
            if (colour == std::string_view::npos) {
                error = where + ", column " + std::to_string(x + 1) + ": '" + c +
                        "' is not a palette character";
                return std::nullopt;
            }
            frame.index[static_cast<std::size_t>(row * frame.size + x)] =
                static_cast<std::uint8_t>(colour);
        }
        ++row;
    }
    if (frames.empty()) {
        error = "no frame";
        return std::nullopt;
    }
    if (row != frames.back().size) {
        const std::string size = std::to_string(frames.back().size);
        error =
            "frame " + size + "x" + size + ": " + std::to_string(row) + " rows, expected " + size;
        return std::nullopt;
    }
    return frames;
}

std::optional<std::vector<PixelMap>> loadIconFrames(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open";
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    auto frames = parseIconFrames(text.str(), error);
    if (!frames)
        error = path + ": " + error;
    return frames;
}

const PixelMap* frameOfSize(const std::vector<PixelMap>& frames, int size) {
    for (const PixelMap& frame : frames) {
        if (frame.size == size)
            return &frame;
    }
    return nullptr;
}

}  // namespace quor6::tools
