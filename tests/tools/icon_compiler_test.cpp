// Tests of the icon converter: the exact .ico bytes, the previews, the command line, and the
// committed pixel maps themselves (legibility in the tray depends on them, not on the code).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
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

// Palette indices, in the order of kPaletteChars.
constexpr std::uint8_t kBlack = 0;
constexpr std::uint8_t kMaroon = 1;
constexpr std::uint8_t kGreen = 2;
constexpr std::uint8_t kOlive = 3;
constexpr std::uint8_t kPurple = 5;
constexpr std::uint8_t kTeal = 6;
constexpr std::uint8_t kSilver = 7;
constexpr std::uint8_t kGrey = 8;
constexpr std::uint8_t kRed = 9;
constexpr std::uint8_t kYellow = 11;
constexpr std::uint8_t kAqua = 14;
constexpr std::uint8_t kWhite = 15;

std::uint16_t u16At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(u16At(bytes, offset)) |
           (static_cast<std::uint32_t>(u16At(bytes, offset + 2)) << 16);
}

// Offsets in a one-frame 32 x 32 icon.
constexpr std::size_t kPaletteOffset = 6 + 16 + 40;
constexpr std::size_t kXorOffset = kPaletteOffset + 64;
constexpr std::size_t kAndOffset = kXorOffset + 512;

PixelMap filledMap(std::uint8_t colour, int size = kMapSize) {
    PixelMap map(size);
    std::fill(map.index.begin(), map.index.end(), colour);
    return map;
}

void setPixel(PixelMap& map, int x, int y, std::uint8_t colour) {
    map.index[static_cast<std::size_t>(y * map.size + x)] = colour;
}

PixelMap randomMap(unsigned seed, int size = kMapSize) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> colour(0, 15);
    PixelMap map(size);
    for (auto& pixel : map.index)
        pixel = static_cast<std::uint8_t>(colour(generator));
    return map;
}

std::vector<PixelMap> randomFrames(unsigned seed) {
    return {randomMap(seed, 32), randomMap(seed + 1, 24), randomMap(seed + 2, 20),
            randomMap(seed + 3, 16)};
}

// Reads an encoded icon back the way Windows does: through its directory, checking each
// frame's header against its entry, with padded bottom-up rows and an empty mask.
std::vector<PixelMap> decodeIco(const std::vector<std::uint8_t>& bytes) {
    std::vector<PixelMap> frames;
    for (std::size_t i = 0; i < u16At(bytes, 4); ++i) {
        const std::size_t entry = 6 + 16 * i;
        PixelMap map(bytes.at(entry));
        const std::size_t image = u32At(bytes, entry + 12);
        EXPECT_EQ(bytes.at(entry + 1), map.size);
        EXPECT_EQ(u32At(bytes, image + 4), static_cast<std::uint32_t>(map.size));
        EXPECT_EQ(u32At(bytes, image + 8), static_cast<std::uint32_t>(2 * map.size));
        EXPECT_EQ(u16At(bytes, image + 14), 4u);
        const std::size_t xorRow = (static_cast<std::size_t>(map.size) * 4 + 31) / 32 * 4;
        const std::size_t andRow = (static_cast<std::size_t>(map.size) + 31) / 32 * 4;
        const std::size_t xorStart = image + 40 + 64;
        const std::size_t andStart = xorStart + xorRow * static_cast<std::size_t>(map.size);
        EXPECT_EQ(u32At(bytes, entry + 8), andStart + andRow * map.size - image);
        for (int row = 0; row < map.size; ++row) {
            for (int x = 0; x < map.size; ++x) {
                const std::uint8_t packed =
                    bytes.at(xorStart + static_cast<std::size_t>(row) * xorRow + x / 2);
                setPixel(map, x, map.size - 1 - row,
                         static_cast<std::uint8_t>(x % 2 == 0 ? packed >> 4 : packed & 0x0F));
            }
        }
        for (std::size_t m = 0; m < andRow * static_cast<std::size_t>(map.size); ++m)
            EXPECT_EQ(bytes.at(andStart + m), 0u) << "mask of the " << map.size << " frame";
        frames.push_back(map);
    }
    return frames;
}

