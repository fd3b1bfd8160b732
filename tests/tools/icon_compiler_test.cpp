// Tests of the icon converter: the exact .ico bytes, the previews, the command line, and the
// committed pixel maps themselves (legibility in the tray depends on them, not on the code).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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
#include "tray_sample.h"

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

PixelMap filledMap(std::uint8_t colour) {
    PixelMap map;
    map.index.fill(colour);
    return map;
}

void setPixel(PixelMap& map, int x, int y, std::uint8_t colour) {
    map.index[static_cast<std::size_t>(y * kMapSize + x)] = colour;
}

PixelMap randomMap(unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> colour(0, 15);
    PixelMap map;
    for (auto& pixel : map.index)
        pixel = static_cast<std::uint8_t>(colour(generator));
    return map;
}

// Reads the XOR bitmap of an encoded icon back into a map.
PixelMap decodeXorBitmap(const std::vector<std::uint8_t>& bytes) {
    PixelMap map;
    for (int row = 0; row < kMapSize; ++row) {
        const int y = kMapSize - 1 - row;
        for (int x = 0; x < kMapSize; ++x) {
            const std::uint8_t packed =
                bytes.at(ico_layout::kXorOffset + static_cast<std::size_t>(row) * 16 +
                         static_cast<std::size_t>(x / 2));
            setPixel(map, x, y,
                     static_cast<std::uint8_t>(x % 2 == 0 ? packed >> 4 : packed & 0x0F));
        }
    }
    return map;
}

