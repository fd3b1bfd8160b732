// Tests of the help compiler: the encoders against known vectors, the source parser, and whole
// compiled files read back by an independent structural reader that checks what the viewer
// relies on (and is itself shown to reject damaged files).

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
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
#include "source_parser.h"
#include "text_records.h"

namespace quor6::help {
namespace {

Bytes bytesOf(std::initializer_list<int> values) {
    Bytes bytes;
    for (const int v : values) {
        bytes.push_back(static_cast<std::uint8_t>(v));
    }
    return bytes;
}

std::string cp932(const std::string& utf8) {
    return utf8ToCp932(utf8);
}

// ---------------------------------------------------------------------------------------------
// Structural reader

[[noreturn]] void fault(const std::string& what) {
    throw std::runtime_error(what);
}

// Bounds-checked little-endian access to a byte range.
class View {
  public:
    View(const Bytes& bytes, std::size_t begin, std::size_t end)
        : bytes_(&bytes), begin_(begin), end_(end) {
        if (begin > end || end > bytes.size()) {
            fault("view outside the file");
        }
    }
    explicit View(const Bytes& bytes) : View(bytes, 0, bytes.size()) {}

    std::size_t size() const { return end_ - begin_; }
    std::uint8_t u8(std::size_t at) const {
        need(at, 1);
        return (*bytes_)[begin_ + at];
    }
    std::uint16_t u16(std::size_t at) const {
        return static_cast<std::uint16_t>(u8(at) | (u8(at + 1) << 8));
    }
    std::int16_t i16(std::size_t at) const { return static_cast<std::int16_t>(u16(at)); }
    std::uint32_t u32(std::size_t at) const {
        return static_cast<std::uint32_t>(u16(at)) |
               (static_cast<std::uint32_t>(u16(at + 2)) << 16);
    }
    std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
    std::string cString(std::size_t at) const {
        std::string text;
        for (std::size_t i = at;; ++i) {
            const std::uint8_t c = u8(i);
            if (c == 0) {
                return text;
            }
            text += static_cast<char>(c);
        }
    }
    View sub(std::size_t at, std::size_t length) const {
        need(at, length);
        return View(*bytes_, begin_ + at, begin_ + at + length);
    }

  private:
    void need(std::size_t at, std::size_t length) const {
        if (at + length > size()) {
            fault("read past the end of a structure");
        }
    }

    const Bytes* bytes_;
    std::size_t begin_;
    std::size_t end_;
};

// Reads a one-level B+ tree and hands each leaf entry's start to parseEntry, which returns the
// entry's length.
template <typename ParseEntry>
void readSingleLeafTree(const View& tree, std::uint16_t pageSize, ParseEntry parseEntry) {
    if (tree.u16(0) != 0x293B) {
        fault("B+ tree magic");
    }
    if (tree.u16(4) != pageSize) {
        fault("B+ tree page size");
    }
    if (tree.u16(26) != 0 || tree.u16(30) != 1 || tree.u16(32) != 1) {
        fault("B+ tree is not a single root leaf");
    }
    const std::uint32_t total = tree.u32(34);
    if (tree.size() != 38u + pageSize) {
        fault("B+ tree size");
    }
    const View page = tree.sub(38, pageSize);
    const std::int16_t count = page.i16(2);
    if (count <= 0 || static_cast<std::uint32_t>(count) != total) {
        fault("B+ tree entry count");
    }
    if (page.i16(4) != -1 || page.i16(6) != -1) {
        fault("B+ tree leaf links");
    }
    std::size_t at = 8;
    for (int i = 0; i < count; ++i) {
        at += parseEntry(page, at);
    }
    if (page.u16(0) != pageSize - at) {
        fault("B+ tree free bytes");
    }
    for (std::size_t i = at; i < pageSize; ++i) {
        if (page.u8(i) != 0) {
            fault("B+ tree page not zero-filled");
        }
    }
}

struct Font {
    std::uint8_t attributes;
    std::uint8_t halfPoints;
};

struct DecodedLink {
    std::int32_t hash;
    std::string text;
};

struct DecodedParagraph {
    std::uint16_t font = 0;
    std::string text;
    std::vector<DecodedLink> links;
    std::uint16_t bits = 0;
};

struct DecodedTopic {
    std::string title;
    std::uint32_t offset = 0;
    std::vector<DecodedParagraph> paragraphs;
};

struct ParsedHelp {
    std::map<std::string, std::uint32_t> directory;
    std::string title;
    std::optional<std::uint32_t> contents;
    std::optional<std::uint16_t> charset;
    std::vector<std::string> config;
    std::vector<Font> fonts;
    std::vector<std::pair<std::int32_t, std::uint32_t>> contexts;
    std::vector<std::pair<std::string, std::vector<std::uint32_t>>> keywords;
    std::vector<DecodedTopic> topics;
    std::size_t topicBlocks = 0;
};

View internalFile(const Bytes& file, const ParsedHelp& help, const std::string& name) {
    const auto found = help.directory.find(name);
    if (found == help.directory.end()) {
        fault("missing internal file " + name);
    }
    const View header(file, found->second, found->second + 9);
    const std::uint32_t reserved = header.u32(0);
    const std::uint32_t used = header.u32(4);
    if (reserved != used + 9) {
        fault(name + ": reserved is not used + 9");
    }
    return View(file, found->second + 9, found->second + reserved);
}

void readDirectory(const Bytes& file, ParsedHelp& help) {
    const View whole(file);
    if (whole.u32(0) != 0x00035F3F) {
        fault("file magic");
    }
    if (whole.i32(8) != -1) {
        fault("free list");
    }
    if (whole.u32(12) != file.size()) {
        fault("file size field");
    }
    const std::uint32_t directoryAt = whole.u32(4);
    const View header = whole.sub(directoryAt, 9);
    if (header.u32(0) != header.u32(4) + 9) {
        fault("directory: reserved is not used + 9");
    }
    const View tree = whole.sub(directoryAt + 9, header.u32(4));
    std::string previous;
    readSingleLeafTree(tree, 1024, [&](const View& page, std::size_t at) {
        const std::string name = page.cString(at);
        if (!previous.empty() && !(previous < name)) {
            fault("directory not sorted");
        }
        previous = name;
        const std::uint32_t offset = page.u32(at + name.size() + 1);
        if (offset < 16 || offset >= directoryAt) {
            fault("directory offset out of range");
        }
        help.directory[name] = offset;
        return name.size() + 5;
    });
    // The internal files must not overlap one another or the directory.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
    for (const auto& [name, offset] : help.directory) {
        spans.emplace_back(offset, offset + View(file, offset, offset + 9).u32(0));
    }
    spans.emplace_back(directoryAt, directoryAt + header.u32(0));
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].first < spans[i - 1].second) {
            fault("internal files overlap");
        }
    }
    if (spans.back().second > file.size()) {
        fault("internal file past the end");
    }
}

