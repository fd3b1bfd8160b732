// Tests of the icon converter: the .ico read back as Windows reads it, the previews, the
// command line, and the committed pixel maps themselves (the tray shows them, not the code).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <numeric>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ico_encoder.h"
#include "icon_compiler_cli.h"
#include "pixel_map.h"
#include "ppm_encoder.h"

namespace quor6::tools {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// The 16 colours of a 4-bit Windows bitmap by the rule they follow rather than as a list:
// bits 0, 1 and 2 light red, green and blue, at half strength below 8 and full from 8 on,
// with silver and grey in the two places the rule leaves for them.
Rgb windowsColour(int index) {
    if (index == 7)
        return {192, 192, 192};
    if (index == 8)
        return {128, 128, 128};
    const auto level = [&](int bit) {
        return static_cast<std::uint8_t>((index & bit) == 0 ? 0 : index < 8 ? 128 : 255);
    };
    return {level(1), level(2), level(4)};
}

// Consecutive little-endian fields of the given widths in bytes.
using Fields = std::vector<std::uint32_t>;
Fields fieldsAt(const Bytes& bytes, std::size_t offset, std::initializer_list<int> widths) {
    Fields values;
    for (const int width : widths) {
        std::uint32_t value = 0;
        for (int b = width - 1; b >= 0; --b)
            value = value << 8 | bytes.at(offset + static_cast<std::size_t>(b));
        values.push_back(value);
        offset += static_cast<std::size_t>(width);
    }
    return values;
}

// Reads an icon back the way Windows does, through its directory, checking every field a reader
// relies on, the palette, the row padding and the mask, and returns the frames' pixels.
std::vector<PixelMap> readIco(const Bytes& bytes) {
    const Fields directory = fieldsAt(bytes, 0, {2, 2, 2});
    EXPECT_EQ(directory, (Fields{0, 1, directory[2]})) << "reserved, icon";
    std::size_t next = 6 + 16 * std::size_t{directory[2]};  // where each image must start
    std::vector<PixelMap> frames;
    for (std::size_t entry = 6; entry < 6 + 16 * std::size_t{directory[2]}; entry += 16) {
        PixelMap map(bytes.at(entry));
        const std::uint32_t n = bytes.at(entry), xorRow = (4 * n + 31) / 32 * 4;
        const std::uint32_t andRow = (n + 31) / 32 * 4, bitmap = (xorRow + andRow) * n;
        const std::size_t image = fieldsAt(bytes, entry + 12, {4})[0];
        EXPECT_EQ(image, next) << "image of the " << n << " frame";
        // Height, colours, reserved, planes, bits per pixel, bytes in the image.
        EXPECT_EQ(fieldsAt(bytes, entry + 1, {1, 1, 1, 2, 2, 4}),
                  (Fields{n, 16, 0, 1, 4, 40 + 64 + bitmap}))
            << "entry of the " << n << " frame";
        // Header size, width, height of XOR and AND together, planes, bits per pixel,
        // uncompressed, bitmap bytes, then resolutions and colour counts left to their defaults.
        EXPECT_EQ(fieldsAt(bytes, image, {4, 4, 4, 2, 2, 4, 4, 4, 4, 4, 4}),
                  (Fields{40, n, 2 * n, 1, 4, 0, bitmap, 0, 0, 0, 0}))
            << "header of the " << n << " frame";
        for (int i = 0; i < 16; ++i) {
            const Rgb c = windowsColour(i);
            EXPECT_EQ(fieldsAt(bytes, image + 40 + 4 * static_cast<std::size_t>(i), {1, 1, 1, 1}),
                      (Fields{c.b, c.g, c.r, 0}))
                << "colour " << i << " of the " << n << " frame";
        }
        const std::size_t pixels = image + 40 + 64;
        for (std::uint32_t row = 0; row < n; ++row) {  // bottom-up, left pixel high
            for (std::uint32_t x = 0; x < n; ++x) {
                const std::uint8_t pair = bytes.at(pixels + row * xorRow + x / 2);
                map.index[(n - 1 - row) * n + x] =
                    static_cast<std::uint8_t>(x % 2 == 0 ? pair >> 4 : pair & 0x0F);
            }
            for (std::uint32_t pad = n / 2; pad < xorRow; ++pad)
                EXPECT_EQ(bytes.at(pixels + row * xorRow + pad), 0) << "padding at " << n;
        }
        for (std::size_t m = pixels + xorRow * n; m < image + 104 + bitmap; ++m)
            EXPECT_EQ(bytes.at(m), 0) << "mask of the " << n << " frame";
        next = image + 104 + bitmap;
        frames.push_back(map);
    }
    EXPECT_EQ(bytes.size(), next) << "bytes after the last image";
    return frames;
}

PixelMap randomMap(unsigned seed, int size) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> colour(0, 15);
    PixelMap map(size);
    for (auto& pixel : map.index)
        pixel = static_cast<std::uint8_t>(colour(generator));
    return map;
}

