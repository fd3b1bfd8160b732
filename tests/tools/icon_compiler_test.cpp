// The icon converter run as the build runs it: the .ico and the preview byte for byte, failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>

#include "icon_compiler_cli.h"
#include "pixel_map.h"

namespace quor6::tools {
namespace {

namespace fs = std::filesystem;

// The 16 colours of a 4-bit Windows bitmap as 0xRRGGBB, which is also a palette entry's layout.
constexpr std::size_t kWindowsColours[] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

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
        for (const std::size_t colour : kWindowsColours)
            put(images, {colour});
        for (int y = map.size - 1; y >= 0; --y) {
            for (int x = 0; x < map.size; x += 2)
                images += char(map.at(x, y) << 4 | map.at(x + 1, y));
            images.append(row - n / 2, '\0');
        }
        images.append(bitmap - row * n, '\0');
    }
    return head + images;
}

// Runs the tool in a scratch folder of its own, the working folder, so files go by their names.
class IconCompilerRun : public ::testing::Test {
  protected:
    IconCompilerRun() {
        fs::create_directories(dir_);
        fs::current_path(dir_);
    }
    ~IconCompilerRun() override {
        fs::current_path(home_);
        fs::remove_all(dir_);
    }
    static std::string run(const std::vector<std::string>& args) {
        std::ostringstream errors;
        const int code = runIconCompiler(args, errors);  // before errors.str() is taken
        return std::to_string(code) + " " + errors.str();
    }
    static std::string file(const std::string& name, const std::string& write = "") {
        if (!write.empty())
            std::ofstream(name, std::ios::binary) << write;
        std::ostringstream text;
        text << std::ifstream(name, std::ios::binary).rdbuf();
        return text.str();
    }

  private:
    const fs::path home_ = fs::current_path();
    const fs::path dir_ =
        fs::temp_directory_path() / ("quor6-icon-" + std::to_string(std::random_device{}()));
};

TEST_F(IconCompilerRun, WritesTheIconAndThePreviewOrFailsClearlyWritingNothing) {
    // 20 and 24 wide frames have padded rows; the frames keep the map's order.
    for (const auto& sizes : {std::vector{32, 24, 20, 16}, std::vector{20}, std::vector{16, 32}}) {
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
        ASSERT_EQ(run({"m", "m.ico"}), "0 ");
        EXPECT_EQ(file("m.ico"), expectedIco(frames));
        const std::string n = std::to_string(sizes.back());
        ASSERT_EQ(run({"--ppm", n, "m", "p.ppm"}), "0 ");
        std::string ppm = "P6\n" + n + " " + n + "\n255\n";
        for (const std::size_t colour : frames.back().index)
            ppm += {char(kWindowsColours[colour] >> 16), char(kWindowsColours[colour] >> 8),
                    char(kWindowsColours[colour])};
        EXPECT_EQ(file("p.ppm"), ppm);
    }
    const auto rows = [](std::size_t count, std::size_t width) {
        return std::regex_replace(std::string(count, '\n'), std::regex("\n"),
                                  std::string(width, '.') + "\n");
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
        EXPECT_EQ(run({"--ppm", "24", "m", "out"}), "1 icon_compiler: m: " + message + "\n");
    }
    fs::create_directories("folder");
    // Command lines, '' an empty argument; after "=>" the message, else the usage.
    for (const std::string line :
         {"", "m", "m out extra", "'' out", "m ''", "--ppm", "--- m", "--ppm m out",
          "--ppm 18 m out", "--png 16 m out", "no.txt out => no.txt: cannot open",
          "m no/out => no/out: cannot write", "m folder => folder: cannot write"}) {
        const std::size_t arrow = line.find(" => ");
        std::vector<std::string> args;
        std::istringstream words(line.substr(0, arrow));
        for (std::string word; words >> word;)
            args.push_back(word == "''" ? "" : word);
        EXPECT_EQ(run(args), arrow == std::string::npos
                                 ? "2 usage: icon_compiler <map.txt> <out.ico>\n       "
                                   "icon_compiler --ppm <size> <map.txt> <out.ppm>\n"
                                 : "1 icon_compiler: " + line.substr(arrow + 4) + "\n");
        EXPECT_FALSE(fs::exists("out")) << line;
    }
    EXPECT_TRUE(fs::is_directory("folder")) << "an existing folder is not cleaned up";
}

}  // namespace
}  // namespace quor6::tools