std::string mapText(const std::vector<PixelMap>& frames) {
    std::string text;
    for (const PixelMap& map : frames) {
        text += "; a frame\n";
        for (int y = 0; y < map.size; ++y) {
            for (int x = 0; x < map.size; ++x)
                text += kPaletteChars[map.at(x, y)];
            text += '\n';
        }
    }
    return text;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// ---------------------------------------------------------------------------------------------
// .ico encoding

TEST(IcoEncoding, FileHasOneDirectoryEntryFor32x32At4Bits) {
    const std::vector<std::uint8_t> bytes = encodeIco({filledMap(kWhite)});
    ASSERT_EQ(bytes.size(), 766u);
    EXPECT_EQ(u16At(bytes, 0), 0u);  // reserved
    EXPECT_EQ(u16At(bytes, 2), 1u);  // icon, not cursor
    EXPECT_EQ(u16At(bytes, 4), 1u);  // one image
    EXPECT_EQ(bytes[6], 32u);
    EXPECT_EQ(bytes[7], 32u);
    EXPECT_EQ(bytes[8], 16u);
    EXPECT_EQ(bytes[9], 0u);
    EXPECT_EQ(u16At(bytes, 10), 1u);
    EXPECT_EQ(u16At(bytes, 12), 4u);
    EXPECT_EQ(u32At(bytes, 14), 744u);  // 40 header + 64 palette + 512 XOR + 128 AND
    EXPECT_EQ(u32At(bytes, 18), 22u);
}

TEST(IcoEncoding, BitmapHeaderCountsXorAndMaskInItsHeight) {
    const std::vector<std::uint8_t> bytes = encodeIco({filledMap(kWhite)});
    EXPECT_EQ(u32At(bytes, 22), 40u);
    EXPECT_EQ(u32At(bytes, 26), 32u);
    EXPECT_EQ(u32At(bytes, 30), 64u);
    EXPECT_EQ(u16At(bytes, 34), 1u);
    EXPECT_EQ(u16At(bytes, 36), 4u);
    EXPECT_EQ(u32At(bytes, 38), 0u);    // uncompressed
    EXPECT_EQ(u32At(bytes, 42), 640u);  // XOR + AND
    EXPECT_EQ(u32At(bytes, 46), 0u);
    EXPECT_EQ(u32At(bytes, 50), 0u);
    EXPECT_EQ(u32At(bytes, 54), 0u);
    EXPECT_EQ(u32At(bytes, 58), 0u);
}

TEST(IcoEncoding, PaletteIsTheStandardSixteenColoursAsBgrQuads) {
    const std::vector<std::uint8_t> bytes = encodeIco({filledMap(kWhite)});
    const std::uint8_t expected[16][3] = {
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
        {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
        {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
    };
    for (std::size_t i = 0; i < 16; ++i) {
        const std::size_t quad = kPaletteOffset + 4 * i;
        EXPECT_EQ(bytes[quad + 0], expected[i][2]) << "blue of colour " << i;
        EXPECT_EQ(bytes[quad + 1], expected[i][1]) << "green of colour " << i;
        EXPECT_EQ(bytes[quad + 2], expected[i][0]) << "red of colour " << i;
        EXPECT_EQ(bytes[quad + 3], 0u) << "reserved byte of colour " << i;
    }
}

TEST(IcoEncoding, AndMaskIsAllZeroSoEveryPixelIsOpaque) {
    const std::vector<std::uint8_t> bytes = encodeIco({randomMap(7)});
    for (std::size_t i = kAndOffset; i < bytes.size(); ++i) {
        ASSERT_EQ(bytes[i], 0u) << "mask byte at offset " << i;
    }
}

TEST(IcoEncoding, RowsAreBottomUpWithTheLeftPixelInTheHighNibble) {
    PixelMap map = filledMap(kWhite);
    setPixel(map, 0, 0, kMaroon);
    setPixel(map, 1, 0, kAqua);
    setPixel(map, 31, 31, kRed);
    const std::vector<std::uint8_t> bytes = encodeIco({map});
    // Row 0 (top) is stored last, row 31 (bottom) first.
    EXPECT_EQ(bytes[kXorOffset + 31 * 16], 0x1Eu);
    EXPECT_EQ(bytes[kXorOffset + 15], 0xF9u);
    EXPECT_EQ(bytes[kXorOffset], 0xFFu);
}

TEST(IcoEncoding, EveryFrameAndPixelRoundTrips) {
    // Frames 20 and 24 wide have padded rows in their XOR image.
    const std::vector<PixelMap> frames = randomFrames(1);
    const std::vector<std::uint8_t> bytes = encodeIco(frames);
    const std::vector<PixelMap> decoded = decodeIco(bytes);
    ASSERT_EQ(decoded.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(decoded[i].size, frames[i].size);
        EXPECT_EQ(decoded[i].index, frames[i].index) << "frame " << frames[i].size;
        // The colour Windows shows: the pixel's entry in the frame's own palette (BGR quads).
        const std::size_t palette = u32At(bytes, 6 + 16 * i + 12) + 40;
        int wrong = 0;
        for (int y = 0; y < frames[i].size; ++y) {
            for (int x = 0; x < frames[i].size; ++x) {
                const std::size_t quad = palette + 4u * decoded[i].at(x, y);
                wrong +=
                    !(Rgb{bytes[quad + 2], bytes[quad + 1], bytes[quad]} == frames[i].rgb(x, y));
            }
        }
        EXPECT_EQ(wrong, 0) << "pixels of another colour in frame " << frames[i].size;
    }
}

// ---------------------------------------------------------------------------------------------
// Previews and tray sampling

TEST(PpmEncoding, FullSizeImageHasHeaderAndRgbTriples) {
    PixelMap map = filledMap(kWhite);
    setPixel(map, 1, 0, kPurple);
    setPixel(map, 31, 31, kYellow);
    const std::string ppm = encodePpm(map);
    const std::string header = "P6\n32 32\n255\n";
    ASSERT_EQ(ppm.size(), header.size() + 32 * 32 * 3);
    EXPECT_EQ(ppm.substr(0, header.size()), header);
    EXPECT_EQ(ppm.substr(header.size(), 3), std::string(3, '\xFF'));
    EXPECT_EQ(ppm.substr(header.size() + 3, 3), std::string("\x80\x00\x80", 3));
    EXPECT_EQ(ppm.substr(ppm.size() - 3), std::string("\xFF\xFF\x00", 3));
}

TEST(PpmEncoding, SmallFrameHasItsOwnSize) {
    const std::string ppm = encodePpm(filledMap(kTeal, 20));
    const std::string header = "P6\n20 20\n255\n";
    ASSERT_EQ(ppm.size(), header.size() + 20 * 20 * 3);
    EXPECT_EQ(ppm.substr(0, header.size()), header);
    EXPECT_EQ(ppm.substr(header.size(), 3), std::string("\x00\x80\x80", 3));
}

// ---------------------------------------------------------------------------------------------
// Map parser

std::string whiteRows(int count, std::size_t width = 32) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::string(width, '.') + "\n";
    return text;
}

TEST(PixelMapParser, AcceptsCommentsBlankLinesCrLfAndAllPaletteCharacters) {
    std::string text = "; a comment\n\n";
    text += std::string(kPaletteChars) + std::string(kPaletteChars) + "\r\n";
    text += whiteRows(31) + "; the next frame\n" + whiteRows(15, 16) + std::string(15, '.') + "#";
    std::string error;
    const auto frames = parseIconFrames(text, error);
    ASSERT_TRUE(frames.has_value()) << error;
    ASSERT_EQ(frames->size(), 2u);
    for (int x = 0; x < 32; ++x)
        EXPECT_EQ(frames->at(0).at(x, 0), x % 16);
    EXPECT_EQ(frames->at(0).at(5, 1), kWhite);
    EXPECT_EQ(frames->at(1).size, 16);
    EXPECT_EQ(frames->at(1).at(15, 15), kBlack);
    EXPECT_EQ(frameOfSize(*frames, 16), &frames->at(1));
    EXPECT_EQ(frameOfSize(*frames, 24), nullptr);
}

TEST(PixelMapParser, RejectsBadMapsWithTheLineNumber) {
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {whiteRows(31), "frame 32x32: 31 rows, expected 32"},
        {whiteRows(33), "line 33: a second 32x32 frame"},
        {whiteRows(32) + whiteRows(3, 20), "frame 20x20: 3 rows, expected 20"},
        {whiteRows(32) + whiteRows(3, 24) + whiteRows(1, 20), "line 36: 20 columns, expected 24"},
        {"; header\n" + std::string(31, '.') + "\n" + whiteRows(31),
         "line 2: 31 columns, not a frame size (32, 24, 20 or 16)"},
        {whiteRows(4) + std::string(10, '.') + "x" + std::string(21, '.') + "\n" + whiteRows(27),
         "line 5, column 11: 'x' is not a palette character"},
        {"; only a comment", "no frame"},
    };
    for (const Case& bad : cases) {
        std::string error;
        EXPECT_FALSE(parseIconFrames(bad.text, error).has_value()) << bad.message;
        EXPECT_EQ(error, bad.message);
    }
}

// ---------------------------------------------------------------------------------------------
// Command line

class IconCompilerRun : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device entropy;
        dir_ = fs::temp_directory_path() / ("quor6-icon-test-" + std::to_string(entropy()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    int run(const std::vector<std::string>& args) {
        errors_.str("");
        return runIconCompiler(args, errors_);
    }
    fs::path path(const std::string& name) const { return dir_ / name; }
    std::string errors() const { return errors_.str(); }

  private:
    fs::path dir_;
    std::ostringstream errors_;
};

TEST(IconCommandLine, ReadsBothForms) {
    const auto ico = parseIconCommandLine({"a.txt", "a.ico"});
    ASSERT_TRUE(ico.has_value());
    EXPECT_EQ(ico->output, IconOutput::kIco);
    EXPECT_EQ(ico->mapPath, "a.txt");
    EXPECT_EQ(ico->outPath, "a.ico");

    const auto ppm = parseIconCommandLine({"--ppm", "20", "a.txt", "a.ppm"});
    ASSERT_TRUE(ppm.has_value());
    EXPECT_EQ(ppm->output, IconOutput::kPpm);
    EXPECT_EQ(ppm->ppmSize, 20);
    EXPECT_EQ(ppm->mapPath, "a.txt");
    EXPECT_EQ(ppm->outPath, "a.ppm");
}

TEST(IconCommandLine, RejectsMalformedOnes) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"a.txt"},
        {"a.txt", "a.ico", "extra"},
        {"--ppm", "a.txt", "a.ppm"},
        {"--ppm", "18", "a.txt", "a.ppm"},
        {"--ppm"},
        {"--png", "16", "a.txt", "a.png"},
        {"", "a.ico"},
    };
    for (const auto& args : bad) {
        EXPECT_FALSE(parseIconCommandLine(args).has_value()) << args.size() << " arguments";
    }
}

