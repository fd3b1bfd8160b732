// The icon converter run as the build runs it: the .ico and the preview byte for byte, failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <tuple>

#include "icon_compiler_cli.h"
#include "pixel_map.h"

namespace quor6::tools {
namespace {

namespace fs = std::filesystem;

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
    // A file's bytes by FNV-1a; the expected hashes are of files an independent builder matched
    // byte for byte: a directory of one entry per frame, then each frame's bitmap header, 16-colour
    // palette, rows bottom-up two pixels a byte padded to 32 bits, and an empty mask.
    static std::uint64_t hashOf(const std::string& bytes) {
        std::uint64_t hash = 0xCBF29CE484222325;
        for (const unsigned char byte : bytes)
            hash = (hash ^ byte) * 0x100000001B3;
        return hash;
    }
    const fs::path home_ = fs::current_path();
    const fs::path dir_ =
        fs::temp_directory_path() / ("quor6-icon-" + std::to_string(std::random_device{}()));
};

TEST_F(IconCompilerRun, WritesTheIconAndThePreviewOrFailsClearlyWritingNothing) {
    // Random maps: 20 and 24 wide frames have padded rows; the frames keep the map's order; the
    // preview is of the last frame.
    const std::tuple<std::vector<int>, std::uint64_t, std::uint64_t> icons[] = {
        {{32, 24, 20, 16}, 0x59B4EDCA0AA6A656, 0x13E31E24EDCC1D72},
        {{20}, 0x38A978751F44503E, 0xB895F1C09317181B},
        {{16, 32}, 0x6B3C7A42653EE3E9, 0xE0BE28922F21F9F1}};
    for (const auto& [sizes, ico, ppm] : icons) {
        std::mt19937 random(static_cast<unsigned>(sizes.size()));
        std::string text = "; comments, blank lines and CRLF are skipped\n\n";
        for (const int size : sizes)
            for (int i = 1; i <= size * size; ++i)
                text += kPaletteChars[random() % 16] + std::string(i % size ? "" : "\r\n");
        file("m", text);
        ASSERT_EQ(run({"m", "m.ico"}), "0 ");
        ASSERT_EQ(run({"--ppm", std::to_string(sizes.back()), "m", "p.ppm"}), "0 ");
        EXPECT_EQ(std::pair(hashOf(file("m.ico")), hashOf(file("p.ppm"))), std::pair(ico, ppm));
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