std::string mapText(const std::vector<PixelMap>& frames) {
    std::string text;
    for (const PixelMap& map : frames) {
        text += "; a frame\n";
        for (std::size_t i = 0; i < map.index.size(); ++i)
            text += std::string(1, kPaletteChars[map.index[i]]) +
                    ((i + 1) % static_cast<std::size_t>(map.size) == 0 ? "\n" : "");
    }
    return text;
}

std::string whiteRows(int count, std::size_t width = 32) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::string(width, '.') + "\n";
    return text;
}

TEST(IcoEncoding, EveryFrameReadsBackThroughItsDirectory) {
    // 20 and 24 wide frames have padded rows; the order of the frames is the map's own.
    const std::vector<std::vector<PixelMap>> icons = {
        {randomMap(1, 32), randomMap(2, 24), randomMap(3, 20), randomMap(4, 16)},
        {randomMap(5, 20)},
        {randomMap(6, 16), randomMap(7, 32)}};
    for (const auto& frames : icons) {
        const std::vector<PixelMap> read = readIco(encodeIco(frames));
        ASSERT_EQ(read.size(), frames.size());
        for (std::size_t i = 0; i < frames.size(); ++i)
            EXPECT_EQ(read[i].index, frames[i].index) << "frame " << frames[i].size;
    }
}

TEST(PpmEncoding, HoldsEveryPixelsColourAfterTheSize) {
    for (const int size : {32, 20}) {
        const PixelMap map = randomMap(static_cast<unsigned>(size), size);
        std::string expected =
            "P6\n" + std::to_string(size) + " " + std::to_string(size) + "\n255\n";
        for (const std::uint8_t pixel : map.index) {
            const Rgb c = windowsColour(pixel);
            expected += {static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b)};
        }
        EXPECT_EQ(encodePpm(map), expected) << size;
    }
}

TEST(PixelMapParser, ReadsEveryPaletteCharacterAsItsColour) {
    std::string text = "; a comment\n\n" + std::string(kPaletteChars) + std::string(kPaletteChars);
    text += "\r\n" + whiteRows(31) + "; the next frame\n" + whiteRows(15, 16) +
            std::string(15, '.') + "#";
    std::string error;
    const auto frames = parseIconFrames(text, error);
    ASSERT_TRUE(frames.has_value()) << error;
    ASSERT_EQ(frames->size(), 2u);
    for (int x = 0; x < 32; ++x) {
        EXPECT_TRUE(frames->at(0).rgb(x, 0) == windowsColour(x % 16)) << x;
        EXPECT_FALSE(frames->at(0).rgb(x, 0) == windowsColour((x + 1) % 16)) << x;
    }
    EXPECT_EQ(frames->at(0).at(5, 1), 15);
    EXPECT_EQ(frames->at(1).size, 16);
    EXPECT_EQ(frames->at(1).at(15, 15), 0);
    EXPECT_EQ(frameOfSize(*frames, 16), &frames->at(1));
    EXPECT_EQ(frameOfSize(*frames, 24), nullptr);
}

TEST(PixelMapParser, RejectsBadMapsWithTheLineNumber) {
    const std::pair<std::string, std::string> cases[] = {
        {whiteRows(31), "frame 32x32: 31 rows, expected 32"},
        {whiteRows(33), "line 33: a second 32x32 frame"},
        {whiteRows(32) + whiteRows(16, 16) + whiteRows(1, 16), "line 49: a second 16x16 frame"},
        {whiteRows(32) + whiteRows(3, 20), "frame 20x20: 3 rows, expected 20"},
        {whiteRows(32) + whiteRows(3, 24) + whiteRows(1, 20), "line 36: 20 columns, expected 24"},
        {"; header\n" + std::string(31, '.') + "\n" + whiteRows(31),
         "line 2: 31 columns, not a frame size (32, 24, 20 or 16)"},
        {whiteRows(4) + std::string(10, '.') + "x" + std::string(21, '.') + "\n" + whiteRows(27),
         "line 5, column 11: 'x' is not a palette character"},
        {"; only a comment", "no frame"},
    };
    for (const auto& [text, message] : cases) {
        std::string error;
        EXPECT_FALSE(parseIconFrames(text, error).has_value()) << message;
        EXPECT_EQ(error, message);
    }
}