TEST_F(IconCompilerRun, WritesTheIcoOfTheMap) {
    const std::vector<PixelMap> frames = randomFrames(11);
    writeFile(path("m.txt"), mapText(frames));
    ASSERT_EQ(run({path("m.txt").string(), path("m.ico").string()}), kExitOk) << errors();
    const std::vector<std::uint8_t> expected = encodeIco(frames);
    EXPECT_EQ(readFile(path("m.ico")), std::string(expected.begin(), expected.end()));
    EXPECT_EQ(errors(), "");
}

TEST_F(IconCompilerRun, WritesThePreviewOfTheFrameAsked) {
    const std::vector<PixelMap> frames = randomFrames(12);
    writeFile(path("m.txt"), mapText({frames[0], frames[3]}));
    ASSERT_EQ(run({"--ppm", "16", path("m.txt").string(), path("p.ppm").string()}), kExitOk);
    EXPECT_EQ(readFile(path("p.ppm")), encodePpm(frames[3]));
    EXPECT_EQ(run({"--ppm", "24", path("m.txt").string(), path("q.ppm").string()}), kExitFailed);
    EXPECT_NE(errors().find("m.txt: no 24x24 frame"), std::string::npos) << errors();
    EXPECT_FALSE(fs::exists(path("q.ppm")));
}