void readSystem(const View& system, ParsedHelp& help) {
    if (system.u16(0) != 0x036C || system.u16(4) != 1) {
        fault("|SYSTEM magic or major version");
    }
    if (system.u16(2) <= 16 || system.u16(10) != 0) {
        fault("|SYSTEM minor version or flags");
    }
    std::size_t at = 12;
    while (at < system.size()) {
        const std::uint16_t type = system.u16(at);
        const std::uint16_t length = system.u16(at + 2);
        const View data = system.sub(at + 4, length);
        switch (type) {
            case 1:
                help.title = data.cString(0);
                if (help.title.size() + 1 != length) {
                    fault("|SYSTEM title length");
                }
                break;
            case 3:
                if (length != 4) {
                    fault("|SYSTEM contents record size");
                }
                help.contents = data.u32(0);
                break;
            case 4:
                help.config.push_back(data.cString(0));
                break;
            case 11:
                help.charset = data.u16(0);
                break;
            default:
                fault("unexpected |SYSTEM record");
        }
        at += 4u + length;
    }
    if (at != system.size()) {
        fault("|SYSTEM records overrun");
    }
    // Without the Japanese charset the viewer decodes the text in its own code page.
    if (help.charset != std::optional<std::uint16_t>(128)) {
        fault("|SYSTEM charset is not 128");
    }
}

void readFonts(const View& fonts, ParsedHelp& help) {
    const std::uint16_t faces = fonts.u16(0);
    const std::uint16_t descriptors = fonts.u16(2);
    if (faces < 1 || fonts.u16(4) != 8) {
        fault("|FONT face table");
    }
    const std::uint16_t descriptorAt = fonts.u16(6);
    if ((descriptorAt - 8) % faces != 0 || descriptorAt <= 8) {
        fault("|FONT face slots");
    }
    if (fonts.size() != descriptorAt + 11u * descriptors) {
        fault("|FONT size");
    }
    for (std::uint16_t i = 0; i < descriptors; ++i) {
        const std::size_t at = descriptorAt + 11u * i;
        if (fonts.u16(at + 3) >= faces) {
            fault("|FONT face index");
        }
        help.fonts.push_back(Font{fonts.u8(at), fonts.u8(at + 1)});
    }
}

void readContexts(const View& context, ParsedHelp& help) {
    readSingleLeafTree(context, 2048, [&](const View& page, std::size_t at) {
        const std::int32_t hash = page.i32(at);
        if (!help.contexts.empty() && !(help.contexts.back().first < hash)) {
            fault("|CONTEXT not sorted by signed hash");
        }
        help.contexts.emplace_back(hash, page.u32(at + 4));
        return std::size_t{8};
    });
}

bool asciiCaseLess(const std::string& a, const std::string& b) {
    const auto lower = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 'A' && u <= 'Z' ? u + 32u : static_cast<unsigned>(u);
    };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return lower(x) < lower(y); });
}

void readKeywords(const View& tree, const View& data, ParsedHelp& help) {
    readSingleLeafTree(tree, 2048, [&](const View& page, std::size_t at) {
        const std::string keyword = page.cString(at);
        if (!help.keywords.empty() && !asciiCaseLess(help.keywords.back().first, keyword)) {
            fault("|KWBTREE not sorted");
        }
        const std::uint16_t count = page.u16(at + keyword.size() + 1);
        const std::uint32_t dataAt = page.u32(at + keyword.size() + 3);
        std::vector<std::uint32_t> offsets;
        for (std::uint16_t i = 0; i < count; ++i) {
            offsets.push_back(data.u32(dataAt + 4u * i));
        }
        help.keywords.emplace_back(keyword, offsets);
        return keyword.size() + 7;
    });
}

// Compressed integers, decoded independently of the writer.
class FieldReader {
  public:
    FieldReader(const View& view, std::size_t at) : view_(view), at_(at) {}
    std::size_t at() const { return at_; }
    std::uint8_t u8() { return view_.u8(at_++); }
    std::uint16_t u16() {
        const std::uint16_t v = view_.u16(at_);
        at_ += 2;
        return v;
    }
    std::int32_t i32() {
        const std::int32_t v = view_.i32(at_);
        at_ += 4;
        return v;
    }
    unsigned compressedU16() {
        if ((view_.u8(at_) & 1) == 0) {
            return u8() / 2u;
        }
        return u16() / 2u;
    }
    int compressedS16() {
        if ((view_.u8(at_) & 1) == 0) {
            return u8() / 2 - 0x40;
        }
        return u16() / 2 - 0x4000;
    }
    long compressedS32() {
        if ((view_.u8(at_) & 1) == 0) {
            return static_cast<long>(u16() / 2) - 0x4000;
        }
        return static_cast<long>(static_cast<std::uint32_t>(i32()) / 2u) - 0x40000000L;
    }

  private:
    const View& view_;
    std::size_t at_;
};

