// Tests of the help compiler: compiled sources read back as the viewer reads them (every topic,
// paragraph, jump and index entry), the HTML page made from the same sources, faulty sources
// rejected at their line, and the encodings the file format fixes.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "byte_buffer.h"
#include "compressed_int.h"
#include "context_hash.h"
#include "cp932.h"
#include "help_compiler.h"
#include "help_error.h"
#include "help_reader.h"

namespace quor6::help {
namespace {

using test::ReadHelp;
using test::ReadParagraph;

std::string cp932(const std::string& utf8) {
    return utf8ToCp932(utf8);
}

struct ExpectedTopic {
    std::string context;
    std::string title;
    // Each paragraph as "font:text", a jump written [text](context name of the topic it opens).
    std::vector<std::string> paragraphs;
};

struct FileCase {
    std::string name;
    std::string source;
    std::vector<ExpectedTopic> topics;
    std::vector<std::string> index;    // context names in the order of the keyword index
    std::vector<std::string> htmlHas;  // further fragments of the HTML page
};

// What the viewer shows of a paragraph; a jump names the topic it reaches through |CONTEXT.
std::string shown(const ReadParagraph& paragraph, const std::map<std::int32_t, std::string>& to) {
    std::string text = std::to_string(paragraph.font) + ":";
    std::size_t at = 0;
    for (const test::ReadLink& link : paragraph.links) {
        const auto target = to.find(link.hash);
        text += paragraph.text.substr(at, link.begin - at) + "[" +
                paragraph.text.substr(link.begin, link.end - link.begin) + "](" +
                (target == to.end() ? "?" : target->second) + ")";
        at = link.end;
    }
    return text + paragraph.text.substr(at);
}

void expectReadsBack(const FileCase& c) {
    SCOPED_TRACE(c.name);
    const ReadHelp help = test::readHelpFile(compileHelp(c.source));
    ASSERT_EQ(help.topics.size(), c.topics.size());
    EXPECT_EQ(help.contents, help.topics.front().offset);
    std::map<std::uint32_t, std::string> contextAt;  // topic offset -> context name
    for (std::size_t t = 0; t < c.topics.size(); ++t) {
        EXPECT_EQ(help.topics[t].title, cp932(c.topics[t].title));
        contextAt[help.topics[t].offset] = c.topics[t].context;
    }
    std::map<std::int32_t, std::string> reaches;  // context hash -> the topic it opens
    for (const auto& [hash, offset] : help.contexts) {
        reaches[hash] = contextAt.count(offset) ? contextAt[offset] : "?";
    }
    ASSERT_EQ(reaches.size(), c.topics.size());
    const std::string html = compileHtmlHelp(c.source);
    const std::regex jump(R"(\[([^\]]+)\]\(([A-Za-z0-9._]+)\))");
    for (std::size_t t = 0; t < c.topics.size(); ++t) {
        const ExpectedTopic& expected = c.topics[t];
        EXPECT_EQ(reaches[contextHash(expected.context)], expected.context);
        std::vector<std::string> read;
        std::vector<std::string> wanted;
        for (const ReadParagraph& paragraph : help.topics[t].paragraphs) {
            read.push_back(shown(paragraph, reaches));
        }
        for (const std::string& paragraph : expected.paragraphs) {
            wanted.push_back(cp932(paragraph));
            for (std::sregex_iterator m(paragraph.begin(), paragraph.end(), jump), end; m != end;
                 ++m) {
                const std::string link = "<a href=\"#" + (*m)[2].str() + "\">" + (*m)[1].str();
                EXPECT_NE(html.find(link), std::string::npos) << link;
            }
        }
        EXPECT_EQ(read, wanted) << expected.context;
        const std::string section =
            "<section id=\"" + expected.context + "\">\n<h2>" + expected.title + "</h2>";
        EXPECT_NE(html.find(section), std::string::npos) << section;
    }
    // The keyword index lists every topic under its title, on the page in the same order.
    ASSERT_EQ(help.keywords.size(), c.index.size());
    std::size_t pageAt = html.find("<h2>索引</h2>");
    for (std::size_t k = 0; k < c.index.size(); ++k) {
        const auto& [keyword, offsets] = help.keywords[k];
        EXPECT_EQ(offsets, std::vector<std::uint32_t>{offsets.front()});
        EXPECT_EQ(contextAt[offsets.front()], c.index[k]) << k;
        const auto topic = std::find_if(c.topics.begin(), c.topics.end(),
                                        [&](const auto& e) { return e.context == c.index[k]; });
        EXPECT_EQ(keyword, cp932(topic->title));
        pageAt = html.find("<li><a href=\"#" + c.index[k] + "\">" + topic->title, pageAt);
        EXPECT_NE(pageAt, std::string::npos) << "index entry " << k << " on the page";
    }
    for (const std::string& fragment : c.htmlHas) {
        EXPECT_NE(html.find(fragment), std::string::npos) << fragment;
    }
}

const char* const kSmallSource =
    "\xEF\xBB\xBF; comment\r\n"
    "title:  テスト用ヘルプ & 1 \r\n"
    "# 目次 {IDH_CONTENTS}\n"
    "概要です。\n"
    "word one\n"
    "; a comment inside a paragraph\n"
    "two\n"
    "\n"
    "- [第二のトピック](IDH_SECOND)へ\n"
    "  続き\n"
    "- [alpha](IDH_ALPHA)\n"
    "# 第二のトピック {IDH_SECOND}\n"
    "## 見出し\n"
    "ソ表能の本文 \\[1\\] \\(a\\) \\\\ 1 < 2 & \"q\"。\n"
    "# Zeta {IDH_ZETA}\n"
    "最後の本文。[目次](IDH_CONTENTS)\n"
    "# alpha {IDH_ALPHA}\n"
    "ｶﾀｶﾅ①～\n";

FileCase smallCase() {
    return {"small",
            kSmallSource,
            {{"IDH_CONTENTS",
              "目次",
              {"2:目次", "0:概要です。word one two", "0:・[第二のトピック](IDH_SECOND)へ続き",
               "0:・[alpha](IDH_ALPHA)"}},
             {"IDH_SECOND",
              "第二のトピック",
              {"2:第二のトピック", "1:見出し", "0:ソ表能の本文 [1] (a) \\ 1 < 2 & \"q\"。"}},
             {"IDH_ZETA", "Zeta", {"2:Zeta", "0:最後の本文。[目次](IDH_CONTENTS)"}},
             {"IDH_ALPHA", "alpha", {"2:alpha", "0:ｶﾀｶﾅ①～"}}},
            // ASCII case is ignored, as the viewer's index does: alpha before Zeta.
            {"IDH_ALPHA", "IDH_ZETA", "IDH_SECOND", "IDH_CONTENTS"},
            {"<html lang=\"ja\">", "<title>テスト用ヘルプ &amp; 1</title>",
             "<h3>見出し</h3>\n<p>ソ表能の本文 [1] (a) \\ 1 &lt; 2 &amp; &quot;q&quot;。</p>",
             "<ul>\n<li><a href=\"#IDH_SECOND\">第二のトピック</a>へ続き</li>\n<li>"}};
}

std::string repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) {
        all += text;
    }
    return all;
}

