// Tests of the icon converter run as the build runs it: the .ico and the preview byte for byte,
// and the failures.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "icon_compiler_cli.h"
#include "pixel_map.h"

namespace quor6::tools {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// The 16 colours of a 4-bit Windows bitmap by their rule: bits 0-2 light red, green and blue,
// at half strength below 8 and full from 8 on; silver and grey take the two places left over.
Rgb windowsColour(int i) {
    const auto level = [i](int bit) { return std::uint8_t((i & bit) ? i < 8 ? 128 : 255 : 0); };
    return i == 7   ? Rgb{192, 192, 192}
           : i == 8 ? Rgb{128, 128, 128}
                    : Rgb{level(1), level(2), level(4)};
}

// The icon Windows reads: a directory of one entry per frame, then each frame's bitmap header,
// palette, rows bottom-up two pixels a byte padded to 32 bits, and an empty (opaque) mask.
std::string expectedIco(const std::vector<PixelMap>& frames) {
    std::string head = {0, 0, 1, 0, char(frames.size()), 0}, images;  // reserved, icon, count
    const auto put = [](std::string& to, std::initializer_list<std::size_t> words) {
        for (std::size_t word : words)
            for (int byte = 0; byte < 4; ++byte, word >>= 8)
                to += char(word & 0xFF);
    };
    for (const PixelMap& map : frames) {
        const std::size_t n = std::size_t(map.size), row = (n / 2 + 3) / 4 * 4,
                          bitmap = (row + (n + 31) / 32 * 4) * n;
        // Width, height, 16 colours; 1 plane, 4 bits; the image's size and offset.
        put(head, {n | n << 8 | 16 << 16, 1 | 4 << 16, 104 + bitmap,
                   6 + 16 * frames.size() + images.size()});
        // Its header: size, width, height of image and mask, 1 plane and 4 bits, BI_RGB, bitmap
        // bytes, resolutions and colour counts left to their defaults; then the palette.
        put(images, {40, n, 2 * n, 1 | 4 << 16, 0, bitmap, 0, 0, 0, 0});
        for (int i = 0; i < 16; ++i)
            put(images, {std::size_t(windowsColour(i).b | windowsColour(i).g << 8 |
                                     windowsColour(i).r << 16)});
        for (int y = map.size - 1; y >= 0; --y) {
            for (int x = 0; x < map.size; x += 2)
                images += char(map.at(x, y) << 4 | map.at(x + 1, y));
            images.append(row - n / 2, '\0');
        }
        images.append(bitmap - row * n, '\0');
    }
    return head + images;
}

// Runs the tool in a scratch folder of its own: its exit code and what it reported.
class IconCompilerRun : public ::testing::Test {
  protected:
    IconCompilerRun() { fs::create_directories(dir_); }
    ~IconCompilerRun() override { fs::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    // The exit code and the report, file names without the scratch folder.
    std::string run(const std::vector<std::string>& args) const {
        std::ostringstream errors;
        std::string report = std::to_string(runIconCompiler(args, errors)) + " ";
        report += errors.str();
        for (std::size_t at; (at = report.find(path(""))) != std::string::npos;)
            report.erase(at, path("").size());
        return report;
    }
    std::string file(const std::string& name, const std::string& write = "") const {
        if (!write.empty())
            std::ofstream(path(name), std::ios::binary) << write;
        std::ostringstream text;
        text << std::ifstream(path(name), std::ios::binary).rdbuf();
        return text.str();
    }

  private:
    const fs::path dir_ =
        fs::temp_directory_path() / ("quor6-icon-" + std::to_string(std::random_device{}()));
};

TEST_F(IconCompilerRun, WritesEveryFrameIntoTheIconAndAFrameIntoThePreview) {
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
        file("m", text);
        ASSERT_EQ(run({path("m"), path("m.ico")}), "0 ");
        // As bytes, which a failure shows escaped.
        const auto bytes = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
        EXPECT_EQ(bytes(file("m.ico")), bytes(expectedIco(frames)));
        const std::string n = std::to_string(sizes.back());
        ASSERT_EQ(run({"--ppm", n, path("m"), path("p.ppm")}), "0 ");
        std::string ppm = "P6\n" + n + " " + n + "\n255\n";
        for (const std::uint8_t pixel : frames.back().index)
            ppm += {char(windowsColour(pixel).r), char(windowsColour(pixel).g),
                    char(windowsColour(pixel).b)};
        EXPECT_EQ(bytes(file("p.ppm")), bytes(ppm));
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
    const std::pair<std::string, std::string> maps[] = {
        {rows(31, 32), "frame 32x32: 31 rows, expected 32"},
        {rows(33, 32), "line 33: a second 32x32 frame"},
        {rows(32, 32) + rows(17, 16), "line 49: a second 16x16 frame"},
        {rows(32, 32) + rows(3, 24) + rows(1, 20), "line 36: 20 columns, expected 24"},
        {"; header\n" + rows(1, 31), "line 2: 31 columns, not a frame size (32, 24, 20 or 16)"},
        {rows(4, 32) + std::string(10, '.') + "x" + rows(1, 21),
         "line 5, column 11: 'x' is not a palette character"},
        {"; only a comment", "no frame"},
        {rows(32, 32), "no 24x24 frame"}};
    for (const auto& [map, message] : maps) {
        file("m", map);
        EXPECT_EQ(run({"--ppm", "24", path("m"), path("out")}),
                  "1 icon_compiler: m: " + message + "\n");
    }
    fs::create_directories(path("folder"));
    // Command lines: each word a file in the scratch folder unless an option or a size, '' an
    // empty argument; after "=>" the message, else the usage.
    for (const std::string line :
         {"", "m", "m out extra", "'' out", "m ''", "--ppm", "--- m", "--ppm m out",
          "--ppm 18 m out", "--png 16 m out", "no.txt out => no.txt: cannot open",
          "m no/out => no/out: cannot write", "m folder => folder: cannot write"}) {
        const std::size_t arrow = line.find(" => ");
        std::vector<std::string> args;
        std::istringstream words(line.substr(0, arrow));
        for (std::string word; words >> word;)
            args.push_back(word == "''"                              ? ""
                           : word[0] == '-' || std::isdigit(word[0]) ? word
                                                                     : path(word));
        EXPECT_EQ(run(args), arrow == std::string::npos
                                 ? "2 usage: icon_compiler <map.txt> <out.ico>\n       "
                                   "icon_compiler --ppm <size> <map.txt> <out.ppm>\n"
                                 : "1 icon_compiler: " + line.substr(arrow + 4) + "\n");
        EXPECT_FALSE(fs::exists(path("out"))) << line;
    }
    EXPECT_TRUE(fs::is_directory(path("folder"))) << "an existing folder is not cleaned up";
}

}  // namespace
}  // namespace quor6::tools