std::string mapText(const PixelMap& map) {
    std::string text;
    for (int y = 0; y < kMapSize; ++y) {
        for (int x = 0; x < kMapSize; ++x)
            text += kPaletteChars[map.at(x, y)];
        text += '\n';
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
    const std::vector<std::uint8_t> bytes = encodeIco(filledMap(kWhite));
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
    const std::vector<std::uint8_t> bytes = encodeIco(filledMap(kWhite));
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
    const std::vector<std::uint8_t> bytes = encodeIco(filledMap(kWhite));
    const std::uint8_t expected[16][3] = {
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
        {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
        {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
    };
    for (std::size_t i = 0; i < 16; ++i) {
        const std::size_t quad = ico_layout::kPaletteOffset + 4 * i;
        EXPECT_EQ(bytes[quad + 0], expected[i][2]) << "blue of colour " << i;
        EXPECT_EQ(bytes[quad + 1], expected[i][1]) << "green of colour " << i;
        EXPECT_EQ(bytes[quad + 2], expected[i][0]) << "red of colour " << i;
        EXPECT_EQ(bytes[quad + 3], 0u) << "reserved byte of colour " << i;
    }
}

TEST(IcoEncoding, AndMaskIsAllZeroSoEveryPixelIsOpaque) {
    const std::vector<std::uint8_t> bytes = encodeIco(randomMap(7));
    for (std::size_t i = ico_layout::kAndOffset; i < bytes.size(); ++i) {
        ASSERT_EQ(bytes[i], 0u) << "mask byte at offset " << i;
    }
}

TEST(IcoEncoding, RowsAreBottomUpWithTheLeftPixelInTheHighNibble) {
    PixelMap map = filledMap(kWhite);
    setPixel(map, 0, 0, kMaroon);
    setPixel(map, 1, 0, kAqua);
    setPixel(map, 31, 31, kRed);
    const std::vector<std::uint8_t> bytes = encodeIco(map);
    // Row 0 (top) is stored last, row 31 (bottom) first.
    EXPECT_EQ(bytes[ico_layout::kXorOffset + 31 * 16], 0x1Eu);
    EXPECT_EQ(bytes[ico_layout::kXorOffset + 15], 0xF9u);
    EXPECT_EQ(bytes[ico_layout::kXorOffset], 0xFFu);
}

TEST(IcoEncoding, EveryPixelRoundTrips) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
        const PixelMap map = randomMap(seed);
        EXPECT_EQ(decodeXorBitmap(encodeIco(map)).index, map.index) << "seed " << seed;
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

TEST(PpmEncoding, TrayImageIs16x16) {
    const std::string ppm = encodePpm(sampleForTray(filledMap(kTeal)));
    const std::string header = "P6\n16 16\n255\n";
    ASSERT_EQ(ppm.size(), header.size() + 16 * 16 * 3);
    EXPECT_EQ(ppm.substr(0, header.size()), header);
    EXPECT_EQ(ppm.substr(header.size(), 3), std::string("\x00\x80\x80", 3));
}

TEST(TraySampling, TakesOddColumnsOfEvenRows) {
    PixelMap map = filledMap(kWhite);
    for (int y = 0; y < kMapSize; ++y) {
        for (int x = 0; x < kMapSize; ++x) {
            // Only (2x+1, 2y) carries a colour that names its tray position.
            if (x % 2 == 1 && y % 2 == 0) {
                setPixel(map, x, y, static_cast<std::uint8_t>((x / 2 + y / 2) % 15));
            }
        }
    }
    const TrayImage image = sampleForTray(map);
    for (int y = 0; y < kTraySize; ++y) {
        for (int x = 0; x < kTraySize; ++x) {
            EXPECT_EQ(image.at(x, y), (x + y) % 15) << "tray pixel " << x << "," << y;
        }
    }
}

TEST(TraySampling, CountsDifferingPixels) {
    PixelMap map = filledMap(kWhite);
    const TrayImage blank = sampleForTray(map);
    setPixel(map, 1, 0, kBlack);    // sampled
    setPixel(map, 0, 0, kBlack);    // not sampled
    setPixel(map, 31, 30, kBlack);  // sampled
    setPixel(map, 31, 31, kBlack);  // not sampled
    EXPECT_EQ(countDifferingPixels(blank, sampleForTray(map)), 2);
    EXPECT_EQ(countDifferingPixels(blank, blank), 0);
}

// ---------------------------------------------------------------------------------------------
// Map parser

std::string whiteRows(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::string(32, '.') + "\n";
    return text;
}

TEST(PixelMapParser, AcceptsCommentsBlankLinesCrLfAndAllPaletteCharacters) {
    std::string text = "; a comment\n\n";
    text += std::string(kPaletteChars) + std::string(kPaletteChars) + "\r\n";
    text += whiteRows(31);
    std::string error;
    const auto map = parsePixelMap(text, error);
    ASSERT_TRUE(map.has_value()) << error;
    for (int x = 0; x < 32; ++x)
        EXPECT_EQ(map->at(x, 0), x % 16);
    EXPECT_EQ(map->at(5, 1), kWhite);
}

TEST(PixelMapParser, RejectsBadMapsWithTheLineNumber) {
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {whiteRows(31), "31 rows, expected 32"},
        {whiteRows(33), "line 33: more than 32 rows"},
        {"; header\n" + std::string(31, '.') + "\n" + whiteRows(31),
         "line 2: 31 columns, expected 32"},
        {whiteRows(4) + std::string(10, '.') + "x" + std::string(21, '.') + "\n" + whiteRows(27),
         "line 5, column 11: 'x' is not a palette character"},
        {"", "0 rows, expected 32"},
    };
    for (const Case& bad : cases) {
        std::string error;
        EXPECT_FALSE(parsePixelMap(bad.text, error).has_value()) << bad.message;
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

TEST(IconCommandLine, ReadsTheThreeForms) {
    const auto ico = parseIconCommandLine({"a.txt", "a.ico"});
    ASSERT_TRUE(ico.has_value());
    EXPECT_EQ(ico->output, IconOutput::kIco);
    EXPECT_EQ(ico->mapPath, "a.txt");
    EXPECT_EQ(ico->outPath, "a.ico");

    const auto ppm = parseIconCommandLine({"--ppm", "a.txt", "a.ppm"});
    ASSERT_TRUE(ppm.has_value());
    EXPECT_EQ(ppm->output, IconOutput::kPpm);
    EXPECT_EQ(ppm->outPath, "a.ppm");

    const auto tray = parseIconCommandLine({"--tray16-ppm", "a.txt", "b.ppm"});
    ASSERT_TRUE(tray.has_value());
    EXPECT_EQ(tray->output, IconOutput::kTray16Ppm);
    EXPECT_EQ(tray->mapPath, "a.txt");
}

TEST(IconCommandLine, RejectsMalformedOnes) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"a.txt"},
        {"a.txt", "a.ico", "extra"},
        {"--ppm", "a.txt"},
        {"--png", "a.txt", "a.png"},
        {"", "a.ico"},
    };
    for (const auto& args : bad) {
        EXPECT_FALSE(parseIconCommandLine(args).has_value()) << args.size() << " arguments";
    }
}

TEST_F(IconCompilerRun, WritesTheIcoOfTheMap) {
    const PixelMap map = randomMap(11);
    writeFile(path("m.txt"), mapText(map));
    ASSERT_EQ(run({path("m.txt").string(), path("m.ico").string()}), kExitOk) << errors();
    const std::vector<std::uint8_t> expected = encodeIco(map);
    EXPECT_EQ(readFile(path("m.ico")), std::string(expected.begin(), expected.end()));
    EXPECT_EQ(errors(), "");
}

TEST_F(IconCompilerRun, WritesBothPreviews) {
    const PixelMap map = randomMap(12);
    writeFile(path("m.txt"), mapText(map));
    ASSERT_EQ(run({"--ppm", path("m.txt").string(), path("full.ppm").string()}), kExitOk);
    ASSERT_EQ(run({"--tray16-ppm", path("m.txt").string(), path("tray.ppm").string()}), kExitOk);
    EXPECT_EQ(readFile(path("full.ppm")), encodePpm(map));
    EXPECT_EQ(readFile(path("tray.ppm")), encodePpm(sampleForTray(map)));
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
    EXPECT_NE(errors().find("short.txt: 30 rows, expected 32"), std::string::npos) << errors();
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
            const auto map = loadPixelMap((mapDirectory() / (name + ".txt")).string(), error);
            if (map) {
                maps().emplace(name, *map);
            } else {
                loadErrors() += error + "\n";
            }
        }
    }
    static std::map<std::string, PixelMap>& maps() {
        static std::map<std::string, PixelMap> loaded;
        return loaded;
    }
    static std::string& loadErrors() {
        static std::string errors;
        return errors;
    }
    void SetUp() override { ASSERT_EQ(loadErrors(), "") << "in " << mapDirectory(); }

    static const PixelMap& map(const std::string& name) { return maps().at(name); }

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
    for (int y = 0; y < kMapSize; ++y) {
        for (int x = 0; x < kMapSize; ++x) {
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

TEST_F(CommittedMaps, AllNineteenLoadAndDiffer) {
    EXPECT_EQ(maps().size(), 19u);
    for (auto a = maps().begin(); a != maps().end(); ++a) {
        for (auto b = std::next(a); b != maps().end(); ++b) {
            EXPECT_NE(a->second.index, b->second.index) << a->first << " and " << b->first;
        }
    }
}

TEST_F(CommittedMaps, TrayIconsStayDistinctAt16x16) {
    // Screenshot tests classify tray icons by their 16x16 pixels; a margin keeps them robust.
    constexpr int kMinimumDifference = 12;
    const auto& names = trayIconNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        for (std::size_t j = i + 1; j < names.size(); ++j) {
            const int differing =
                countDifferingPixels(sampleForTray(map(names[i])), sampleForTray(map(names[j])));
            EXPECT_GE(differing, kMinimumDifference) << names[i] << " vs " << names[j];
        }
    }
}

TEST_F(CommittedMaps, BlackCharactersUseOnlyBlackAndWhite) {
    for (const char* name : {"num0", "num1", "num2", "num3", "num4", "num5", "num6", "num7", "num8",
                             "num9", "s", "b", "o", "k"}) {
        EXPECT_EQ(coloursOf(map(name)), (std::set<std::uint8_t>{kBlack, kWhite})) << name;
    }
}

TEST_F(CommittedMaps, NAndGArePurpleReachingTheBottomRow) {
    EXPECT_EQ(coloursOf(map("n")), (std::set<std::uint8_t>{kPurple, kWhite}));
    EXPECT_EQ(coloursOf(map("g")), (std::set<std::uint8_t>{kPurple, kWhite}));
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
    EXPECT_EQ(coloursOf(map("sp")), std::set<std::uint8_t>{kWhite});
}

TEST_F(CommittedMaps, SphereIsGreyAboveBlackBelowWithAGlobeAndWhiteCorners) {
    const PixelMap& sphere = map("sw");
    const std::set<std::uint8_t> allowed = {kBlack, kGrey, kSilver, kTeal, kGreen, kWhite};
    for (const std::uint8_t colour : coloursOf(sphere)) {
        EXPECT_EQ(allowed.count(colour), 1u) << "colour " << int{colour};
    }
    const std::pair<int, int> corners[] = {{0, 0}, {31, 0}, {0, 31}, {31, 31}};
    for (const auto& [x, y] : corners) {
        EXPECT_EQ(sphere.at(x, y), kWhite) << x << "," << y;
    }
    EXPECT_EQ(sphere.at(15, 3), kGrey);
    EXPECT_EQ(sphere.at(15, 28), kBlack);
    int teal = 0;
    int green = 0;
    for (const std::uint8_t colour : sphere.index) {
        teal += colour == kTeal;
        green += colour == kGreen;
    }
    EXPECT_GT(teal, 40);
    EXPECT_GT(green, 20);
}

TEST_F(CommittedMaps, ProgramIconIsAQuestionMarkOnARaisedTile) {
    const PixelMap& program = map("program");
    const std::set<std::uint8_t> allowed = {kSilver, kYellow, kOlive, kGrey,
                                            kWhite,  kBlack,  kMaroon};
    EXPECT_EQ(coloursOf(program), allowed);
    for (int i = 1; i < 29; ++i) {
        EXPECT_EQ(program.at(i, 0), kWhite) << "top edge at " << i;
        EXPECT_EQ(program.at(0, i), kWhite) << "left edge at " << i;
        EXPECT_EQ(program.at(i + 2, 30), kGrey) << "bottom edge at " << i + 2;
        EXPECT_EQ(program.at(i + 2, 31), kGrey) << "bottom edge at " << i + 2;
        EXPECT_EQ(program.at(30, i + 2), kGrey) << "right edge at " << i + 2;
        EXPECT_EQ(program.at(31, i + 2), kGrey) << "right edge at " << i + 2;
    }
    EXPECT_EQ(program.at(3, 15), kSilver);
}

}  // namespace
}  // namespace quor6::tools
