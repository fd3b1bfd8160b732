// The help compiler: sources compiled and read back as the viewer reads them, the HTML page made
// from them, faulty sources refused at their line, and the encodings the file format fixes.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <sstream>

#include "byte_buffer.h"
#include "compressed_int.h"
#include "context_hash.h"
#include "cp932.h"
#include "help_compiler.h"
#include "help_error.h"
#include "help_file.h"
#include "help_reader.h"
#include "text_records.h"
#include "utf8.h"

namespace quor6::help {
namespace {

// The help compiled from a source as the viewer shows it, its context names taken from the source.
std::string shown(const std::string& source) {
    std::map<std::int32_t, std::string> names;
    const std::regex name(R"(\{([\w.]+)\})");
    for (std::sregex_iterator m(source.begin(), source.end(), name), end; m != end; ++m)
        names[contextHash(m->str(1))] = m->str(1);
    return test::readHelpFile(compileHelp(source), names);
}

// Escapes, comments, CRLF, a BOM; jumps in bullets and paragraphs, one longer than a record; a
// paragraph over blocks; the index sorted as the viewer sorts it; fonts and paragraph looks.
TEST(HelpFileTest, ShowsEveryTopicParagraphJumpAndIndexEntryInItsLook) {
    const auto times = [](std::size_t count, const char* text) {
        return std::regex_replace(std::string(count, '.'), std::regex("."), text);
    };
    const std::string longText = times(300, "本文の文章です。"), longJump = times(2500, "リ");
    const std::string source =
        "\xEF\xBB\xBF; comment\r\ntitle:  ヘルプ ソ表能 ﾒﾆｭｰ ①～ & 1 \r\n"
        "# 目次 {IDH_CONTENTS}\n概要です。\nword one\n; a comment inside a paragraph\ntwo\n\n"
        "- [第二のトピック](IDH_SECOND)へ\n  続き\n- [alpha](IDH_ALPHA)\n"
        "# 第二のトピック {IDH_SECOND}\n## 見出し\nソ表能の本文 \\[1\\] \\(a\\) \\\\ 1 < 2 & "
        "\"q\"。\n# Zeta {IDH_ZETA}\n最後の本文。[目次](IDH_CONTENTS)\n\n" +
        longText + "\n\n前[" + longJump + "](IDH_ALPHA)後\n# alpha {IDH_ALPHA}\nｶﾀｶﾅ①～\n";
    // A jump cut at a record's end goes on in the next, other text is carried over after a
    // sentence. WinHelp 4 reads the charset; body 10 pt, heading 11 pt bold, title 14 pt bold
    // dark blue; spacing below (bit 4), above (2), and the bullet's hanging indent (16 and 64).
    EXPECT_EQ(
        std::regex_replace(shown(source), std::regex(R"(\]\(\w+\)\n>\[|(\x81\x42)\n>)"), "$1"),
        utf8ToCp932(
            "WinHelp 1.33; title ヘルプ ソ表能 ﾒﾆｭｰ ①～ & 1; contents {IDH_CONTENTS}; "
            "macro BrowseButtons(); charset 128; blocks 5\nfont 0 20 000000\nfont 1 22 000000\n"
            "font 1 28 003380\n# 目次 {IDH_CONTENTS}\n2 4=10:目次\n0 4=6:概要です。word one two\n"
            "0 4=3 16=40 64=-20:・[第二のトピック](IDH_SECOND)へ続き\n0 4=3 16=40 64=-20:"
            "・[alpha](IDH_ALPHA)\n# 第二のトピック {IDH_SECOND}\n2 4=10:第二のトピック\n"
            "1 2=10 4=4:見出し\n0 4=6:ソ表能の本文 [1] (a) \\ 1 < 2 & \"q\"。\n"
            "# Zeta {IDH_ZETA}\n2 4=10:Zeta\n0 4=6:最後の本文。[目次](IDH_CONTENTS)\n0 4=6:" +
            longText + "\n0 4=6:前[" + longJump +
            "](IDH_ALPHA)後\n# alpha {IDH_ALPHA}\n2 4=10:alpha\n0 4=6:ｶﾀｶﾅ①～\n"
            "index: alpha {IDH_ALPHA}\nindex: Zeta {IDH_ZETA}\n"
            "index: 第二のトピック {IDH_SECOND}\nindex: 目次 {IDH_CONTENTS}\n"));
    // The page, its style left out: every topic a section that ends in the ways to the contents
    // and the index, every jump a link, the index in the viewer's order; no script, nothing loaded.
    const std::string index = R"(<a href="#quor6-index">索引</a></p></section>)",
                      nav = R"(<p class="nav"><a href="#IDH_CONTENTS">目次</a> ・ )" + index;
    EXPECT_EQ(
        std::regex_replace(compileHtmlHelp(source), std::regex("\n|<style>.*</style>"), ""),
        R"(<!DOCTYPE html><html lang="ja"><head><meta charset="utf-8"><meta name="viewport" )"
        R"(content="width=device-width, initial-scale=1"><title>ヘルプ ソ表能 ﾒﾆｭｰ ①～ &amp; 1)"
        R"(</title></head><body><h1>ヘルプ ソ表能 ﾒﾆｭｰ ①～ &amp; 1</h1><section id="IDH_CONTENTS">)"
        R"(<h2>目次</h2><p>概要です。word one two</p><ul><li><a href="#IDH_SECOND">第二のトピック)"
        R"(</a>へ続き</li><li><a href="#IDH_ALPHA">alpha</a></li></ul><p class="nav">)" +
            index + R"(<section id="IDH_SECOND"><h2>第二のトピック</h2><h3>見出し</h3>)" +
            R"(<p>ソ表能の本文 [1] (a) \ 1 &lt; 2 &amp; &quot;q&quot;。</p>)" + nav +
            R"(<section id="IDH_ZETA"><h2>Zeta</h2><p>最後の本文。)" +
            R"(<a href="#IDH_CONTENTS">目次</a></p><p>)" + longText +
            R"(</p><p>前<a href="#IDH_ALPHA">)" + longJump + "</a>後</p>" + nav +
            R"(<section id="IDH_ALPHA"><h2>alpha</h2><p>ｶﾀｶﾅ①～</p>)" + nav +
            R"(<section id="quor6-index"><h2>索引</h2><ul><li><a href="#IDH_ALPHA">alpha</a></li>)"
            R"(<li><a href="#IDH_ZETA">Zeta</a></li><li><a href="#IDH_SECOND">第二のトピック</a>)"
            R"(</li><li><a href="#IDH_CONTENTS">目次</a></li></ul></section></body></html>)");
}

// Records filled to their last byte, cut between characters: "＝" (81 81) has a trail byte that is
// also a lead byte, so a walk that starts out of step never falls back in.
TEST(TextRecordsTest, FillsEveryRecordAndCutsBetweenCharacters) {
    const std::string text(600, '\x81');
    for (std::size_t max = 60; max <= 400; ++max) {
        const std::vector<TopicRecord> records = buildTextRecords({{text, {}}}, {}, 0, max);
        std::string joined;
        for (const TopicRecord& record : records) {
            // Its text, after the font command's empty string; filled: a character more is too big.
            const std::string piece(reinterpret_cast<const char*>(&record.data2[1]));
            EXPECT_TRUE(record.size() <= max && piece.size() % 2 == 0 &&
                        (&record == &records.back() ||
                         buildTextRecords({{piece + "\x81\x81", {}}}, {}, 0)[0].size() > max))
                << max << " " << record.size();
            joined += piece;
        }
        EXPECT_EQ(joined, text) << max;
    }
}

// Both outputs refuse the same faults, with the line to look at and what is wrong there.
TEST(CompileTest, RejectsFaultySourcesNamingTheLine) {
    // "line|what is said|source~", a leading '+' in the source standing for a first topic.
    std::string table =
        "0|no 'title:' line|# a {A}\n本文\n~2|must come before the first topic|# a {A}\ntitle: t\n~"
        "0|no topic|title: t\n~3|invalid UTF-8|+\xE3\x41\x41\n~4|']' is missing|+一\n[リンク(A)\n~"
        "1|U+301C|title: \xE3\x80\x9C\n# a {A}\n~4|A is already used on line 2|+# b {B}\n# c {A}\n~"
        "1|title is empty|title:\n# a {A}\n~3|invalid UTF-8|+\xF4\x90\x80\x80\n~"
        "2|'' is not a context name|title: t\n# a {}\n~4|a heading needs a text|+- [x](A)\n##   \n~"
        "2|'A-B' is not a context name|title: t\n# a {A-B}\n~3|invalid UTF-8 at byte 2|+ab\xE3\x81~"
        "2|no CP932 form|title: t\n# \xE2\x82\xAC {A}\n~3|\xC3\xA9 (U+00E9) has no|+\xC3\xA9\n~"
        "2|no title|title: t\n# {A}\n~5|U+20AC|+x\n\n\xE2\x82\xAC\n~5|link to B|+本文\n\n[x](B)\n~"
        "2|second 'title:'|title: t\ntitle: u\n# a {A}\n~3|'A B' is not a context name|+[x](A B)\n~"
        "2|text before the first topic|title: t\n本文\n# a {A}\n~3|'# title {CONTEXT_NAME}'|+# b\n~"
        "3|'(' must follow|+[x]\n~3|']' without '['|+x]\n~3|needs a text|+[](A)\n~"
        "3|')' is missing|+[x](A\n~3|']' is missing|+[a[b](A)\n~3|starting with '#'|+#b\n~"
        "3|\xF0\x9F\x98\x80 (U+1F600) has no|+\xF0\x9F\x98\x80\n~4|unknown escape|+本文\nと\\n\n~"
        "3|control character|+x\x01y\n~3|invalid UTF-8|+\xC0\xAF\n~3|invalid UTF-8|+\xED\xA0\x80\n~"
        "3|same hash|title: t\n# a {IDH_X}\n# b {idh_x}\n~5|invalid UTF-8 at byte 0|+x\n\n\xFFy\n~";
    table += "0|too long topic titles|title: t\n# " + std::string(2034, 'a') + " {A}\n~";
    // The longest title the one-page keyword index takes (2033 bytes).
    EXPECT_TRUE(std::regex_search(shown("title: t\n# " + std::string(2033, 'a') + " {A}\n"),
                                  std::regex("\nindex: a{2033} \\{A\\}\n")));
    std::istringstream cases(
        std::regex_replace(table, std::regex(R"(\|\+)"), "|title: t\n# a {A}\n"));
    for (std::string c; std::getline(cases, c, '~');) {
        const std::size_t bar = c.find('|', 2);
        const std::string says = c.substr(2, bar - 2), source = c.substr(bar + 1);
        for (const bool page : {false, true}) {
            try {
                page ? compileHtmlHelp(source) : shown(source);
                ADD_FAILURE() << "accepted: " << ::testing::PrintToString(source);
            } catch (const HelpError& error) {
                EXPECT_TRUE(error.line() == c[0] - '0' && std::strstr(error.what(), says.c_str()))
                    << ::testing::PrintToString(c) << " -> " << error.line() << " " << error.what();
            }
        }
    }
    // An internal file given twice is the compiler's own fault, refused all the same.
    EXPECT_THROW(assembleHelpFile({{"|A", {}}, {"|B", {}}, {"|A", {}}}), std::logic_error);
}

// The encodings every reader of the format agrees on, and their limits.
TEST(EncodingTest, CompressedIntegersContextHashesAndCp932MatchKnownVectors) {
    // kind value=bytes; u: cu16, s: cs16, l: cs32, each at the edges of its short form and its
    // range (! for out of range); h: hash; c: the length of a CP932 character by its first byte;
    // j: text in CP932 as the viewer knows it (kanji with a backslash trail byte, kana, NEC).
    std::istringstream vectors(
        "u17=22 u127=FE u128=0101 u200=9101 u32768=! s12=98 s-64=00 s63=FE s64=8180 s-65=7F7F "
        "s-100=397F s16384=! s-16385=! l17=2280 l-16384=0000 l16383=FEFF l16384=01800080 "
        "l20000=419C0080 l1073741824=! hA=11 ha1=2DC h0=A h.=C h_=D hIDH_CONTENTS=68310BEE "
        "hidh_contents=68310BEE hIDH_THIRD=D4D24393 c41=1 c81=2 c9F=2 cA0=1 cDF=1 cE0=2 cFC=2 "
        "cFD=1 jヘルプ=8377838B8376 jソ表能=835C955C945C jﾒﾆｭｰ=D2C6ADB0 j①～=87408160");
    for (std::string v; vectors >> v;) {
        const std::string value = v.substr(1, v.find('=') - 1);
        ByteBuffer out;
        std::ostringstream hex;
        try {
            if (v[0] == 'h')
                hex << std::hex << std::uppercase << static_cast<std::uint32_t>(contextHash(value));
            else if (v[0] == 'c')
                hex << cp932CharLength(static_cast<unsigned char>(std::stoi(value, nullptr, 16)));
            else if (v[0] == 'j')
                out.append(utf8ToCp932(value));
            else if (v[0] == 'u')
                appendCompressedU16(out, static_cast<std::uint16_t>(std::stoi(value)));
            else if (v[0] == 's')
                appendCompressedS16(out, static_cast<std::int16_t>(std::stoi(value)));
            else
                appendCompressedS32(out, std::stoi(value));
        } catch (const std::out_of_range&) {
            hex << "!";
        }
        for (const std::uint8_t byte : out.bytes())
            hex << "0123456789ABCDEF"[byte >> 4] << "0123456789ABCDEF"[byte & 15];
        EXPECT_EQ(hex.str(), v.substr(v.find('=') + 1)) << v;
    }
    // A sequence cut short by the end of the text, though the bytes after the text would end it.
    EXPECT_THROW(decodeUtf8(std::string_view("\xE3\x81\x82", 2)), std::invalid_argument);
}

}  // namespace
}  // namespace quor6::help