TEST_F(IconCompilerRun, ShowsUsageForABadCommandLine) {
    EXPECT_EQ(run({"only-one"}), kExitUsage);
    EXPECT_NE(errors().find("usage: icon_compiler <map.txt> <out.ico>"), std::string::npos);
}

TEST_F(IconCompilerRun, FailsOnAMissingOrBadMapAndWritesNothing) {
    EXPECT_EQ(run({path("absent.txt").string(), path("out.ico").string()}), kExitFailed);
    EXPECT_NE(errors().find(path("absent.txt").string() + ": cannot open"), std::string::npos);
    EXPECT_FALSE(fs::exists(path("out.ico")));

    writeFile(path("short.txt"), whiteRows(30));
    EXPECT_EQ(run({path("short.txt").string(), path("out.ico").string()}), kExitFailed);
    EXPECT_NE(errors().find("short.txt: frame 32x32: 30 rows, expected 32"), std::string::npos)
        << errors();
    EXPECT_FALSE(fs::exists(path("out.ico")));
}

TEST_F(IconCompilerRun, FailsWhenTheOutputCannotBeWritten) {
    writeFile(path("m.txt"), whiteRows(32));
    const std::string out = path("no-such-dir/out.ico").string();
    EXPECT_EQ(run({path("m.txt").string(), out}), kExitFailed);
    EXPECT_NE(errors().find(out + ": cannot write"), std::string::npos) << errors();
}

