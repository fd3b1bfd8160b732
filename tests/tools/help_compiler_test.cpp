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
#include "utf8.h"

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
    std::vector<std::size_t> index;    // topic numbers in the order of the keyword index
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
        const ExpectedTopic& topic = c.topics[c.index[k]];
        EXPECT_EQ(help.keywords[k].first, cp932(topic.title)) << k;
        EXPECT_EQ(help.keywords[k].second, std::vector{help.topics[c.index[k]].offset}) << k;
        pageAt = html.find("<li><a href=\"#" + topic.context + "\">" + topic.title, pageAt);
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
            {3, 2, 1, 0},
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
        c.index.push_back(static_cast<std::size_t>(t));
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
    std::vector<std::vector<int>> fonts;
    for (const test::ReadFont& f : help.fonts) {
        fonts.push_back({f.attributes, f.halfPoints, f.rgb[0], f.rgb[1], f.rgb[2]});
    }
    EXPECT_EQ(fonts, (std::vector<std::vector<int>>{
                         {0, 20, 0, 0, 0}, {1, 22, 0, 0, 0}, {1, 28, 0x00, 0x33, 0x80}}));
    // Spacing and the hanging bullet, in half-points by paragraph bit.
    using Measures = std::map<std::uint16_t, std::int16_t>;
    EXPECT_EQ(help.topics[0].paragraphs[0].measures, (Measures{{4, 10}}));
    EXPECT_EQ(help.topics[0].paragraphs[1].measures, (Measures{{4, 6}}));
    EXPECT_EQ(help.topics[0].paragraphs[2].measures, (Measures{{4, 3}, {0x10, 40}, {0x40, -20}}));
    EXPECT_EQ(help.topics[1].paragraphs[1].measures, (Measures{{2, 10}, {4, 4}}));
}

TEST(HelpFileTest, FitsLongTextIntoBlocksAndLongTitlesIntoTheIndexPage) {
    const ReadHelp help = test::readHelpFile(compileHelp(longCase().source));
    EXPECT_GE(help.topicBlocks, 7u);
    std::set<std::uint32_t> blocks;
    for (const auto& topic : help.topics) {
        blocks.insert(topic.offset / 0x8000);
        const ReadParagraph& longest = topic.paragraphs[5];  // of 300 sentences
        ASSERT_GE(longest.recordEnds.size(), 2u);
        for (std::size_t r = 0; r + 1 < longest.recordEnds.size(); ++r) {
            EXPECT_EQ(longest.text.substr(longest.recordEnds[r] - 2, 2), "\x81\x42");
        }
    }
    EXPECT_GE(blocks.size(), 4u);
    EXPECT_GE(help.topics.back().paragraphs.back().recordEnds.size(), 2u);

    // The longest title the one-page keyword index takes (2033 bytes), and one byte more.
    const std::string title(2033, 'a');
    EXPECT_EQ(test::readHelpFile(compileHelp("title: t\n# " + title + " {A}\n")).keywords[0].first,
              title);
    EXPECT_THROW(compileHelp("title: t\n# " + title + "a {A}\n"), HelpError);
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
    std::map<std::uint32_t, std::string> titleAt;
    for (const auto& topic : help.topics) {
        titleAt[topic.offset] = topic.title;
    }
    std::map<std::int32_t, std::string> reaches;
    for (const auto& [hash, offset] : help.contexts) {
        reaches[hash] = titleAt.count(offset) ? "ok" : "?";
    }
    std::string shownText;
    for (const auto& topic : help.topics) {
        for (const ReadParagraph& paragraph : topic.paragraphs) {
            shownText += shown(paragraph, reaches);
        }
    }
    EXPECT_EQ(shownText.find("](?)"), std::string::npos) << "a jump that opens no topic";
    std::size_t jumps = 0;
    for (std::size_t at = 0; (at = shownText.find("](ok)", at)) != std::string::npos; ++at) {
        ++jumps;
    }
    EXPECT_GE(jumps, 9u);
    EXPECT_EQ(help.topics.front().title, cp932("目次"));
    for (const char* title : {"ゲームのルール", "数字の変え方", "判定の見方", "メニュー", "履歴"}) {
        EXPECT_NE(shownText.find("2:" + cp932(title)), std::string::npos) << title;
    }
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
                ADD_FAILURE() << "accepted: " << ::testing::PrintToString(c.source);
            } catch (const HelpError& error) {
                EXPECT_EQ(error.line(), c.line) << ::testing::PrintToString(c.source);
                EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos)
                    << error.what();
            }
        }
    }
}