// Decodes one display-text record; returns whether it ended its paragraph.
bool decodeTextRecord(const View& record, std::size_t data1End, const ParsedHelp& help,
                      DecodedParagraph& paragraph) {
    const View data2 = record.sub(data1End, record.size() - data1End);
    FieldReader fields(record, 21);
    const long expanded = fields.compressedS32();
    const unsigned topicLength = fields.compressedU16();
    if (expanded != static_cast<long>(data2.size()) || topicLength != data2.size()) {
        fault("text record length fields");
    }
    if (fields.u8() != 0x00 || fields.u8() != 0x80 || fields.u16() != 0) {
        fault("text record fixed bytes");
    }
    paragraph.bits = fields.u16();
    if ((paragraph.bits & ~0x0076u) != 0) {
        fault("unexpected paragraph bits");
    }
    for (unsigned bit = 0x0002; bit <= 0x0040; bit <<= 1) {
        if (paragraph.bits & bit) {
            fields.compressedS16();
        }
    }
    std::size_t text = 0;
    bool ended = false;
    bool firstCommand = true;
    std::optional<DecodedLink> openLink;
    for (;;) {
        const std::string piece = data2.cString(text);
        text += piece.size() + 1;
        paragraph.text += piece;
        if (openLink) {
            openLink->text += piece;
        }
        if (fields.at() >= data1End) {
            fault("commands run past data1");
        }
        const std::uint8_t command = fields.u8();
        if (firstCommand && command != 0x80) {
            fault("record does not start with a font");
        }
        firstCommand = false;
        if (command == 0xFF) {
            break;
        }
        if (ended) {
            fault("command after the paragraph end");
        }
        switch (command) {
            case 0x80:
                paragraph.font = fields.u16();
                if (paragraph.font >= help.fonts.size()) {
                    fault("font number out of range");
                }
                break;
            case 0x82:
                ended = true;
                break;
            case 0xE3:
                if (openLink) {
                    fault("nested hotspot");
                }
                openLink = DecodedLink{fields.i32(), ""};
                break;
            case 0x89:
                if (!openLink) {
                    fault("hotspot end without start");
                }
                paragraph.links.push_back(*openLink);
                openLink.reset();
                break;
            default:
                fault("unexpected command");
        }
    }
    if (fields.at() != data1End || text != data2.size() || openLink) {
        fault("strings and commands do not pair up");
    }
    return ended;
}

void readTopics(const View& topic, ParsedHelp& help) {
    constexpr std::size_t kBlock = 4096;
    constexpr std::size_t kData = 4084;
    if (topic.size() == 0 || topic.size() % kBlock != 0) {
        fault("|TOPIC is not whole 4096-byte blocks");
    }
    help.topicBlocks = topic.size() / kBlock;

    struct Visited {
        std::uint32_t position;
        std::size_t block;
        std::size_t dataEnd;
        std::uint8_t type;
    };
    std::vector<Visited> visited;
    std::set<std::uint32_t> seen;
    std::vector<std::size_t> characters(help.topicBlocks, 0);
    std::vector<std::uint32_t> headerPositions;
    std::vector<std::uint32_t> firstTextPositions;
    std::vector<std::array<std::uint32_t, 4>> headerFields;  // back, forward, number, next
    std::vector<std::uint32_t> scrollFields;

    std::uint32_t position = 12;
    std::uint32_t previous = 0xFFFFFFFF;
    bool paragraphOpen = false;
    while (position != 0xFFFFFFFF) {
        if (!seen.insert(position).second) {
            fault("record chain loops");
        }
        const std::size_t block = position / 0x4000;
        const std::size_t offset = position % 0x4000;
        if (block >= help.topicBlocks || offset < 12 || offset - 12 >= kData) {
            fault("record position out of range");
        }
        const std::size_t at = block * kBlock + offset;
        const std::uint32_t size = topic.u32(at);
        if (size < 21 || offset - 12 + size > kData) {
            fault("record crosses its block");
        }
        const View record = topic.sub(at, size);
        const std::uint32_t data1End = record.u32(16);
        if (data1End < 21 || data1End > size || record.u32(4) != size - data1End) {
            fault("record size fields");
        }
        if (record.u32(8) != previous) {
            fault("previous link");
        }
        const std::uint8_t type = record.u8(20);
        if (visited.empty() && type != 0x02) {
            fault("the first record is not a topic header");
        }
        if (type == 0x02) {
            if (paragraphOpen) {
                fault("paragraph left open before a topic");
            }
            if (data1End != 21 + 28) {
                fault("topic header size");
            }
            DecodedTopic decoded;
            decoded.title = record.cString(data1End);
            decoded.offset = static_cast<std::uint32_t>(block * 0x8000 + characters[block]);
            help.topics.push_back(decoded);
            headerPositions.push_back(position);
            headerFields.push_back(
                {record.u32(25), record.u32(29), record.u32(33), record.u32(45)});
            scrollFields.push_back(record.u32(41));
            firstTextPositions.push_back(0xFFFFFFFF);
        } else if (type == 0x20) {
            if (firstTextPositions.back() == 0xFFFFFFFF) {
                firstTextPositions.back() = position;
            }
            std::vector<DecodedParagraph>& paragraphs = help.topics.back().paragraphs;
            DecodedParagraph piece;
            const bool ended = decodeTextRecord(record, data1End, help, piece);
            if (paragraphOpen) {
                DecodedParagraph& open = paragraphs.back();
                if (open.font != piece.font || open.bits != piece.bits) {
                    fault("continued paragraph changes its format");
                }
                open.text += piece.text;
                open.links.insert(open.links.end(), piece.links.begin(), piece.links.end());
            } else {
                paragraphs.push_back(piece);
            }
            paragraphOpen = !ended;
            characters[block] += size - data1End;
        } else {
            fault("unexpected record type");
        }
        visited.push_back(Visited{position, block, offset - 12 + size, type});
        previous = position;
        position = record.u32(12);
    }
    if (paragraphOpen) {
        fault("the last paragraph is not ended");
    }

    // Block headers, and zeros after the last record of every block.
    for (std::size_t block = 0; block < help.topicBlocks; ++block) {
        std::uint32_t lastBefore = 0xFFFFFFFF;
        std::uint32_t lastHeaderBefore = 0xFFFFFFFF;
        std::optional<std::uint32_t> first;
        std::size_t dataEnd = 0;
        for (const Visited& v : visited) {
            if (v.block < block) {
                lastBefore = v.position;
                if (v.type == 0x02) {
                    lastHeaderBefore = v.position;
                }
            } else if (v.block == block) {
                if (!first) {
                    first = v.position;
                }
                dataEnd = v.dataEnd;
            }
        }
        if (!first) {
            fault("empty topic block");
        }
        const std::size_t at = block * kBlock;
        if (topic.u32(at) != lastBefore || topic.u32(at + 4) != *first ||
            topic.u32(at + 8) != lastHeaderBefore) {
            fault("topic block header");
        }
        for (std::size_t i = 12 + dataEnd; i < kBlock; ++i) {
            if (topic.u8(at + i) != 0) {
                fault("topic block not padded with zeros");
            }
        }
    }

    // Topic headers: browse sequence, numbering, scrolling start and the next header.
    for (std::size_t t = 0; t < help.topics.size(); ++t) {
        const auto& [back, forward, number, next] = headerFields[t];
        const std::uint32_t expectedBack = t > 0 ? help.topics[t - 1].offset : 0xFFFFFFFF;
        const std::uint32_t expectedForward =
            t + 1 < help.topics.size() ? help.topics[t + 1].offset : 0xFFFFFFFF;
        const std::uint32_t expectedNext =
            t + 1 < help.topics.size() ? headerPositions[t + 1] : 0xFFFFFFFF;
        if (back != expectedBack || forward != expectedForward || number != t ||
            next != expectedNext || scrollFields[t] != firstTextPositions[t]) {
            fault("topic header fields");
        }
        if (t > 0 && help.topics[t].offset == help.topics[t - 1].offset) {
            fault("two topics share an offset");
        }
    }
}

