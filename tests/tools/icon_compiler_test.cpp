// Tests of the icon converter run as the build runs it: the .ico read back as Windows reads it,
// the preview, the failures, and the committed pixel maps themselves (the tray shows them).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <random>
#include <set>
#include <sstream>

#include "icon_compiler_cli.h"
#include "pixel_map.h"

namespace quor6::tools {
namespace {

namespace fs = std::filesystem;
using Fields = std::vector<std::uint32_t>;

// The 16 colours of a 4-bit Windows bitmap by their rule: bits 0-2 light red, green and blue,
// at half strength below 8 and full from 8 on; silver and grey take the two places left over.
Rgb windowsColour(int i) {
    const auto level = [i](int bit) { return std::uint8_t((i & bit) ? i < 8 ? 128 : 255 : 0); };
    return i == 7   ? Rgb{192, 192, 192}
           : i == 8 ? Rgb{128, 128, 128}
                    : Rgb{level(1), level(2), level(4)};
}

// Consecutive little-endian fields of the given widths in bytes.
Fields fieldsAt(const std::string& bytes, std::size_t at, std::initializer_list<int> widths) {
    Fields values;
    for (const int width : widths) {
        values.push_back(0);
        for (auto b = static_cast<std::size_t>(width); b-- > 0;)
            values.back() = values.back() << 8 | static_cast<std::uint8_t>(bytes.at(at + b));
        at += static_cast<std::size_t>(width);
    }
    return values;
}

// Reads an icon back as Windows does, through its directory, checking every field a reader
// relies on, the palette, the row padding and the empty mask; returns the frames' pixels.
std::vector<PixelMap> readIco(const std::string& ico) {
    const std::uint32_t count = fieldsAt(ico, 4, {2})[0];
    EXPECT_EQ(fieldsAt(ico, 0, {2, 2}), (Fields{0, 1})) << "reserved, type icon";
    std::size_t next = 6 + 16 * std::size_t{count};  // where the next image must start
    std::vector<PixelMap> frames;
    for (std::size_t entry = 6; entry < 6 + 16 * std::size_t{count}; entry += 16) {
        const std::uint32_t n = fieldsAt(ico, entry, {1})[0], row = (4 * n + 31) / 32 * 4;
        const std::uint32_t bitmap = (row + (n + 31) / 32 * 4) * n;
        // Width, height, colours, reserved, planes, bits per pixel, image bytes, image offset;
        // then the image's header: size, width, height of XOR and AND, planes, bits, BI_RGB,
        // bitmap bytes, resolutions and colour counts left to their defaults.
        EXPECT_EQ(fieldsAt(ico, entry, {1, 1, 1, 1, 2, 2, 4, 4}),
                  (Fields{n, n, 16, 0, 1, 4, 104 + bitmap, std::uint32_t(next)}));
        EXPECT_EQ(fieldsAt(ico, next, {4, 4, 4, 2, 2, 4, 4, 4, 4, 4, 4}),
                  (Fields{40, n, 2 * n, 1, 4, 0, bitmap, 0, 0, 0, 0}));
        for (int i = 0; i < 16; ++i) {
            const Rgb c = windowsColour(i);
            EXPECT_EQ(fieldsAt(ico, next + 40 + 4 * std::size_t(i), {1, 1, 1, 1}),
                      (Fields{c.b, c.g, c.r, 0}));
        }
        PixelMap& map = frames.emplace_back(int(n));
        for (std::uint32_t at = 0; at < bitmap; ++at) {  // rows bottom-up, left pixel high
            const auto byte = static_cast<std::uint8_t>(ico.at(next + 104 + at));
            const std::uint32_t y = n - 1 - at / row, x = at % row * 2;
            if (at < row * n && x < n) {
                map.index[y * n + x] = byte >> 4;
                map.index[y * n + x + 1] = byte & 15;
            } else {
                EXPECT_EQ(byte, 0) << "padding or mask at " << at << " of " << n;
            }
        }
        next += 104 + bitmap;
    }
    EXPECT_EQ(ico.size(), next) << "bytes after the last image";
    return frames;
}

// Runs the tool in a scratch folder of its own; returns its exit code and what it reported.
class IconCompilerRun : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::pair<int, std::string> run(const std::vector<std::string>& args) const {
        std::ostringstream errors;
        const int code = runIconCompiler(args, errors);
        return {code, errors.str()};
    }
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
        fs::temp_directory_path() / ("quor6-icon-" + std::to_string(std::random_device{}()));
};

TEST_F(IconCompilerRun, EveryFrameReadsBackFromTheIconAndThePreview) {
    // 20 and 24 wide frames have padded rows; the frames keep the map's order.
    for (const std::vector<int>& sizes :
         std::vector<std::vector<int>>{{32, 24, 20, 16}, {20}, {16, 32}}) {
        std::mt19937 random(static_cast<unsigned>(sizes.size()));
        std::vector<PixelMap> frames;
        std::string text = "; comments, blank lines and CRLF are skipped\n\n";
        for (const int size : sizes) {
            PixelMap& map = frames.emplace_back(size);
            for (std::size_t i = 0; i < map.index.size(); ++i) {
                map.index[i] = static_cast<std::uint8_t>(random() % 16);
                text += kPaletteChars[map.index[i]] +
                        std::string((i + 1) % std::size_t(size) ? "" : "\r\n");
            }
        }
        write("m.txt", text);
        ASSERT_EQ(run({path("m.txt"), path("m.ico")}), std::make_pair(kExitOk, std::string()));
        const std::vector<PixelMap> icon = readIco(read("m.ico"));
        ASSERT_EQ(icon.size(), frames.size());
        for (std::size_t f = 0; f < frames.size(); ++f)
            EXPECT_EQ(icon[f].index, frames[f].index) << "frame " << sizes[f];
        const std::string n = std::to_string(sizes.back());
        ASSERT_EQ(run({"--ppm", n, path("m.txt"), path("p.ppm")}).first, kExitOk);
        std::string ppm = "P6\n" + n + " " + n + "\n255\n";
        for (const std::uint8_t pixel : frames.back().index) {
            const Rgb c = windowsColour(pixel);
            ppm += {char(c.r), char(c.g), char(c.b)};
        }
        EXPECT_EQ(read("p.ppm"), ppm);
    }
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(standardPalette()[std::size_t(i)] == windowsColour(i)) << i;
}

TEST_F(IconCompilerRun, FailsWithAClearMessageAndWritesNothing) {
    const auto rows = [](int count, std::size_t width) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += std::string(width, '.') + "\n";
        return text;
    };
    fs::create_directories(path("empty"));
    const std::string m = path("m.txt"), out = path("out"),
                      usage =
                          "usage: icon_compiler <map.txt> <out.ico>\n"
                          "       icon_compiler --ppm <size> <map.txt> <out.ppm>\n";
    const std::pair<std::string, std::string> maps[] = {
        {rows(31, 32), "frame 32x32: 31 rows, expected 32"},
        {rows(33, 32), "line 33: a second 32x32 frame"},
        {rows(32, 32) + rows(17, 16), "line 49: a second 16x16 frame"},
        {rows(32, 32) + rows(3, 24) + rows(1, 20), "line 36: 20 columns, expected 24"},
        {"; header\n" + rows(1, 31), "line 2: 31 columns, not a frame size (32, 24, 20 or 16)"},
        {rows(4, 32) + std::string(10, '.') + "x" + rows(28, 21),
         "line 5, column 11: 'x' is not a palette character"},
        {"; only a comment", "no frame"},
        {rows(32, 32), "no 24x24 frame"},
    };
    for (const auto& [map, message] : maps) {
        write("m.txt", map);
        EXPECT_EQ(run({"--ppm", "24", m, out}),
                  std::make_pair(kExitFailed, "icon_compiler: " + m + ": " + message + "\n"));
    }
    const std::pair<std::vector<std::string>, std::string> commands[] = {
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
        {{path("absent.txt"), out}, "icon_compiler: " + path("absent.txt") + ": cannot open\n"},
        {{m, path("no-such-dir/out")},
         "icon_compiler: " + path("no-such-dir/out") + ": cannot write\n"},
        {{m, path("empty")}, "icon_compiler: " + path("empty") + ": cannot write\n"},
    };
    for (const auto& [args, message] : commands) {
        EXPECT_EQ(run(args), std::make_pair(message == usage ? kExitUsage : kExitFailed, message));
        EXPECT_FALSE(fs::exists(out)) << message;
    }
    EXPECT_TRUE(fs::is_directory(path("empty"))) << "an existing folder is not cleaned up";
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
    const fs::path folder = fs::path(__FILE__).parent_path() / "../../resources/icons";
    std::vector<std::pair<std::string, std::vector<PixelMap>>> icons;
    for (const auto& [names, colours] : looks) {
        for (const std::string& name : names) {
            std::string error;
            const auto frames = loadIconFrames((folder / (name + ".txt")).string(), error);
            ASSERT_TRUE(frames.has_value()) << error;
            for (std::size_t f = 0; f < 4; ++f) {
                ASSERT_EQ(frames->at(f).size, kFrameSizes.at(f)) << name;
                std::set<char> used;
                for (const std::uint8_t pixel : frames->at(f).index)
                    used.insert(kPaletteChars[pixel]);
                EXPECT_EQ(used, std::set<char>(colours.begin(), colours.end())) << name << f;
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
