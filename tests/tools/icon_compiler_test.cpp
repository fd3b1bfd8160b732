// Tests of the icon converter run as the build runs it: the .ico and the preview byte for byte,
// the failures, and the committed pixel maps themselves (the tray shows them, not the code).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "icon_compiler_cli.h"
#include "pixel_map.h"

namespace quor6::tools {
namespace {

namespace fs = std::filesystem;

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
    std::string head, images;
    const auto put = [](std::string& to,
                        std::initializer_list<std::pair<std::size_t, int>> fields) {
        for (auto [value, bytes] : fields)
            for (; bytes-- > 0; value >>= 8)
                to += char(value & 0xFF);
    };
    put(head, {{0x10000, 4}, {frames.size(), 2}});  // reserved, type icon, count
    for (const PixelMap& map : frames) {
        const std::size_t n = std::size_t(map.size), row = (n / 2 + 3) / 4 * 4,
                          bitmap = (row + (n + 31) / 32 * 4) * n;
        // Width, height, 16 colours, 1 plane, 4 bits, image size and offset.
        put(head, {{n | n << 8 | 16 << 16, 4},
                   {1 | 4 << 16, 4},
                   {104 + bitmap, 4},
                   {6 + 16 * frames.size() + images.size(), 4}});
        // Header size, width, height of image and mask, 1 plane, 4 bits, BI_RGB, bitmap size.
        put(images,
            {{40, 4}, {n, 4}, {2 * n, 4}, {1 | 4 << 16, 4}, {0, 4}, {bitmap, 4}, {0, 8}, {0, 8}});
        for (int i = 0; i < 16; ++i)
            put(images,
                {{windowsColour(i).b | windowsColour(i).g << 8 | windowsColour(i).r << 16, 4}});
        for (int y = map.size - 1; y >= 0; --y) {
            for (int x = 0; x < map.size; x += 2)
                images += char(map.at(x, y) << 4 | map.at(x + 1, y));
            images.append(row - n / 2, '\0');
        }
        images.append(bitmap - row * n, '\0');
    }
    return head + images;
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
    std::string file(const std::string& name, const std::string& write = "") const {
        if (!write.empty())
            std::ofstream(path(name), std::ios::binary) << write;
        std::ostringstream text;
        text << std::ifstream(path(name), std::ios::binary).rdbuf();
        return text.str();
    }

  private:
    fs::path dir_ =
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
        file("m.txt", text);
        ASSERT_EQ(run({path("m.txt"), path("m.ico")}), std::make_pair(kExitOk, std::string()));
        EXPECT_EQ(file("m.ico"), expectedIco(frames));
        const std::string n = std::to_string(sizes.back());
        ASSERT_EQ(run({"--ppm", n, path("m.txt"), path("p.ppm")}).first, kExitOk);
        std::string ppm = "P6\n" + n + " " + n + "\n255\n";
        for (const std::uint8_t pixel : frames.back().index)
            ppm += {char(windowsColour(pixel).r), char(windowsColour(pixel).g),
                    char(windowsColour(pixel).b)};
        EXPECT_EQ(file("p.ppm"), ppm);
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
    const std::string m = path("m.txt"), out = path("out");
    for (const auto& [map, message] : maps) {
        file("m.txt", map);
        EXPECT_EQ(run({"--ppm", "24", m, out}),
                  std::make_pair(kExitFailed, "icon_compiler: " + m + ": " + message + "\n"));
    }
    fs::create_directories(path("folder"));
    const std::pair<std::vector<std::string>, std::string> commands[] = {
        {{m, path("folder")}, "icon_compiler: " + path("folder") + ": cannot write\n"},
        {{m, path("no/out")}, "icon_compiler: " + path("no/out") + ": cannot write\n"},
        {{path("no.txt"), out}, "icon_compiler: " + path("no.txt") + ": cannot open\n"},
        {{}, ""},
        {{m}, ""},
        {{m, out, "extra"}, ""},
        {{"", out}, ""},
        {{m, ""}, ""},
        {{"--ppm"}, ""},
        {{"---", m}, ""},
        {{"--ppm", m, out}, ""},
        {{"--ppm", "18", m, out}, ""},
        {{"--png", "16", m, out}, ""}};
    for (const auto& [args, message] : commands) {
        const std::string usage =
            "usage: icon_compiler <map.txt> <out.ico>\n"
            "       icon_compiler --ppm <size> <map.txt> <out.ppm>\n";
        EXPECT_EQ(run(args), message.empty() ? std::make_pair(kExitUsage, usage)
                                             : std::make_pair(kExitFailed, message));
        EXPECT_FALSE(fs::exists(out)) << message;
    }
    EXPECT_TRUE(fs::is_directory(path("folder"))) << "an existing folder is not cleaned up";
}

TEST(CommittedMaps, HaveEveryFrameInTheirColoursAndStayDistinctAtEverySize) {
    // Each icon with the palette characters it is drawn in, at every size.
    const std::pair<const char*, const char*> looks[] = {
        {"num0 num1 num2 num3 num4 num5 num6 num7 num8 num9 s b o k", "#."},
        {"n g", "p."},
        {"sp", "."},
        {"sw", "#gtse."},
        {"program", "#moesy."}};
    std::vector<std::pair<std::string, std::vector<PixelMap>>> icons;
    for (const auto& [names, colours] : looks) {
        std::istringstream list(names);
        for (std::string name, error; list >> name;) {
            const auto frames = loadIconFrames(
                (fs::path(__FILE__).parent_path() / "../../resources/icons" / (name + ".txt"))
                    .string(),
                error);
            ASSERT_TRUE(frames.has_value()) << error;
            for (std::size_t f = 0; f < 4; ++f) {
                const std::vector<std::uint8_t>& pixels = frames->at(f).index;
                ASSERT_EQ(frames->at(f).size, kFrameSizes.at(f)) << name;
                std::set<char> used;
                for (const std::uint8_t pixel : pixels)
                    used.insert(kPaletteChars[pixel]);
                EXPECT_EQ(used, std::set<char>(colours, colours + std::strlen(colours)))
                    << name << f;
                // Screenshot tests tell tray icons apart by their pixels; a margin keeps that
                // robust.
                for (const auto& [other, otherFrames] : icons) {
                    std::size_t differ = 0;
                    for (std::size_t i = 0; i < pixels.size(); ++i)
                        differ += pixels[i] != otherFrames[f].index[i];
                    EXPECT_GE(differ, 12u)
                        << name << " and " << other << " at " << kFrameSizes.at(f);
                }
            }
            icons.emplace_back(name, *frames);
        }
    }
}

}  // namespace
}  // namespace quor6::tools