ParsedHelp readHelpFile(const Bytes& file) {
    ParsedHelp help;
    readDirectory(file, help);
    readSystem(internalFile(file, help, "|SYSTEM"), help);
    readFonts(internalFile(file, help, "|FONT"), help);
    readContexts(internalFile(file, help, "|CONTEXT"), help);
    readKeywords(internalFile(file, help, "|KWBTREE"), internalFile(file, help, "|KWDATA"), help);
    readTopics(internalFile(file, help, "|TOPIC"), help);
    return help;
}

std::uint32_t offsetOfContext(const ParsedHelp& help, const std::string& name) {
    const std::int32_t hash = contextHash(name);
    for (const auto& [h, offset] : help.contexts) {
        if (h == hash) {
            return offset;
        }
    }
    fault("no context " + name);
}

const DecodedTopic& topicAt(const ParsedHelp& help, std::uint32_t offset) {
    for (const DecodedTopic& topic : help.topics) {
        if (topic.offset == offset) {
            return topic;
        }
    }
    fault("no topic at that offset");
}

// ---------------------------------------------------------------------------------------------
// Encoders

Bytes compressedU16(std::uint16_t v) {
    ByteBuffer out;
    appendCompressedU16(out, v);
    return std::move(out).bytes();
}
Bytes compressedS16(std::int16_t v) {
    ByteBuffer out;
    appendCompressedS16(out, v);
    return std::move(out).bytes();
}
Bytes compressedS32(std::int32_t v) {
    ByteBuffer out;
    appendCompressedS32(out, v);
    return std::move(out).bytes();
}

TEST(CompressedIntTest, MatchesKnownVectors) {
    EXPECT_EQ(compressedS32(17), bytesOf({0x22, 0x80}));
    EXPECT_EQ(compressedU16(17), bytesOf({0x22}));
    EXPECT_EQ(compressedS16(12), bytesOf({0x98}));
    EXPECT_EQ(compressedU16(200), bytesOf({0x91, 0x01}));
    EXPECT_EQ(compressedS16(-100), bytesOf({0x39, 0x7F}));
    EXPECT_EQ(compressedS32(20000), bytesOf({0x41, 0x9C, 0x00, 0x80}));
}

TEST(CompressedIntTest, SwitchesToTheLongFormAtTheRangeEdges) {
    EXPECT_EQ(compressedU16(127), bytesOf({0xFE}));
    EXPECT_EQ(compressedU16(128), bytesOf({0x01, 0x01}));
    EXPECT_EQ(compressedS16(-64), bytesOf({0x00}));
    EXPECT_EQ(compressedS16(63), bytesOf({0xFE}));
    EXPECT_EQ(compressedS16(64), bytesOf({0x81, 0x80}));
    EXPECT_EQ(compressedS16(-65), bytesOf({0x7F, 0x7F}));
    EXPECT_EQ(compressedS32(16383), bytesOf({0xFE, 0xFF}));
    EXPECT_EQ(compressedS32(16384), bytesOf({0x01, 0x80, 0x00, 0x80}));
    EXPECT_EQ(compressedS32(-16384), bytesOf({0x00, 0x00}));
}

TEST(CompressedIntTest, RejectsValuesOutsideTheLongForm) {
    EXPECT_THROW(compressedU16(32768), std::out_of_range);
    EXPECT_THROW(compressedS16(16384), std::out_of_range);
    EXPECT_THROW(compressedS16(-16385), std::out_of_range);
    EXPECT_THROW(compressedS32(0x40000000), std::out_of_range);
}

TEST(ContextHashTest, MatchesKnownVectors) {
    EXPECT_EQ(contextHash("A"), 17);
    EXPECT_EQ(contextHash("a1"), 732);
    EXPECT_EQ(static_cast<std::uint32_t>(contextHash("IDH_CONTENTS")), 0x68310BEEu);
    EXPECT_EQ(static_cast<std::uint32_t>(contextHash("IDH_SECOND")), 0xB5EA5288u);
    EXPECT_LT(contextHash("IDH_SECOND"), 0);
    EXPECT_EQ(static_cast<std::uint32_t>(contextHash("IDH_THIRD")), 0xD4D24393u);
}

TEST(ContextHashTest, IgnoresCaseAndKnowsItsAlphabet) {
    EXPECT_EQ(contextHash("idh_rules"), contextHash("IDH_RULES"));
    EXPECT_EQ(contextHash("0"), 10);
    EXPECT_EQ(contextHash("."), 12);
    EXPECT_EQ(contextHash("_"), 13);
    EXPECT_TRUE(isValidContextName("IDH_A.b_9"));
    EXPECT_FALSE(isValidContextName(""));
    EXPECT_FALSE(isValidContextName("IDH-A"));
    EXPECT_FALSE(isValidContextName("IDH A"));
}

TEST(Cp932Test, EncodesJapaneseAsWindowsDoes) {
    EXPECT_EQ(cp932("ヘルプ"), "\x83\x77\x83\x8B\x83\x76");
    // Trail bytes that are '\' in ASCII must survive.
    EXPECT_EQ(cp932("ソ表能"), "\x83\x5C\x95\x5C\x94\x5C");
    EXPECT_EQ(cp932("ﾒﾆｭｰ"), "\xD2\xC6\xAD\xB0");
    EXPECT_EQ(cp932("①"), "\x87\x40");
    EXPECT_EQ(cp932("～"), "\x81\x60");
    EXPECT_EQ(cp932("quor6 1S"), "quor6 1S");
}

TEST(Cp932Test, RejectsCharactersWithoutAnExactForm) {
    EXPECT_THROW(cp932("絵文字\xF0\x9F\x98\x80"), std::invalid_argument);  // U+1F600
    EXPECT_THROW(cp932("\xE3\x80\x9C"), std::invalid_argument);            // U+301C, not U+FF5E
    EXPECT_THROW(cp932("\xC3\xA9"), std::invalid_argument);                // é
    try {
        cp932("ab\xE2\x82\xAC");  // €
        FAIL() << "no exception";
    } catch (const std::invalid_argument& error) {
        EXPECT_NE(std::string(error.what()).find("U+20AC"), std::string::npos) << error.what();
    }
}

