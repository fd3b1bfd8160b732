#include "help_reader.h"

#include "cp932.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <stdexcept>

namespace quor6::help::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Names = std::map<std::uint32_t, std::string>;  // context names by topic offset or by hash
constexpr std::uint32_t kNone = 0xFFFFFFFFu;
constexpr std::size_t kBlock = 4096;

void require(bool holds, const std::string& what) {
    if (!holds)
        throw std::runtime_error(what);
}

std::string lookUp(const Names& names, std::uint32_t key) {
    return names.count(key) ? names.at(key) : "?";
}

// A bounds-checked little-endian window on the file.
struct Span {
    const Bytes& file;
    std::size_t begin, size;
    Span sub(std::size_t at, std::size_t length) const {
        require(at + length <= size, "a structure overruns");
        return {file, begin + at, length};
    }
    std::uint32_t num(std::size_t at, std::size_t bytes) const {
        const Span field = sub(at, bytes);
        std::uint32_t value = 0;
        for (std::size_t i = bytes; i-- > 0;)
            value = value << 8 | file[field.begin + i];
        return value;
    }
    std::uint8_t u8(std::size_t at) const { return static_cast<std::uint8_t>(num(at, 1)); }
    std::uint16_t u16(std::size_t at) const { return static_cast<std::uint16_t>(num(at, 2)); }
    std::uint32_t u32(std::size_t at) const { return num(at, 4); }
    std::string cString(std::size_t at) const {
        std::string text;
        for (char c; (c = static_cast<char>(u8(at + text.size()))) != 0;)
            text += c;
        return text;
    }
    // The compressed integers of text records: a set low bit in the first byte doubles the
    // size; the signed forms carry a bias of half their range.
    long compressed(std::size_t& at, std::size_t shortBytes, long bias) const {
        const std::size_t bytes = u8(at) & 1 ? 2 * shortBytes : shortBytes;
        const long value = static_cast<long>(num(at, bytes) >> 1);
        at += bytes;
        return value - (bytes > shortBytes ? bias << (8 * shortBytes) : bias);
    }
};

// A B+ tree of one root leaf; entry(page, at) reads one entry and returns its length.
template <typename Entry>
void readTree(const Span& tree, std::uint16_t pageSize, const Entry& entry) {
    const Span page = tree.sub(38, pageSize);
    const auto count = static_cast<std::int16_t>(page.u16(2));
    require(tree.u16(0) == 0x293B && tree.u16(4) == pageSize && tree.size == 38u + pageSize &&
                tree.u16(26) == 0 && tree.u16(30) == 1 && tree.u16(32) == 1 && count > 0 &&
                static_cast<std::uint32_t>(count) == tree.u32(34) && page.u32(4) == kNone,
            "B+ tree header, entry count or leaf links");
    std::size_t at = 8;
    for (int i = 0; i < count; ++i)
        at += entry(page, at);
    require(page.u16(0) == pageSize - at, "B+ tree free bytes");
}

// Shows one display-text record. `look` is the open paragraph's font and measures, empty between
// paragraphs.
void readText(const Span& record, std::size_t data1End, std::size_t fonts, const Names& jumps,
              std::string& look, std::string& shown) {
    const Span strings = record.sub(data1End, record.size - data1End);
    std::size_t at = 21;
    // Both lengths are the stored text's: there is no phrase compression to undo.
    const auto stored = static_cast<long>(strings.size);
    require(record.compressed(at, 2, 0x4000) == stored && record.compressed(at, 1, 0) == stored &&
                record.u32(at) == 0x8000 && (record.u16(at + 4) & ~0x0076u) == 0,
            "text record lengths, fixed bytes or paragraph bits the viewer does not know");
    const std::uint16_t bits = record.u16(at + 4);
    at += 6;
    std::string measures;
    for (std::uint16_t bit = 2; bit <= 0x40; bit = static_cast<std::uint16_t>(bit << 1))
        if (bits & bit)
            measures +=
                " " + std::to_string(bit) + "=" + std::to_string(record.compressed(at, 1, 0x40));
    require(record.u8(at) == 0x80 && record.u16(at + 1) < fonts && strings.u8(0) == 0,
            "a record starts without a font");
    const std::string recordLook = std::to_string(record.u16(at + 1)) + measures;
    require(look.empty() || look == recordLook, "a continued paragraph changes its look");
    shown += look.empty() ? recordLook + ":" : "\n>";
    look = recordLook;
    at += 3;
    std::size_t text = 1;
    std::string jump;  // the name of the open jump's topic
    for (std::uint8_t code = 0; code != 0xFF;) {
        // Each record is drawn on its own: no character may be split between two.
        const std::string piece = strings.cString(text);
        std::size_t walked = 0;
        while (walked < piece.size())
            walked += cp932CharLength(static_cast<unsigned char>(piece[walked]));
        require(walked == piece.size(), "a character split between records");
        shown += piece;
        text += piece.size() + 1;
        code = at < data1End ? record.u8(at++) : 0;
        require(!look.empty() || code == 0xFF, "a record goes on after its paragraph's end");
        if (code == 0xE3 && jump.empty()) {
            shown += "[";
            jump = lookUp(jumps, record.u32(at));
            at += 4;
        } else if (code == 0x89 && !jump.empty()) {
            shown += "](" + jump + ")";
            jump.clear();
        } else if (code == 0x82) {
            shown += "\n";
            look.clear();
        } else {
            require(code == 0xFF, "unknown or unpaired formatting command");
        }
    }
    require(at == data1End && text == strings.size && jump.empty(), "strings or commands unpaired");
}