// ---------------------------------------------------------------------------------------------
// The committed maps

const std::vector<std::string>& trayIconNames() {
    static const std::vector<std::string> names = {"num0", "num1", "num2", "num3", "num4", "num5",
                                                   "num6", "num7", "num8", "num9", "s",    "b",
                                                   "o",    "k",    "n",    "g",    "sp",   "sw"};
    return names;
}

// The maps live in resources/icons; QUOR6_ICON_MAP_DIR overrides the path found from here.
fs::path mapDirectory() {
    if (const char* overridden = std::getenv("QUOR6_ICON_MAP_DIR"))
        return overridden;
    return fs::path(__FILE__).parent_path().parent_path().parent_path() / "resources" / "icons";
}

class CommittedMaps : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::vector<std::string> names = trayIconNames();
        names.push_back("program");
        for (const std::string& name : names) {
            std::string error;
            const auto frames = loadIconFrames((mapDirectory() / (name + ".txt")).string(), error);
            if (frames) {
                icons().emplace(name, *frames);
            } else {
                loadErrors() += error + "\n";
            }
        }
    }
    static std::map<std::string, std::vector<PixelMap>>& icons() {
        static std::map<std::string, std::vector<PixelMap>> loaded;
        return loaded;
    }
    static std::string& loadErrors() {
        static std::string errors;
        return errors;
    }
    void SetUp() override { ASSERT_EQ(loadErrors(), "") << "in " << mapDirectory(); }

    // The design frame; every icon has one, as the first test checks.
    static const PixelMap& map(const std::string& name) { return icons().at(name).front(); }
    static const std::vector<PixelMap>& frames(const std::string& name) { return icons().at(name); }

    static std::set<std::uint8_t> coloursOf(const PixelMap& map) {
        return std::set<std::uint8_t>(map.index.begin(), map.index.end());
    }
};