// Topics over many blocks, a paragraph longer than a block and a jump cut between records.
FileCase longCase() {
    FileCase c{"long", "title: t\n", {}, {}, {}};
    const std::string sentence = "本文の文章です。";
    for (int t = 0; t < 6; ++t) {
        const std::string n = std::to_string(t);
        c.source += "# トピック" + n + " {IDH_T" + n + "}\n";
        c.topics.push_back({"IDH_T" + n, "トピック" + n, {"2:トピック" + n}});
        c.index.push_back("IDH_T" + n);
        for (int p = 0; p < 8; ++p) {
            const std::string text = repeated(sentence, p == 4 ? 300 : 20 + t);
            c.source += text + "\n\n";
            c.topics.back().paragraphs.push_back("0:" + text);
        }
    }
    const std::string label = repeated("リ", 2500);
    c.source += "前[" + label + "](IDH_T0)後\n";
    c.topics.back().paragraphs.push_back("0:前[" + label + "](IDH_T0)後");
    return c;
}

TEST(HelpFileTest, ReadsBackEveryTopicParagraphJumpAndIndexEntry) {
    for (const FileCase& c : {smallCase(), longCase()}) {
        expectReadsBack(c);
    }
}

TEST(HelpFileTest, HoldsTheVersionCharsetFontsAndLooksTheViewerUses) {
    const ReadHelp help = test::readHelpFile(compileHelp(kSmallSource));
    EXPECT_EQ(help.files, (std::vector<std::string>{"|CONTEXT", "|FONT", "|KWBTREE", "|KWDATA",
                                                    "|SYSTEM", "|TOPIC"}));
    EXPECT_EQ(help.majorVersion, 1);
    EXPECT_EQ(help.minorVersion, 33);  // WinHelp 4, which reads the charset
    EXPECT_EQ(help.charset, 128);
    EXPECT_EQ(help.title, cp932("テスト用ヘルプ & 1"));
    EXPECT_EQ(help.macros, std::vector<std::string>{"BrowseButtons()"});
    // Body 10 pt, heading 11 pt bold, topic title 14 pt bold dark blue.
    const std::vector<std::vector<int>> fonts = {
        {0, 20, 0, 0, 0}, {1, 22, 0, 0, 0}, {1, 28, 0x00, 0x33, 0x80}};
    ASSERT_EQ(help.fonts.size(), fonts.size());
    for (std::size_t f = 0; f < fonts.size(); ++f) {
        const test::ReadFont& font = help.fonts[f];
        EXPECT_EQ((std::vector<int>{font.attributes, font.halfPoints, font.rgb[0], font.rgb[1],
                                    font.rgb[2]}),
                  fonts[f]);
    }
    // Spacing and the hanging bullet, in half-points by paragraph bit.
    using Measures = std::map<std::uint16_t, std::int16_t>;
    EXPECT_EQ(help.topics[0].paragraphs[0].measures, (Measures{{4, 10}}));
    EXPECT_EQ(help.topics[0].paragraphs[1].measures, (Measures{{4, 6}}));
    EXPECT_EQ(help.topics[0].paragraphs[2].measures, (Measures{{4, 3}, {0x10, 40}, {0x40, -20}}));
    EXPECT_EQ(help.topics[1].paragraphs[1].measures, (Measures{{2, 10}, {4, 4}}));
}