// Shows the topics of |TOPIC, each context's offset that of one of them.
void readTopics(const Span& topic, std::size_t fonts, const Names& of, const Names& jumps,
                std::string& shown) {
    const std::size_t blocks = topic.size / kBlock;
    require(blocks > 0 && topic.size % kBlock == 0, "|TOPIC is not whole blocks");
    std::vector<std::size_t> characters(blocks), dataEnd(blocks);  // per block
    std::vector<std::uint32_t> offsets, headers, firstText;
    std::vector<std::array<std::uint32_t, 5>> fields;  // back, forward, number, scroll, next
    std::uint32_t previous = kNone;
    std::size_t currentBlock = ~std::size_t{0};
    std::string look;  // of the open paragraph
    for (std::uint32_t position = 12; position != kNone;) {
        const std::size_t block = position / 0x4000, offset = position % 0x4000 - 12;
        const std::size_t at = block * kBlock + 12 + offset;
        // A chain that leaves its block or |TOPIC fails the record's bounds below.
        require(previous == kNone || position > previous, "the record chain goes back");
        const Span record = topic.sub(at, topic.u32(at));
        const std::uint32_t data1End = record.u32(16);
        require(record.size >= 21 && offset + record.size <= kBlock - 12 && data1End >= 21 &&
                    data1End <= record.size && record.u32(4) == record.size - data1End &&
                    record.u32(8) == previous,
                "record size or link fields");
        if (block != currentBlock) {  // its first record: check the block header
            require(block == currentBlock + 1 && topic.u32(block * kBlock) == previous &&
                        topic.u32(block * kBlock + 4) == position &&
                        topic.u32(block * kBlock + 8) == (headers.empty() ? kNone : headers.back()),
                    "topic block header " + std::to_string(block));
            currentBlock = block;
        }
        dataEnd[block] = offset + record.size;
        if (record.u8(20) == 0x02 && look.empty() && data1End == 21 + 28) {
            offsets.push_back(static_cast<std::uint32_t>(block * 0x8000 + characters[block]));
            shown += "# " + record.cString(data1End) + " {" + lookUp(of, offsets.back()) + "}\n";
            fields.push_back(
                {record.u32(25), record.u32(29), record.u32(33), record.u32(41), record.u32(45)});
            headers.push_back(position);
            firstText.push_back(kNone);
        } else {
            require(record.u8(20) == 0x20 && !offsets.empty(), "a record out of place");
            firstText.back() = std::min(firstText.back(), position);
            readText(record, data1End, fonts, jumps, look, shown);
            characters[block] += record.size - data1End;
        }
        previous = position;
        position = record.u32(12);
    }
    require(look.empty() && currentBlock + 1 == blocks, "an unended paragraph or an empty block");
    for (std::size_t block = 0; block < blocks; ++block)
        for (std::size_t i = 12 + dataEnd[block]; i < kBlock; ++i)
            require(topic.u8(block * kBlock + i) == 0, "topic block not padded with zeros");
    for (std::size_t t = 0; t < offsets.size(); ++t) {
        const bool last = t + 1 == offsets.size();
        const std::array<std::uint32_t, 5> expected = {
            t > 0 ? offsets[t - 1] : kNone, last ? kNone : offsets[t + 1],
            static_cast<std::uint32_t>(t), firstText[t], last ? kNone : headers[t + 1]};
        require(fields[t] == expected && (t == 0 || offsets[t] != offsets[t - 1]),
                "topic header fields of topic " + std::to_string(t));
    }
    for (const auto& [offset, name] : of)
        require(std::count(offsets.begin(), offsets.end(), offset) == 1, "context opens no topic");
}

}  // namespace

