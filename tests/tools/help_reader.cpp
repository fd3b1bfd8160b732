#include "help_reader.h"

#include <functional>
#include <optional>
#include <set>
#include <stdexcept>

namespace quor6::help::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint32_t kNone = 0xFFFFFFFFu;
constexpr std::size_t kBlock = 4096;

void require(bool holds, const std::string& what) {
    if (!holds)
        throw std::runtime_error(what);
}

// A bounds-checked little-endian window on the file.
struct Span {
    const Bytes& file;
    std::size_t begin, size;
    Span sub(std::size_t at, std::size_t length) const {
        require(at + length <= size && begin + size <= file.size(), "a structure overruns");
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
void readTree(const Span& tree, std::uint16_t pageSize,
              const std::function<std::size_t(const Span&, std::size_t)>& entry) {
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

// Appends one display-text record to its paragraph; returns whether it ends the paragraph.
bool readText(const Span& record, std::size_t data1End, std::size_t fonts, ReadParagraph& out) {
    const Span strings = record.sub(data1End, record.size - data1End);
    std::size_t at = 21;
    // Both lengths are the stored text's: there is no phrase compression to undo.
    const auto stored = static_cast<long>(strings.size);
    require(record.compressed(at, 2, 0x4000) == stored && record.compressed(at, 1, 0) == stored &&
                record.u32(at) == 0x8000 && (record.u16(at + 4) & ~0x0076u) == 0,
            "text record lengths, fixed bytes or paragraph bits the viewer does not know");
    const std::uint16_t bits = record.u16(at + 4);
    at += 6;
    std::map<std::uint16_t, std::int16_t> measures;
    for (std::uint16_t bit = 2; bit <= 0x40; bit = static_cast<std::uint16_t>(bit << 1)) {
        if (bits & bit)
            measures[bit] = static_cast<std::int16_t>(record.compressed(at, 1, 0x40));
    }
    const bool continued = !out.recordEnds.empty();
    require(!continued || measures == out.measures, "a continued paragraph changes format");
    out.measures = measures;
    std::size_t text = 0;
    std::optional<ReadLink> link;
    bool ended = false;
    for (std::size_t command = 0;; ++command) {
        out.text += strings.cString(text);
        text += strings.cString(text).size() + 1;
        const std::uint8_t code = at < data1End ? record.u8(at++) : 0;
        require((command == 0) == (code == 0x80) && (!ended || code == 0xFF),
                "a record starts without a font or goes on after its paragraph's end");
        if (code == 0xFF) {
            break;
        } else if (code == 0x80) {
            require(record.u16(at) < fonts && (!continued || record.u16(at) == out.font), "font");
            out.font = record.u16(at);
            at += 2;
        } else if (code == 0x82) {
            ended = true;
        } else if (code == 0xE3 && !link) {
            link = ReadLink{static_cast<std::int32_t>(record.u32(at)), out.text.size(), 0};
            at += 4;
        } else {
            require(code == 0x89 && link, "unknown or unpaired formatting command");
            link->end = out.text.size();
            // A hotspot cut at a record boundary goes on in the next record.
            if (continued && !out.links.empty() && out.links.back().end == link->begin &&
                link->begin == out.recordEnds.back() && out.links.back().hash == link->hash) {
                out.links.back().end = link->end;
            } else {
                out.links.push_back(*link);
            }
            link.reset();
        }
    }
    require(at == data1End && text == strings.size && !link, "strings and commands unpaired");
    out.recordEnds.push_back(out.text.size());
    return ended;
}

void readTopics(const Span& topic, ReadHelp& help) {
    const std::size_t blocks = help.topicBlocks = topic.size / kBlock;
    require(blocks > 0 && topic.size % kBlock == 0, "|TOPIC is not whole blocks");
    std::vector<std::size_t> characters(blocks), dataEnd(blocks);  // per block
    std::vector<std::uint32_t> headers, firstText;
    std::vector<std::array<std::uint32_t, 5>> fields;  // back, forward, number, scroll, next
    std::uint32_t previous = kNone;
    std::size_t currentBlock = ~std::size_t{0};
    bool open = false;
    std::set<std::uint32_t> seen;
    for (std::uint32_t position = 12; position != kNone;) {
        const std::size_t block = position / 0x4000, offset = position % 0x4000 - 12;
        const std::size_t at = block * kBlock + 12 + offset;
        require(seen.insert(position).second && block < blocks && offset < kBlock - 12,
                "the record chain loops or leaves |TOPIC");
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
        if (record.u8(20) == 0x02 && !open && data1End == 21 + 28) {
            const auto offsetOf = static_cast<std::uint32_t>(block * 0x8000 + characters[block]);
            help.topics.push_back({record.cString(data1End), offsetOf, {}});
            fields.push_back(
                {record.u32(25), record.u32(29), record.u32(33), record.u32(41), record.u32(45)});
            headers.push_back(position);
            firstText.push_back(kNone);
        } else {
            require(record.u8(20) == 0x20 && !help.topics.empty(), "a record out of place");
            auto& paragraphs = help.topics.back().paragraphs;
            if (!open) {
                paragraphs.emplace_back();
                firstText.back() = std::min(firstText.back(), position);
            }
            open = !readText(record, data1End, help.fonts.size(), paragraphs.back());
            characters[block] += record.size - data1End;
        }
        previous = position;
        position = record.u32(12);
    }
    require(!open && currentBlock + 1 == blocks, "an unended paragraph or an empty block");
    for (std::size_t block = 0; block < blocks; ++block) {
        for (std::size_t i = 12 + dataEnd[block]; i < kBlock; ++i)
            require(topic.u8(block * kBlock + i) == 0, "topic block not padded with zeros");
    }
    for (std::size_t t = 0; t < help.topics.size(); ++t) {
        const bool last = t + 1 == help.topics.size();
        const std::array<std::uint32_t, 5> expected = {
            t > 0 ? help.topics[t - 1].offset : kNone, last ? kNone : help.topics[t + 1].offset,
            static_cast<std::uint32_t>(t), firstText[t], last ? kNone : headers[t + 1]};
        require(
            fields[t] == expected && (t == 0 || help.topics[t].offset != help.topics[t - 1].offset),
            "topic header fields of topic " + std::to_string(t));
    }
}

}  // namespace

ReadHelp readHelpFile(const Bytes& file) {
    const Span whole{file, 0, file.size()};
    require(whole.u32(0) == 0x00035F3F && whole.u32(8) == kNone && whole.u32(12) == file.size(),
            "file header");
    // An internal file: the viewer takes start + reserved as its end, so reserved is used + 9.
    const auto internalFile = [&](std::uint32_t at) {
        require(whole.u32(at) == whole.u32(at + 4) + 9, "internal file with slack");
        return whole.sub(at + 9, whole.u32(at + 4));
    };
    std::map<std::string, std::uint32_t> starts;
    ReadHelp help;
    readTree(internalFile(whole.u32(4)), 1024, [&](const Span& page, std::size_t at) {
        const std::string name = page.cString(at);
        require(help.files.empty() || help.files.back() < name, "the directory is not sorted");
        help.files.push_back(name);
        starts[name] = page.u32(at + name.size() + 1);
        return name.size() + 5;
    });
    const auto get = [&](const std::string& name) {
        require(starts.count(name) == 1, "no internal file " + name);
        return internalFile(starts[name]);
    };
    const Span system = get("|SYSTEM");
    require(system.u16(0) == 0x036C && system.u16(4) == 1 && system.u16(10) == 0,
            "|SYSTEM magic, version or compressed topics");
    help.minorVersion = system.u16(2);
    std::set<std::uint16_t> seen;  // every record once, but the macros
    for (std::size_t at = 12; at < system.size; at += 4 + system.u16(at + 2)) {
        const std::uint16_t type = system.u16(at);
        const Span data = system.sub(at + 4, system.u16(at + 2));
        const bool isText = type == 1 || type == 4;
        const std::string text = isText ? data.cString(0) : "";
        require(data.size == (isText      ? text.size() + 1
                              : type == 3 ? 4u
                                          : 2u) &&
                    (type == 4 || seen.insert(type).second),
                "|SYSTEM record " + std::to_string(type));
        if (type == 4)
            help.macros.push_back(text);
        help.title = type == 1 ? text : help.title;
        help.contents = type == 3 ? data.u32(0) : help.contents;
        help.charset = type == 11 ? data.u16(0) : help.charset;
    }
    require(seen == std::set<std::uint16_t>{1, 3, 11}, "|SYSTEM lacks title, contents or charset");
    const Span fonts = get("|FONT");
    const std::uint16_t faces = fonts.u16(0), descriptorsAt = fonts.u16(6);
    require(faces > 0 && fonts.u16(4) == 8 && descriptorsAt > 8 &&
                (descriptorsAt - 8) % faces == 0 &&
                fonts.size == descriptorsAt + 11u * fonts.u16(2),
            "|FONT tables");
    for (std::size_t at = descriptorsAt; at < fonts.size; at += 11) {
        require(fonts.u16(at + 3) < faces, "|FONT face number");
        help.fonts.push_back(
            {fonts.u8(at), fonts.u8(at + 1), fonts.u8(at + 5), fonts.u8(at + 6), fonts.u8(at + 7)});
    }
    readTree(get("|CONTEXT"), 2048, [&](const Span& page, std::size_t at) {
        const auto hash = static_cast<std::int32_t>(page.u32(at));
        require(help.contexts.empty() || help.contexts.rbegin()->first < hash,
                "|CONTEXT is not sorted by signed hash");
        help.contexts[hash] = page.u32(at + 4);
        return std::size_t{8};
    });
    const Span keywordData = get("|KWDATA");
    std::size_t listed = 0;
    readTree(get("|KWBTREE"), 2048, [&](const Span& page, std::size_t at) {
        const std::string keyword = page.cString(at);
        auto& offsets = help.keywords.emplace_back(keyword, std::vector<std::uint32_t>{}).second;
        for (std::size_t i = 0; i < page.u16(at + keyword.size() + 1); ++i, ++listed)
            offsets.push_back(keywordData.u32(page.u32(at + keyword.size() + 3) + 4 * i));
        return keyword.size() + 7;
    });
    require(keywordData.size == 4 * listed, "|KWDATA holds more than the index lists");
    readTopics(get("|TOPIC"), help);
    return help;
}

std::string shownHelp(const ReadHelp& help, const std::map<std::int32_t, std::string>& names) {
    std::map<std::uint32_t, std::string> opens;  // topic offset -> the names that open it
    for (const auto& [hash, offset] : help.contexts) {
        opens[offset] += (opens[offset].empty() ? "" : " ") +
                         (names.count(hash) ? names.at(hash) : std::string("?"));
    }
    const auto reach = [&](std::uint32_t offset) {
        return opens.count(offset) ? opens.at(offset) : std::string("?");
    };
    std::string shown;
    for (const ReadTopic& topic : help.topics) {
        shown += "# " + topic.title + " {" + reach(topic.offset) + "}\n";
        for (const ReadParagraph& paragraph : topic.paragraphs) {
            shown += std::to_string(paragraph.font) + ":";
            std::size_t at = 0;
            for (const ReadLink& link : paragraph.links) {
                const auto target = help.contexts.find(link.hash);
                shown += paragraph.text.substr(at, link.begin - at) + "[" +
                         paragraph.text.substr(link.begin, link.end - link.begin) + "](" +
                         (target == help.contexts.end() ? "?" : reach(target->second)) + ")";
                at = link.end;
            }
            shown += paragraph.text.substr(at) + "\n";
        }
    }
    for (const auto& [keyword, offsets] : help.keywords) {
        shown += "index: " + keyword;
        for (const std::uint32_t offset : offsets)
            shown += " {" + reach(offset) + "}";
        shown += "\n";
    }
    return shown;
}

}  // namespace quor6::help::test