class IconCompilerRun : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }

    int run(const std::vector<std::string>& args) {
        errors_.str("");
        return runIconCompiler(args, errors_);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string errors() const { return errors_.str(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }
    std::string read(const std::string& name) const {
        std::ostringstream text;
        text << std::ifstream(path(name), std::ios::binary).rdbuf();
        return text.str();
    }

  private:
    fs::path dir_ =
        fs::temp_directory_path() / ("quor6-icon-test-" + std::to_string(std::random_device{}()));
    std::ostringstream errors_;
};

TEST_F(IconCompilerRun, WritesTheIconOrThePreviewOfTheFrameAsked) {
    const std::vector<PixelMap> frames = {randomMap(11, 32), randomMap(12, 16)};
    write("m.txt", mapText(frames));
    ASSERT_EQ(run({path("m.txt"), path("m.ico")}), kExitOk) << errors();
    const std::string ico = read("m.ico");
    const std::vector<PixelMap> icon = readIco(Bytes(ico.begin(), ico.end()));
    ASSERT_EQ(icon.size(), 2u);
    EXPECT_EQ(icon[0].index, frames[0].index);
    EXPECT_EQ(icon[1].index, frames[1].index);
    ASSERT_EQ(run({"--ppm", "16", path("m.txt"), path("p.ppm")}), kExitOk) << errors();
    EXPECT_EQ(read("p.ppm"), encodePpm(frames[1]));
    EXPECT_EQ(errors(), "");
}

TEST_F(IconCompilerRun, FailsWithAClearMessageAndWritesNothing) {
    write("m.txt", whiteRows(32));
    write("short.txt", whiteRows(30));
    const std::string m = path("m.txt"), out = path("out"),
                      usage =
                          "usage: icon_compiler <map.txt> <out.ico>\n"
                          "       icon_compiler --ppm <size> <map.txt> <out.ppm>\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, usage},
        {{m}, usage},
        {{m, out, "extra"}, usage},
        {{"", out}, usage},
        {{m, ""}, usage},
        {{"--ppm"}, usage},
        {{"---", m}, usage},
        {{"--ppm", m, out}, usage},
        {{"--ppm", "18", m, out}, usage},
        {{"--png", "16", m, out}, usage},
        {{path("absent.txt"), out}, path("absent.txt") + ": cannot open"},
        {{path("short.txt"), out}, "short.txt: frame 32x32: 30 rows, expected 32"},
        {{"--ppm", "24", m, out}, "m.txt: no 24x24 frame"},
        {{m, path("no-such-dir/out")}, path("no-such-dir/out") + ": cannot write"},
    };
    for (const auto& [args, message] : cases) {
        EXPECT_EQ(run(args), message == usage ? kExitUsage : kExitFailed) << message;
        EXPECT_NE(errors().find(message), std::string::npos) << errors();
        EXPECT_FALSE(fs::exists(out)) << message;
    }
}

TEST(CommittedMaps, HaveEveryFrameInTheirColoursAndStayDistinctAtEverySize) {
    // Each icon with the palette characters it is drawn in, at every size.
    const std::pair<std::vector<std::string>, std::string> looks[] = {
        {{"num0", "num1", "num2", "num3", "num4", "num5", "num6", "num7", "num8", "num9", "s", "b",
          "o", "k"},
         "#."},
        {{"n", "g"}, "p."},
        {{"sp"}, "."},
        {{"sw"}, "#gtse."},
        {{"program"}, "#moesy."},
    };
    const fs::path mapDirectory = fs::path(__FILE__).parent_path() / "../../resources/icons";
    std::vector<std::pair<std::string, std::vector<PixelMap>>> icons;
    for (const auto& [names, colours] : looks) {
        for (const std::string& name : names) {
            std::string error;
            const auto frames = loadIconFrames((mapDirectory / (name + ".txt")).string(), error);
            ASSERT_TRUE(frames.has_value()) << error;
            for (std::size_t f = 0; f < 4; ++f) {
                ASSERT_EQ(frames->at(f).size, kFrameSizes.at(f)) << name;
                std::set<char> used;
                for (const std::uint8_t pixel : frames->at(f).index)
                    used.insert(kPaletteChars[pixel]);
                EXPECT_EQ(used, std::set<char>(colours.begin(), colours.end()))
                    << name << " at " << frames->at(f).size;
            }
            icons.emplace_back(name, *frames);
        }
    }
    // Screenshot tests tell tray icons apart by their pixels; a margin keeps that robust.
    for (std::size_t f = 0; f < 4; ++f) {
        for (auto a = icons.begin(); a != icons.end(); ++a) {
            for (auto b = a + 1; b != icons.end(); ++b) {
                const auto& x = a->second[f].index;
                EXPECT_GE(std::inner_product(x.begin(), x.end(), b->second[f].index.begin(), 0,
                                             std::plus<>(), std::not_equal_to<>()),
                          12)
                    << a->first << " and " << b->first << " at " << kFrameSizes.at(f);
            }
        }
    }
}

}  // namespace
}  // namespace quor6::tools