TEST(Cp932Test, RejectsInvalidUtf8) {
    EXPECT_THROW(cp932("\xE3\x81"), std::invalid_argument);      // truncated
    EXPECT_THROW(cp932("\xC0\xAF"), std::invalid_argument);      // overlong
    EXPECT_THROW(cp932("\xED\xA0\x80"), std::invalid_argument);  // surrogate
    EXPECT_THROW(cp932("\xFF"), std::invalid_argument);
}

TEST(Cp932Test, TellsLeadBytes) {
    EXPECT_EQ(cp932CharLength(0x41), 1u);
    EXPECT_EQ(cp932CharLength(0x81), 2u);
    EXPECT_EQ(cp932CharLength(0x9F), 2u);
    EXPECT_EQ(cp932CharLength(0xA0), 1u);
    EXPECT_EQ(cp932CharLength(0xB1), 1u);
    EXPECT_EQ(cp932CharLength(0xE0), 2u);
    EXPECT_EQ(cp932CharLength(0xFC), 2u);
    EXPECT_EQ(cp932CharLength(0xFD), 1u);
}

// ---------------------------------------------------------------------------------------------
// Source parser

TEST(SourceParserTest, ReadsTopicsParagraphsAndLinks) {
    const HelpSource source = parseHelpSource(
        "\xEF\xBB\xBF; comment\r\n"
        "title:  quor6 ヘルプ \r\n"
        "\n"
        "# 目次 {IDH_CONTENTS}\n"
        "一行目と\n"
        "二行目。\n"
        "; a comment inside a paragraph\n"
        "word one\n"
        "two\n"
        "\n"
        "## 見出し\n"
        "- 項目 [ルール](IDH_RULES) へ\n"
        "  続き\n"
        "# ルール {IDH_RULES}\n"
        "\\[1\\] \\(a\\) \\\\\n");
    EXPECT_EQ(source.title, "quor6 ヘルプ");
    ASSERT_EQ(source.topics.size(), 2u);
    const Topic& contents = source.topics[0];
    EXPECT_EQ(contents.title, "目次");
    EXPECT_EQ(contents.contextName, "IDH_CONTENTS");
    EXPECT_EQ(contents.line, 4);
    ASSERT_EQ(contents.paragraphs.size(), 3u);

    EXPECT_EQ(contents.paragraphs[0].style, ParagraphStyle::Body);
    ASSERT_EQ(contents.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(contents.paragraphs[0].runs[0].text, "一行目と二行目。word one two");

    EXPECT_EQ(contents.paragraphs[1].style, ParagraphStyle::Heading);
    EXPECT_EQ(contents.paragraphs[1].runs[0].text, "見出し");

    const Paragraph& bullet = contents.paragraphs[2];
    EXPECT_EQ(bullet.style, ParagraphStyle::Bullet);
    EXPECT_EQ(bullet.line, 12);
    ASSERT_EQ(bullet.runs.size(), 3u);
    EXPECT_EQ(bullet.runs[0].text, "項目 ");
    EXPECT_EQ(bullet.runs[1].text, "ルール");
    EXPECT_EQ(bullet.runs[1].linkTarget, "IDH_RULES");
    EXPECT_EQ(bullet.runs[2].text, " へ続き");
    EXPECT_TRUE(bullet.runs[2].linkTarget.empty());

    ASSERT_EQ(source.topics[1].paragraphs.size(), 1u);
    EXPECT_EQ(source.topics[1].paragraphs[0].runs[0].text, "[1] (a) \\");
}

int errorLine(const std::string& text) {
    try {
        parseHelpSource(text);
    } catch (const HelpError& error) {
        return error.line();
    }
    return -1;
}

TEST(SourceParserTest, ReportsFaultsWithTheirLine) {
    EXPECT_EQ(errorLine("# 目次 {IDH_A}\n本文\n"), 0);                  // no title
    EXPECT_EQ(errorLine("title: t\n"), 0);                              // no topic
    EXPECT_EQ(errorLine("title: t\ntitle: u\n# a {A}\n"), 2);           // second title
    EXPECT_EQ(errorLine("title:\n# a {A}\n"), 1);                       // empty title
    EXPECT_EQ(errorLine("title: t\n本文\n# a {A}\n"), 2);               // text before a topic
    EXPECT_EQ(errorLine("title: t\n# a {A}\n# b\n"), 3);                // no context name
    EXPECT_EQ(errorLine("title: t\n# a {A-B}\n"), 2);                   // bad context name
    EXPECT_EQ(errorLine("title: t\n# {A}\n"), 2);                       // no topic title
    EXPECT_EQ(errorLine("title: t\n# a {A}\n#b\n"), 3);                 // unknown '#' line
    EXPECT_EQ(errorLine("title: t\n# a {A}\n一\n[リンク(A)\n"), 4);     // unclosed link
    EXPECT_EQ(errorLine("title: t\n# a {A}\n[x]\n"), 3);                // no target
    EXPECT_EQ(errorLine("title: t\n# a {A}\n[](A)\n"), 3);              // empty link text
    EXPECT_EQ(errorLine("title: t\n# a {A}\n[x](A B)\n"), 3);           // bad target
    EXPECT_EQ(errorLine("title: t\n# a {A}\nx]\n"), 3);                 // stray ']'
    EXPECT_EQ(errorLine("title: t\n# a {A}\n本文\nと\\n\n"), 4);        // unknown escape
    EXPECT_EQ(errorLine("title: t\n# a {A}\n##   \n"), 3);              // empty heading
    EXPECT_EQ(errorLine("title: t\n# a {A}\nx\x01y\n"), 3);             // control character
    EXPECT_EQ(errorLine("title: t\n# a {A}\n# b {B}\ntitle: u\n"), 4);  // title after topics
}

TEST(CompileTest, ReportsSemanticFaults) {
    // The HTML page is refused for exactly the same faults, at the same line.
    const auto lineOf = [](const std::string& text) {
        int lines[2] = {-1, -1};
        try {
            compileHelp(text);
        } catch (const HelpError& error) {
            lines[0] = error.line();
        }
        try {
            compileHtmlHelp(text);
        } catch (const HelpError& error) {
            lines[1] = error.line();
        }
        EXPECT_EQ(lines[0], lines[1]) << text;
        return lines[0];
    };
    EXPECT_EQ(lineOf("title: t\n# a {A}\n本文\n\n[x](B)\n"), 5);     // unknown target
    EXPECT_EQ(lineOf("title: t\n# a {A}\n# b {B}\n# c {A}\n"), 4);   // context used twice
    EXPECT_EQ(lineOf("title: t\n# a {IDH_X}\n# b {idh_x}\n"), 3);    // same hash
    EXPECT_EQ(lineOf("title: t\n# a {A}\nx\n\n\xE2\x82\xAC\n"), 5);  // no CP932 form
    EXPECT_EQ(lineOf("title: t\n# \xE2\x82\xAC {A}\n"), 2);
    EXPECT_EQ(lineOf("title: \xE2\x82\xAC\n# a {A}\n"), 1);
    EXPECT_EQ(lineOf("title: t\n# a {A}\nok\n"), -1);
}

TEST(HtmlHelpTest, EscapesTextLinksTopicsByIdAndSortsTheIndexLikeTheViewer) {
    const std::string html = compileHtmlHelp(
        "title: A & B\n# Zeta {IDH_TOP}\n1 < 2 & 3 > 2 \"q\"\n- [次へ](IDH_NEXT)\n"
        "# alpha {IDH_NEXT}\n本文\n");
    for (const char* expected :
         {"<html lang=\"ja\">", "<title>A &amp; B</title>", "<section id=\"IDH_NEXT\">",
          "<p>1 &lt; 2 &amp; 3 &gt; 2 &quot;q&quot;</p>\n<ul>\n<li><a "
          "href=\"#IDH_NEXT\">次へ</a></li>\n</ul>"}) {
        EXPECT_NE(html.find(expected), std::string::npos) << expected;
    }
    // The index ignores ASCII case, as the viewer's does: alpha before Zeta.
    const std::size_t index = html.find("<h2>索引</h2>");
    ASSERT_NE(index, std::string::npos);
    EXPECT_LT(html.find("#IDH_NEXT\">alpha", index), html.find("#IDH_TOP\">Zeta", index));
}

// ---------------------------------------------------------------------------------------------
// Text records

struct SplitRecord {
    std::string text;
    bool endsParagraph;
    std::vector<std::int32_t> hashes;
};

SplitRecord decodeBuiltRecord(const TopicRecord& record) {
    ByteBuffer whole;
    whole.zeros(21);
    whole.append(record.data1);
    whole.append(record.data2);
    const Bytes bytes = std::move(whole).bytes();
    ParsedHelp help;
    help.fonts.assign(3, Font{0, 20});
    DecodedParagraph paragraph;
    const bool ended = decodeTextRecord(View(bytes), 21 + record.data1.size(), help, paragraph);
    SplitRecord split{paragraph.text, ended, {}};
    for (const DecodedLink& link : paragraph.links) {
        split.hashes.push_back(link.hash);
    }
    return split;
}

bool isWholeCp932(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size()) {
        at += cp932CharLength(static_cast<unsigned char>(text[at]));
    }
    return at == text.size();
}