TEST(HelpFileTest, CarriesLongParagraphsOverAfterSentenceEndsInWholeBlocks) {
    const ReadHelp help = test::readHelpFile(compileHelp(longCase().source));
    EXPECT_GE(help.topicBlocks, 7u);
    std::set<std::uint32_t> blocks;
    for (const auto& topic : help.topics) {
        blocks.insert(topic.offset / 0x8000);
        const ReadParagraph& longest = topic.paragraphs[5];
        ASSERT_GE(longest.recordEnds.size(), 2u);
        for (std::size_t r = 0; r + 1 < longest.recordEnds.size(); ++r) {
            EXPECT_EQ(longest.text.substr(longest.recordEnds[r] - 2, 2), "\x81\x42");
        }
    }
    EXPECT_GE(blocks.size(), 4u);
    EXPECT_GE(help.topics.back().paragraphs.back().recordEnds.size(), 2u);
}

// The reader has to notice a broken layout, or the read-back tests prove nothing.
TEST(HelpReaderTest, RejectsDamagedFiles) {
    const Bytes good = compileHelp(kSmallSource);
    const auto u32At = [](const Bytes& b, std::size_t at) {
        return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                          static_cast<std::uint32_t>(b[at + 3]) << 24);
    };
    const auto fileAt = [&](const Bytes& b, const std::string& name) {
        const auto found = std::search(b.begin() + u32At(b, 4), b.end(), name.begin(), name.end());
        return u32At(b, static_cast<std::size_t>(found - b.begin()) + name.size() + 1);
    };
    const std::size_t topic = fileAt(good, "|TOPIC") + 9;
    const std::size_t firstText = topic + u32At(good, topic + 12 + 12);
    const std::vector<std::pair<std::string, std::function<void(Bytes&)>>> damages = {
        {"truncated", [](Bytes& b) { b.pop_back(); }},
        {"slack", [&](Bytes& b) { ++b[fileAt(b, "|SYSTEM")]; }},
        {"unsorted directory", [&](Bytes& b) { b[u32At(b, 4) + 9 + 38 + 8 + 10 + 1] = 'Z'; }},
        {"unsorted contexts",
         [&](Bytes& b) {
             const std::size_t at = fileAt(b, "|CONTEXT") + 9 + 38 + 8;
             std::swap_ranges(b.begin() + at, b.begin() + at + 8, b.begin() + at + 8);
         }},
        {"broken chain", [&](Bytes& b) { ++b[topic + 12 + 12]; }},
        {"text length", [&](Bytes& b) { b[firstText + 21 + 2] += 2; }},
        {"dirty padding", [&](Bytes& b) { b[topic + 4095] = 1; }},
        {"block header", [&](Bytes& b) { ++b[topic + 4]; }},
    };
    EXPECT_NO_THROW(test::readHelpFile(good));
    for (const auto& [name, damage] : damages) {
        Bytes file = good;
        damage(file);
        EXPECT_THROW(test::readHelpFile(file), std::runtime_error) << name;
    }
}