// The encodings every reader of the format agrees on, and their limits.
std::string compressedHex(char kind, long value) {
    ByteBuffer out;
    if (kind == 'u') {
        appendCompressedU16(out, static_cast<std::uint16_t>(value));
    } else if (kind == 's') {
        appendCompressedS16(out, static_cast<std::int16_t>(value));
    } else {
        appendCompressedS32(out, static_cast<std::int32_t>(value));
    }
    std::string hex;
    for (const std::uint8_t byte : out.bytes()) {
        hex += "0123456789ABCDEF"[byte >> 4];
        hex += "0123456789ABCDEF"[byte & 15];
    }
    return hex;
}

TEST(EncodingTest, CompressedIntegersMatchKnownVectorsUpToTheirLimits) {
    // kind, value = bytes; u: cu16, s: cs16, l: cs32, each at the edges of its short form.
    std::istringstream vectors(
        "u17=22 u127=FE u128=0101 u200=9101 s12=98 s-64=00 s63=FE s64=8180 s-65=7F7F s-100=397F "
        "l17=2280 l-16384=0000 l16383=FEFF l16384=01800080 l20000=419C0080");
    for (std::string v; vectors >> v;) {
        EXPECT_EQ(compressedHex(v[0], std::stol(v.substr(1))), v.substr(v.find('=') + 1)) << v;
    }
    for (const auto& [kind, value] : {std::pair{'u', 32768L}, std::pair{'s', 16384L},
                                      std::pair{'s', -16385L}, std::pair{'l', 0x40000000L}}) {
        EXPECT_THROW(compressedHex(kind, value), std::out_of_range) << kind << value;
    }
}

TEST(EncodingTest, ContextHashesAndCp932MatchKnownVectors) {
    const std::pair<const char*, std::uint32_t> hashes[] = {{"A", 17},
                                                            {"a1", 732},
                                                            {"0", 10},
                                                            {".", 12},
                                                            {"_", 13},
                                                            {"IDH_CONTENTS", 0x68310BEE},
                                                            {"idh_contents", 0x68310BEE},
                                                            {"IDH_SECOND", 0xB5EA5288},
                                                            {"IDH_THIRD", 0xD4D24393}};
    for (const auto& [name, hash] : hashes) {
        EXPECT_EQ(static_cast<std::uint32_t>(contextHash(name)), hash) << name;
    }
    const std::pair<const char*, const char*> encodings[] = {{"ヘルプ", "\x83\x77\x83\x8B\x83\x76"},
                                                             {"ソ表能", "\x83\x5C\x95\x5C\x94\x5C"},
                                                             {"ﾒﾆｭｰ", "\xD2\xC6\xAD\xB0"},
                                                             {"①～", "\x87\x40\x81\x60"},
                                                             {"quor6 1S", "quor6 1S"}};
    for (const auto& [utf8, expected] : encodings) {
        EXPECT_EQ(cp932(utf8), expected) << utf8;
    }
    // A sequence cut short by the end of the text, though the bytes after the text would end it.
    EXPECT_THROW(decodeUtf8(std::string_view("\xE3\x81\x82", 2)), std::invalid_argument);
    for (const char b : std::string("\x81\x9F\xE0\xFC")) {
        EXPECT_EQ(cp932CharLength(static_cast<unsigned char>(b)), 2u) << int(b);
    }
    for (const char b : std::string("A\xA0\xDF\xFD")) {
        EXPECT_EQ(cp932CharLength(static_cast<unsigned char>(b)), 1u) << int(b);
    }
}

}  // namespace
}  // namespace quor6::help