TEST(TextRecordsTest, OneShortParagraphIsOneEndedRecord) {
    const std::vector<TopicRecord> records =
        buildTextRecords({{cp932("短い段落。"), std::nullopt}}, ParagraphFormat{{}, 6, {}, {}}, 0);
    ASSERT_EQ(records.size(), 1u);
    const SplitRecord split = decodeBuiltRecord(records[0]);
    EXPECT_EQ(split.text, cp932("短い段落。"));
    EXPECT_TRUE(split.endsParagraph);
}

TEST(TextRecordsTest, SplitsLongTextOnCharacterBoundariesAndSentenceEnds) {
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += cp932("これは文です。");
    }
    const std::size_t limit = 120;
    const std::vector<TopicRecord> records =
        buildTextRecords({{text, std::nullopt}}, ParagraphFormat{}, 0, limit);
    ASSERT_GT(records.size(), 4u);
    std::string joined;
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_LE(records[i].size(), limit);
        const SplitRecord split = decodeBuiltRecord(records[i]);
        EXPECT_TRUE(isWholeCp932(split.text));
        EXPECT_EQ(split.endsParagraph, i + 1 == records.size());
        if (i + 1 < records.size()) {
            EXPECT_EQ(split.text.substr(split.text.size() - 2), "\x81\x42") << "cut after 。";
        }
        joined += split.text;
    }
    EXPECT_EQ(joined, text);
}

TEST(TextRecordsTest, SplitsTextWithoutSentenceEndsAnywhereBetweenCharacters) {
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += cp932(i % 3 == 0 ? "a" : "あ");
    }
    const std::vector<TopicRecord> records =
        buildTextRecords({{text, std::nullopt}}, ParagraphFormat{}, 0, 101);
    std::string joined;
    for (const TopicRecord& record : records) {
        EXPECT_LE(record.size(), 101u);
        const SplitRecord split = decodeBuiltRecord(record);
        EXPECT_TRUE(isWholeCp932(split.text));
        joined += split.text;
    }
    EXPECT_EQ(joined, text);
}

TEST(TextRecordsTest, ASplitLinkKeepsItsTargetInEveryPart) {
    std::string label;
    for (int i = 0; i < 100; ++i) {
        label += cp932("リンク");
    }
    const std::vector<TopicRecord> records =
        buildTextRecords({{cp932("前"), std::nullopt}, {label, -5}, {cp932("後"), std::nullopt}},
                         ParagraphFormat{}, 1, 200);
    ASSERT_GT(records.size(), 2u);
    std::string joined;
    for (const TopicRecord& record : records) {
        const SplitRecord split = decodeBuiltRecord(record);
        ASSERT_FALSE(split.hashes.empty());
        for (const std::int32_t hash : split.hashes) {
            EXPECT_EQ(hash, -5);
        }
        joined += split.text;
    }
    EXPECT_EQ(joined, cp932("前") + label + cp932("後"));
}