std::string projectHelpSource() {
    std::string path = __FILE__;
    path = path.substr(0, path.find_last_of("/\\") + 1) + "../../resources/help/quor6_help.txt";
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ProjectHelpTest, EveryTopicIsThereAndEveryJumpOpensOne) {
    const std::string source = projectHelpSource();
    ASSERT_FALSE(source.empty()) << "resources/help/quor6_help.txt not found from " << __FILE__;
    const ReadHelp help = test::readHelpFile(compileHelp(source));
    EXPECT_EQ(help.title, cp932("quor6 ヘルプ"));
    std::vector<std::string> titles;
    std::set<std::uint32_t> offsets;
    for (const auto& topic : help.topics) {
        titles.push_back(topic.title);
        offsets.insert(topic.offset);
    }
    EXPECT_EQ(titles.front(), cp932("目次"));
    for (const char* title : {"ゲームのルール", "数字の変え方", "判定の見方", "メニュー", "履歴"}) {
        EXPECT_NE(std::find(titles.begin(), titles.end(), cp932(title)), titles.end()) << title;
    }
    const std::map<std::int32_t, std::uint32_t> contexts(help.contexts.begin(),
                                                         help.contexts.end());
    std::size_t jumps = 0;
    for (const auto& topic : help.topics) {
        for (const ReadParagraph& paragraph : topic.paragraphs) {
            for (const test::ReadLink& link : paragraph.links) {
                ASSERT_EQ(contexts.count(link.hash), 1u);
                EXPECT_EQ(offsets.count(contexts.at(link.hash)), 1u);
                ++jumps;
            }
        }
    }
    EXPECT_GE(jumps, 9u);
}

// Both outputs refuse the same faults, with the line to look at and what is wrong there.
TEST(CompileTest, RejectsFaultySourcesNamingTheLine) {
    const std::string head = "title: t\n# a {A}\n";
    const struct {
        std::string source;
        int line;
        const char* says;
    } cases[] = {
        {"# a {A}\n本文\n", 0, "no 'title:' line"},
        {"title: t\n", 0, "no topic"},
        {"title: t\ntitle: u\n# a {A}\n", 2, "second 'title:'"},
        {"title:\n# a {A}\n", 1, "title is empty"},
        {"title: t\n本文\n# a {A}\n", 2, "text before the first topic"},
        {"# a {A}\ntitle: t\n", 2, "must come before the first topic"},
        {head + "# b\n", 3, "'# title {CONTEXT_NAME}'"},
        {"title: t\n# a {A-B}\n", 2, "'A-B' is not a context name"},
        {"title: t\n# {A}\n", 2, "no title"},
        {"title: t\n# a {}\n", 2, "'' is not a context name"},
        {head + "#b\n", 3, "starting with '#'"},
        {head + "- [x](A)\n##   \n", 4, "starting with '#'"},
        {head + "一\n[リンク(A)\n", 4, "']' is missing"},
        {head + "[a[b](A)\n", 3, "']' is missing"},
        {head + "[x]\n", 3, "'(' must follow"},
        {head + "[x](A\n", 3, "')' is missing"},
        {head + "[](A)\n", 3, "needs a text"},
        {head + "[x](A B)\n", 3, "'A B' is not a context name"},
        {head + "x]\n", 3, "']' without '['"},
        {head + "本文\nと\\n\n", 4, "unknown escape"},
        {head + "x\x01y\n", 3, "control character"},
        {head + "本文\n\n[x](B)\n", 5, "link to B"},
        {head + "# b {B}\n# c {A}\n", 4, "A is already used on line 2"},
        {"title: t\n# a {IDH_X}\n# b {idh_x}\n", 3, "same hash"},
        {head + "x\n\n\xE2\x82\xAC\n", 5, "U+20AC"},
        {"title: t\n# \xE2\x82\xAC {A}\n", 2, "no CP932 form"},
        {"title: \xE3\x80\x9C\n# a {A}\n", 1, "U+301C"},
        {head + "x\n\n\xFFy\n", 5, "invalid UTF-8 at byte 0"},
        {head + "ab\xE3\x81", 3, "invalid UTF-8 at byte 2"},
        {head + "\xE3\x41\x41\n", 3, "invalid UTF-8"},
        {head + "\xC0\xAF\n", 3, "invalid UTF-8"},
        {head + "\xED\xA0\x80\n", 3, "invalid UTF-8"},
        {head + "\xF4\x90\x80\x80\n", 3, "invalid UTF-8"},
    };
    for (const auto& c : cases) {
        for (const auto& compile : {std::function<void()>([&] { compileHelp(c.source); }),
                                    std::function<void()>([&] { compileHtmlHelp(c.source); })}) {
            try {
                compile();
                ADD_FAILURE() << "accepted: " << c.source;
            } catch (const HelpError& error) {
                EXPECT_EQ(error.line(), c.line) << c.source;
                EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos)
                    << error.what();
            }
        }
    }
}