struct InkBox {
    int left = kMapSize, right = -1, top = kMapSize, bottom = -1;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

InkBox inkBox(const PixelMap& map) {
    InkBox box;
    for (int y = 0; y < map.size; ++y) {
        for (int x = 0; x < map.size; ++x) {
            if (map.at(x, y) == kWhite)
                continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

TEST_F(CommittedMaps, AllNineteenLoadWithTheirFourFramesAndDiffer) {
    EXPECT_EQ(icons().size(), 19u);
    for (const auto& [name, list] : icons()) {
        std::vector<int> sizes;
        for (const PixelMap& frame : list)
            sizes.push_back(frame.size);
        EXPECT_EQ(sizes, (std::vector<int>{32, 24, 20, 16})) << name;
    }
    for (auto a = icons().begin(); a != icons().end(); ++a) {
        for (auto b = std::next(a); b != icons().end(); ++b) {
            EXPECT_NE(a->second.front().index, b->second.front().index)
                << a->first << " and " << b->first;
        }
    }
}

TEST_F(CommittedMaps, TrayFramesStayDistinctAtEverySize) {
    // Screenshot tests classify tray icons by their pixels; a margin keeps them robust.
    constexpr int kMinimumDifference = 12;
    const auto& names = trayIconNames();
    for (std::size_t f = 0; f < 4; ++f) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            for (std::size_t j = i + 1; j < names.size(); ++j) {
                const auto& a = frames(names[i])[f].index;
                const auto& b = frames(names[j])[f].index;
                const auto differing = std::inner_product(a.begin(), a.end(), b.begin(), 0,
                                                          std::plus<>(), std::not_equal_to<>());
                EXPECT_GE(differing, kMinimumDifference)
                    << names[i] << " vs " << names[j] << " at " << frames(names[i])[f].size;
            }
        }
    }
}

TEST_F(CommittedMaps, BlackCharactersUseOnlyBlackAndWhite) {
    for (const char* name : {"num0", "num1", "num2", "num3", "num4", "num5", "num6", "num7", "num8",
                             "num9", "s", "b", "o", "k"}) {
        for (const PixelMap& frame : frames(name)) {
            EXPECT_EQ(coloursOf(frame), (std::set<std::uint8_t>{kBlack, kWhite}))
                << name << " at " << frame.size;
        }
    }
}

TEST_F(CommittedMaps, NAndGArePurpleReachingTheBottomRow) {
    for (const char* name : {"n", "g"}) {
        for (const PixelMap& frame : frames(name)) {
            EXPECT_EQ(coloursOf(frame), (std::set<std::uint8_t>{kPurple, kWhite})) << name;
            EXPECT_EQ(inkBox(frame).bottom, frame.size - 1) << name << " at " << frame.size;
        }
    }
    const InkBox n = inkBox(map("n"));
    EXPECT_EQ(n.left, 9);
    EXPECT_EQ(n.right, 29);
    EXPECT_EQ(n.bottom, 31);
    const InkBox g = inkBox(map("g"));
    EXPECT_EQ(g.left, 5);
    EXPECT_EQ(g.right, 29);
    EXPECT_EQ(g.bottom, 31);
}

TEST_F(CommittedMaps, DigitsAndLettersHaveTheirSizes) {
    for (int digit = 0; digit <= 9; ++digit) {
        const std::string name = "num" + std::to_string(digit);
        const InkBox box = inkBox(map(name));
        EXPECT_TRUE(box.top == 4 || box.top == 5) << name << " top " << box.top;
        EXPECT_TRUE(box.bottom == 26 || box.bottom == 27) << name << " bottom " << box.bottom;
        // The 1 is narrow by nature; every other digit is 13 to 16 wide.
        if (digit != 1) {
            EXPECT_GE(box.width(), 13) << name;
            EXPECT_LE(box.width(), 16) << name;
        }
        EXPECT_LT(box.left + box.right, kMapSize - 1) << name << " is not left of centre";
    }
    for (const char* name : {"s", "b", "o", "k"}) {
        const InkBox box = inkBox(map(name));
        EXPECT_GE(box.width(), 18) << name;
        EXPECT_LE(box.width(), 22) << name;
        EXPECT_GE(box.height(), 22) << name;
    }
}

TEST_F(CommittedMaps, OneHasNoFoot) {
    // A foot would be ink left or right of the stem in the bottom rows.
    const PixelMap& one = map("num1");
    const InkBox box = inkBox(one);
    int bottomWidth = 0;
    for (int x = 0; x < kMapSize; ++x)
        bottomWidth += one.at(x, box.bottom) != kWhite;
    EXPECT_LE(bottomWidth, 4);
    EXPECT_LT(box.left, 10) << "the flag reaches to the upper left";
}

TEST_F(CommittedMaps, BlankIsAllWhite) {
    for (const PixelMap& frame : frames("sp"))
        EXPECT_EQ(coloursOf(frame), std::set<std::uint8_t>{kWhite}) << frame.size;
}

TEST_F(CommittedMaps, SphereIsGreyAboveBlackBelowWithAGlobeAndWhiteCorners) {
    const std::set<std::uint8_t> allowed = {kBlack, kGrey, kSilver, kTeal, kGreen, kWhite};
    for (const PixelMap& sphere : frames("sw")) {
        const int n = sphere.size;
        for (const std::uint8_t colour : coloursOf(sphere))
            EXPECT_EQ(allowed.count(colour), 1u) << "colour " << int{colour} << " at " << n;
        const std::pair<int, int> corners[] = {{0, 0}, {n - 1, 0}, {0, n - 1}, {n - 1, n - 1}};
        for (const auto& [x, y] : corners)
            EXPECT_EQ(sphere.at(x, y), kWhite) << x << "," << y << " at " << n;
        // The points of the design frame's (15, 3) and (15, 28), scaled.
        EXPECT_EQ(sphere.at(n / 2 - 1, 3 * n / 32), kGrey) << n;
        EXPECT_EQ(sphere.at(n / 2 - 1, 28 * n / 32), kBlack) << n;
        const auto count = [&](std::uint8_t colour) {
            return 1024 * std::count(sphere.index.begin(), sphere.index.end(), colour) / (n * n);
        };
        EXPECT_GT(count(kTeal), 40) << "teal at " << n;
        EXPECT_GT(count(kGreen), 20) << "green at " << n;
    }
}

TEST_F(CommittedMaps, ProgramIconIsAQuestionMarkOnARaisedTile) {
    const std::set<std::uint8_t> allowed = {kSilver, kYellow, kOlive, kGrey,
                                            kWhite,  kBlack,  kMaroon};
    for (const PixelMap& program : frames("program")) {
        const int n = program.size;
        EXPECT_EQ(coloursOf(program), allowed) << n;
        for (int i = 1; i < n - 3; ++i) {
            EXPECT_EQ(program.at(i, 0), kWhite) << "top edge at " << i << " of " << n;
            EXPECT_EQ(program.at(0, i), kWhite) << "left edge at " << i << " of " << n;
            EXPECT_EQ(program.at(i + 2, n - 2), kGrey) << "bottom edge at " << i + 2 << " of " << n;
            EXPECT_EQ(program.at(i + 2, n - 1), kGrey) << "bottom edge at " << i + 2 << " of " << n;
            EXPECT_EQ(program.at(n - 2, i + 2), kGrey) << "right edge at " << i + 2 << " of " << n;
            EXPECT_EQ(program.at(n - 1, i + 2), kGrey) << "right edge at " << i + 2 << " of " << n;
        }
        EXPECT_EQ(program.at(3, n / 2 - 1), kSilver) << n;
    }
}

}  // namespace
}  // namespace quor6::tools