TEST(TextRecordsTest, TheDefaultLimitFitsOneTopicBlock) {
    std::string text;
    for (int i = 0; i < 1500; ++i) {
        text += cp932("長");
    }
    const std::vector<TopicRecord> records =
        buildTextRecords({{text, std::nullopt}}, ParagraphFormat{}, 0);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_LE(records[0].size(), 4084u);

    text += text;  // 6000 bytes: more than one block can hold
    const std::vector<TopicRecord> split =
        buildTextRecords({{text, std::nullopt}}, ParagraphFormat{}, 0);
    ASSERT_EQ(split.size(), 2u);
    EXPECT_LE(split[0].size(), 4084u);
    EXPECT_GT(split[0].size(), 4000u);
}

TEST(TextRecordsTest, WritesOnlyTheFormatValuesThatAreSet) {
    const TopicRecord plain = buildTextRecords({{"x", std::nullopt}}, ParagraphFormat{}, 0)[0];
    const TopicRecord indented =
        buildTextRecords({{"x", std::nullopt}}, ParagraphFormat{10, 6, 40, -20}, 0)[0];
    // cs32 (2 bytes) + cu16 (1) + 00 80 + id (2), then the paragraph bits.
    EXPECT_EQ(plain.data1[7] | (plain.data1[8] << 8), 0x0000);
    EXPECT_EQ(indented.data1[7] | (indented.data1[8] << 8), 0x0056);
    const Bytes values(indented.data1.begin() + 9, indented.data1.begin() + 13);
    EXPECT_EQ(values, bytesOf({(10 + 64) * 2, (6 + 64) * 2, (40 + 64) * 2, (-20 + 64) * 2}));
}

// ---------------------------------------------------------------------------------------------
// Whole files

const char* const kSmallSource =
    "title: テスト用ヘルプ\n"
    "# 目次 {IDH_CONTENTS}\n"
    "概要です。\n"
    "- [第二のトピック](IDH_SECOND)へ\n"
    "- [三番目](IDH_THIRD)\n"
    "# 第二のトピック {IDH_SECOND}\n"
    "## 見出し\n"
    "ソ表能の本文。\n"
    "# 三番目 {IDH_THIRD}\n"
    "最後の本文。\n";

TEST(HelpFileTest, SmallFileReadsBackCompletely) {
    const Bytes file = compileHelp(kSmallSource);
    const ParsedHelp help = readHelpFile(file);

    std::vector<std::string> names;
    for (const auto& entry : help.directory) {
        names.push_back(entry.first);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"|CONTEXT", "|FONT", "|KWBTREE", "|KWDATA",
                                               "|SYSTEM", "|TOPIC"}));
    EXPECT_EQ(help.title, cp932("テスト用ヘルプ"));
    EXPECT_EQ(help.charset, std::optional<std::uint16_t>(128));
    EXPECT_EQ(help.config, std::vector<std::string>{"BrowseButtons()"});
    ASSERT_EQ(help.topics.size(), 3u);
    EXPECT_EQ(help.contents, std::optional<std::uint32_t>(help.topics[0].offset));
    EXPECT_EQ(help.topicBlocks, 1u);

    ASSERT_EQ(help.fonts.size(), 3u);
    EXPECT_EQ(help.fonts[0].attributes & 1, 0);
    EXPECT_EQ(help.fonts[1].attributes & 1, 1);
    EXPECT_EQ(help.fonts[2].attributes & 1, 1);

    ASSERT_EQ(help.contexts.size(), 3u);
    EXPECT_EQ(topicAt(help, offsetOfContext(help, "IDH_CONTENTS")).title, cp932("目次"));
    EXPECT_EQ(topicAt(help, offsetOfContext(help, "IDH_SECOND")).title, cp932("第二のトピック"));
    EXPECT_EQ(topicAt(help, offsetOfContext(help, "IDH_THIRD")).title, cp932("三番目"));

    const DecodedTopic& contents = help.topics[0];
    ASSERT_EQ(contents.paragraphs.size(), 4u);
    EXPECT_EQ(contents.paragraphs[0].text, cp932("目次"));
    EXPECT_EQ(contents.paragraphs[0].font, 2);
    EXPECT_EQ(contents.paragraphs[1].text, cp932("概要です。"));
    EXPECT_EQ(contents.paragraphs[1].font, 0);
    EXPECT_EQ(contents.paragraphs[2].text, cp932("・第二のトピックへ"));
    ASSERT_EQ(contents.paragraphs[2].links.size(), 1u);
    EXPECT_EQ(contents.paragraphs[2].links[0].hash, contextHash("IDH_SECOND"));
    EXPECT_EQ(contents.paragraphs[2].links[0].text, cp932("第二のトピック"));
    EXPECT_EQ(contents.paragraphs[3].links[0].hash, contextHash("IDH_THIRD"));

    const DecodedTopic& second = help.topics[1];
    ASSERT_EQ(second.paragraphs.size(), 3u);
    EXPECT_EQ(second.paragraphs[1].text, cp932("見出し"));
    EXPECT_EQ(second.paragraphs[1].font, 1);
    EXPECT_EQ(second.paragraphs[2].text, cp932("ソ表能の本文。"));

    // Every topic is in the index under its title.
    ASSERT_EQ(help.keywords.size(), 3u);
    for (const auto& [keyword, offsets] : help.keywords) {
        ASSERT_EQ(offsets.size(), 1u);
        EXPECT_EQ(topicAt(help, offsets[0]).title, keyword);
    }
}

TEST(HelpFileTest, TopicsSpreadOverSeveralBlocksKeepTheirOffsets) {
    std::string source = "title: t\n";
    for (int t = 0; t < 6; ++t) {
        source += "# トピック" + std::to_string(t) + " {IDH_T" + std::to_string(t) + "}\n";
        for (int p = 0; p < 8; ++p) {
            for (int s = 0; s < 30; ++s) {
                source += "本文の文章です。";
            }
            source += "\n\n";
        }
    }
    const ParsedHelp help = readHelpFile(compileHelp(source));
    ASSERT_EQ(help.topics.size(), 6u);
    EXPECT_GE(help.topicBlocks, 5u);
    std::set<std::uint32_t> blocksWithTopics;
    for (int t = 0; t < 6; ++t) {
        const std::uint32_t offset = offsetOfContext(help, "IDH_T" + std::to_string(t));
        const DecodedTopic& topic = topicAt(help, offset);
        EXPECT_EQ(topic.title, cp932("トピック" + std::to_string(t)));
        ASSERT_EQ(topic.paragraphs.size(), 9u);
        EXPECT_EQ(topic.paragraphs[8].text.size(), 30u * cp932("本文の文章です。").size());
        blocksWithTopics.insert(offset / 0x8000);
    }
    EXPECT_GT(blocksWithTopics.size(), 3u);
}