// The encodings every reader of the format agrees on, and their limits.
Bytes compressed(char kind, long value) {
    ByteBuffer out;
    if (kind == 'u') {
        appendCompressedU16(out, static_cast<std::uint16_t>(value));
    } else if (kind == 's') {
        appendCompressedS16(out, static_cast<std::int16_t>(value));
    } else {
        appendCompressedS32(out, static_cast<std::int32_t>(value));
    }
    return std::move(out).bytes();
}

TEST(EncodingTest, CompressedIntegersMatchKnownVectorsUpToTheirLimits) {
    const struct {
        char kind;  // u: cu16, s: cs16, l: cs32
        long value;
        Bytes bytes;
    } cases[] = {
        {'u', 17, {0x22}},
        {'u', 127, {0xFE}},
        {'u', 128, {0x01, 0x01}},
        {'u', 200, {0x91, 0x01}},
        {'s', 12, {0x98}},
        {'s', -64, {0x00}},
        {'s', 63, {0xFE}},
        {'s', 64, {0x81, 0x80}},
        {'s', -65, {0x7F, 0x7F}},
        {'s', -100, {0x39, 0x7F}},
        {'l', 17, {0x22, 0x80}},
        {'l', -16384, {0x00, 0x00}},
        {'l', 16383, {0xFE, 0xFF}},
        {'l', 16384, {0x01, 0x80, 0x00, 0x80}},
        {'l', 20000, {0x41, 0x9C, 0x00, 0x80}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compressed(c.kind, c.value), c.bytes) << c.kind << c.value;
    }
    for (const auto& [kind, value] : {std::pair{'u', 32768L}, std::pair{'s', 16384L},
                                      std::pair{'s', -16385L}, std::pair{'l', 0x40000000L}}) {
        EXPECT_THROW(compressed(kind, value), std::out_of_range) << kind << value;
    }
}

TEST(EncodingTest, ContextHashesAndCp932MatchKnownVectors) {
    for (const auto& [name, hash] :
         std::vector<std::pair<const char*, std::uint32_t>>{{"A", 17},
                                                            {"a1", 732},
                                                            {"0", 10},
                                                            {".", 12},
                                                            {"_", 13},
                                                            {"IDH_CONTENTS", 0x68310BEE},
                                                            {"idh_contents", 0x68310BEE},
                                                            {"IDH_SECOND", 0xB5EA5288},
                                                            {"IDH_THIRD", 0xD4D24393}}) {
        EXPECT_EQ(static_cast<std::uint32_t>(contextHash(name)), hash) << name;
    }
    for (const auto& [utf8, expected] : std::vector<std::pair<const char*, const char*>>{
             {"ヘルプ", "\x83\x77\x83\x8B\x83\x76"},
             {"ソ表能", "\x83\x5C\x95\x5C\x94\x5C"},  // trail bytes that are '\' in ASCII
             {"ﾒﾆｭｰ", "\xD2\xC6\xAD\xB0"},
             {"①～", "\x87\x40\x81\x60"},
             {"quor6 1S", "quor6 1S"}}) {
        EXPECT_EQ(cp932(utf8), expected) << utf8;
    }
    for (const auto& [first, length] : std::vector<std::pair<int, std::size_t>>{{0x41, 1},
                                                                                {0x81, 2},
                                                                                {0x9F, 2},
                                                                                {0xA0, 1},
                                                                                {0xDF, 1},
                                                                                {0xE0, 2},
                                                                                {0xFC, 2},
                                                                                {0xFD, 1}}) {
        EXPECT_EQ(cp932CharLength(static_cast<unsigned char>(first)), length) << first;
    }
}

}  // namespace
}  // namespace quor6::help