std::string readHelpFile(const Bytes& file, const std::map<std::int32_t, std::string>& names) {
    const Span whole{file, 0, file.size()};
    require(whole.u32(0) == 0x00035F3F && whole.u32(8) == kNone && whole.u32(12) == file.size(),
            "file header");
    // An internal file: the viewer takes start + reserved as its end, so reserved is used + 9.
    const auto internalFile = [&](std::uint32_t at) {
        require(whole.u32(at) == whole.u32(at + 4) + 9, "internal file with slack");
        return whole.sub(at + 9, whole.u32(at + 4));
    };
    std::map<std::string, std::uint32_t> starts;
    readTree(internalFile(whole.u32(4)), 1024, [&](const Span& page, std::size_t at) {
        const std::string name = page.cString(at);
        require(starts.empty() || starts.rbegin()->first < name, "the directory is not sorted");
        starts[name] = page.u32(at + name.size() + 1);
        return name.size() + 5;
    });
    const auto get = [&](const std::string& name) {
        require(starts.count(name) == 1, "no internal file " + name);
        return internalFile(starts[name]);
    };
    require(starts.size() == 6, "internal files the viewer does not know");
    std::map<std::int32_t, std::uint32_t> contexts;  // hash -> topic offset
    Names of, jumps;  // the names of the topic at an offset, and of the topic a hash opens
    readTree(get("|CONTEXT"), 2048, [&](const Span& page, std::size_t at) {
        const auto hash = static_cast<std::int32_t>(page.u32(at));
        require(contexts.empty() || contexts.rbegin()->first < hash, "|CONTEXT is not sorted");
        contexts[hash] = page.u32(at + 4);
        std::string& topicNames = of[contexts[hash]];
        topicNames += (topicNames.empty() ? "" : " ") + (names.count(hash) ? names.at(hash) : "?");
        return std::size_t{8};
    });
    for (const auto& [hash, offset] : contexts)
        jumps[static_cast<std::uint32_t>(hash)] = of[offset];
    const Span system = get("|SYSTEM");
    // No generation date: the same source gives the same file.
    require(system.u16(0) == 0x036C && system.u16(4) == 1 && system.u32(6) == 0 && !system.u16(10),
            "|SYSTEM magic, version, date or compressed topics");
    std::string shown = "WinHelp 1." + std::to_string(system.u16(2));
    for (std::size_t at = 12; at < system.size; at += 4 + system.u16(at + 2)) {
        const std::uint16_t type = system.u16(at);
        const Span data = system.sub(at + 4, system.u16(at + 2));
        const std::string text = type == 1 || type == 4 ? data.cString(0) : "";
        require(data.size == (type == 3 ? 4 : type == 11 ? 2 : text.size() + 1), "|SYSTEM record");
        shown += type == 1    ? "; title " + text
                 : type == 3  ? "; contents {" + lookUp(of, data.u32(0)) + "}"
                 : type == 4  ? "; macro " + text
                 : type == 11 ? "; charset " + std::to_string(data.u16(0))
                              : "; record " + std::to_string(type);
    }
    shown += "; blocks " + std::to_string(get("|TOPIC").size / kBlock) + "\n";
    const Span fonts = get("|FONT");
    const std::uint16_t faces = fonts.u16(0), descriptorsAt = fonts.u16(6);
    require(faces > 0 && fonts.u16(4) == 8 && descriptorsAt > 8 && (descriptorsAt - 8) % faces == 0,
            "|FONT face names");
    require(fonts.size == descriptorsAt + 11u * fonts.u16(2), "|FONT descriptors");
    for (std::size_t at = descriptorsAt; at < fonts.size; at += 11) {
        require(fonts.u16(at + 3) < faces, "|FONT face number");
        char line[32];
        std::snprintf(line, sizeof line, "font %d %d %02X%02X%02X\n", fonts.u8(at),
                      fonts.u8(at + 1), fonts.u8(at + 5), fonts.u8(at + 6), fonts.u8(at + 7));
        shown += line;
    }
    readTopics(get("|TOPIC"), fonts.u16(2), of, jumps, shown);
    const Span keywordData = get("|KWDATA");
    std::size_t listed = 0;
    readTree(get("|KWBTREE"), 2048, [&](const Span& page, std::size_t at) {
        const std::string keyword = page.cString(at);
        shown += "index: " + keyword;
        const std::size_t list = page.u32(at + keyword.size() + 3);  // in |KWDATA
        for (std::size_t i = 0; i < page.u16(at + keyword.size() + 1); ++i, ++listed)
            shown += " {" + lookUp(of, keywordData.u32(list + 4 * i)) + "}";
        shown += "\n";
        return keyword.size() + 7;
    });
    require(keywordData.size == 4 * listed, "|KWDATA holds more than the index lists");
    return shown;
}

}  // namespace quor6::help::test