TEST(HelpFileTest, AParagraphLongerThanABlockIsCarriedOver) {
    std::string paragraph;
    for (int i = 0; i < 400; ++i) {
        paragraph += "長い段落の一文です。";
    }
    const ParsedHelp help =
        readHelpFile(compileHelp("title: t\n# 長い {IDH_LONG}\n" + paragraph + "\n\n次の段落。\n"));
    ASSERT_EQ(help.topics.size(), 1u);
    ASSERT_EQ(help.topics[0].paragraphs.size(), 3u);
    EXPECT_EQ(help.topics[0].paragraphs[1].text, cp932(paragraph));
    EXPECT_EQ(help.topics[0].paragraphs[2].text, cp932("次の段落。"));
    EXPECT_GE(help.topicBlocks, 2u);
}

// The reader has to notice broken layouts, or the tests above prove nothing.
class ReaderRejectsDamageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        file_ = compileHelp(kSmallSource);
        help_ = readHelpFile(file_);
    }
    std::uint32_t fileStart(const std::string& name) const { return help_.directory.at(name); }
    void put32(std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            file_[at + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
        }
    }
    std::uint32_t get32(std::size_t at) const { return View(file_).u32(at); }

    Bytes file_;
    ParsedHelp help_;
};

TEST_F(ReaderRejectsDamageTest, Truncation) {
    file_.pop_back();
    EXPECT_THROW(readHelpFile(file_), std::runtime_error);
}

TEST_F(ReaderRejectsDamageTest, SlackInAnInternalFile) {
    const std::uint32_t system = fileStart("|SYSTEM");
    put32(system, get32(system) + 1);
    EXPECT_THROW(readHelpFile(file_), std::runtime_error);
}

TEST_F(ReaderRejectsDamageTest, UnsortedDirectory) {
    // Rename "|FONT" to "|ZONT": the names are then out of order.
    const std::size_t at =
        static_cast<std::size_t>(std::search(file_.begin() + get32(4), file_.end(),
                                             std::begin("|FONT"), std::end("|FONT") - 1) -
                                 file_.begin());
    file_[at + 1] = 'Z';
    EXPECT_THROW(readHelpFile(file_), std::runtime_error);
}

TEST_F(ReaderRejectsDamageTest, UnsortedContexts) {
    const std::size_t entries = fileStart("|CONTEXT") + 9 + 38 + 8;
    for (int i = 0; i < 8; ++i) {
        std::swap(file_[entries + static_cast<std::size_t>(i)],
                  file_[entries + 8 + static_cast<std::size_t>(i)]);
    }
    EXPECT_THROW(readHelpFile(file_), std::runtime_error);
}

TEST_F(ReaderRejectsDamageTest, BrokenRecordChain) {
    const std::size_t firstRecord = fileStart("|TOPIC") + 9 + 12;
    put32(firstRecord + 12, get32(firstRecord + 12) + 1);
    EXPECT_THROW(readHelpFile(file_), std::runtime_error);
}

TEST_F(ReaderRejectsDamageTest, ChainWithoutEnd) {
    // Let the last record point back to the first.
    std::size_t at = fileStart("|TOPIC") + 9 + 12;
    while (get32(at + 12) != 0xFFFFFFFF) {
        at = fileStart("|TOPIC") + 9 + get32(at + 12);
    }
    put32(at + 12, 12);
    EXPECT_THROW(readHelpFile(file_), std::runtime_error);
}

TEST_F(ReaderRejectsDamageTest, WrongTextLength) {
    // The second record is the first text record; its cu16 topic length follows a 2-byte cs32.
    const std::size_t topic = fileStart("|TOPIC") + 9;
    const std::size_t second = topic + get32(topic + 12 + 12);
    file_[second + 21 + 2] = static_cast<std::uint8_t>(file_[second + 21 + 2] + 2);
    EXPECT_THROW(readHelpFile(file_), std::runtime_error);
}

TEST_F(ReaderRejectsDamageTest, WrongCharset) {
    const std::size_t system = fileStart("|SYSTEM") + 9;
    const std::size_t size = get32(fileStart("|SYSTEM") + 4);
    // The charset record is the last one; its value is its last two bytes.
    ASSERT_EQ(file_[system + size - 2], 128);
    file_[system + size - 2] = 0;
    EXPECT_THROW(readHelpFile(file_), std::runtime_error);
}

TEST_F(ReaderRejectsDamageTest, DirtyBlockPadding) {
    const std::size_t topic = fileStart("|TOPIC") + 9;
    file_[topic + 4095] = 1;
    EXPECT_THROW(readHelpFile(file_), std::runtime_error);
}

// ---------------------------------------------------------------------------------------------
// The project's help text

std::string projectHelpSource() {
    std::string path = __FILE__;
    path = path.substr(0, path.find_last_of("/\\") + 1) + "../../resources/help/quor6_help.txt";
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ProjectHelpTest, CompilesIntoAFileTheReaderAccepts) {
    const std::string source = projectHelpSource();
    ASSERT_FALSE(source.empty()) << "resources/help/quor6_help.txt not found from " << __FILE__;
    const ParsedHelp help = readHelpFile(compileHelp(source));
    EXPECT_EQ(help.title, cp932("quor6 ヘルプ"));

    std::vector<std::string> titles;
    for (const DecodedTopic& topic : help.topics) {
        titles.push_back(topic.title);
    }
    for (const char* required :
         {"目次", "ゲームのルール", "数字の変え方", "判定の見方", "メニュー", "履歴"}) {
        EXPECT_NE(std::find(titles.begin(), titles.end(), cp932(required)), titles.end())
            << required;
    }
    EXPECT_EQ(titles.front(), cp932("目次"));
    EXPECT_EQ(help.contents, std::optional<std::uint32_t>(help.topics.front().offset));

    // Every jump leads to a topic of the file.
    std::set<std::int32_t> hashes;
    for (const auto& entry : help.contexts) {
        hashes.insert(entry.first);
    }
    std::size_t links = 0;
    for (const DecodedTopic& topic : help.topics) {
        for (const DecodedParagraph& paragraph : topic.paragraphs) {
            for (const DecodedLink& link : paragraph.links) {
                EXPECT_EQ(hashes.count(link.hash), 1u);
                ++links;
            }
        }
    }
    EXPECT_GE(links, 6u);
}

}  // namespace
}  // namespace quor6::help
