#include "help_reader.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <stdexcept>

namespace quor6::help::test {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFFu;
constexpr std::size_t kBlock = 4096;
constexpr std::size_t kBlockData = 4084;

[[noreturn]] void fault(const std::string& what) {
    throw std::runtime_error(what);
}

// A bounds-checked little-endian window on the file, read at offsets or in sequence.
class Span {
  public:
    Span(const Bytes& file, std::size_t begin, std::size_t end) : file_(&file), begin_(begin) {
        if (begin > end || end > file.size()) {
            fault("a structure lies outside the file");
        }
        size_ = end - begin;
    }
    std::size_t size() const { return size_; }
    Span sub(std::size_t at, std::size_t length) const {
        need(at, length);
        return Span(*file_, begin_ + at, begin_ + at + length);
    }
    std::uint32_t num(std::size_t at, int bytes) const {
        need(at, static_cast<std::size_t>(bytes));
        std::uint32_t value = 0;
        for (int i = bytes - 1; i >= 0; --i) {
            value = value << 8 | (*file_)[begin_ + at + static_cast<std::size_t>(i)];
        }
        return value;
    }
    std::uint8_t u8(std::size_t at) const { return static_cast<std::uint8_t>(num(at, 1)); }
    std::uint16_t u16(std::size_t at) const { return static_cast<std::uint16_t>(num(at, 2)); }
    std::uint32_t u32(std::size_t at) const { return num(at, 4); }
    std::string cString(std::size_t at) const {
        std::string text;
        for (char c; (c = static_cast<char>(u8(at + text.size()))) != 0;) {
            text += c;
        }
        return text;
    }
    // The compressed integers of text records: the low bit of the first byte picks the long
    // form of twice the size; signed forms are stored with a bias of half their range.
    long compressed(std::size_t& at, int shortBytes, long bias) const {
        const int bytes = (u8(at) & 1) ? shortBytes * 2 : shortBytes;
        const long raw = static_cast<long>(num(at, bytes) >> 1);
        at += static_cast<std::size_t>(bytes);
        return raw - (bias == 0 ? 0 : (bytes == shortBytes ? bias : bias << (8 * shortBytes)));
    }

  private:
    void need(std::size_t at, std::size_t length) const {
        if (at + length > size_) {
            fault("a read runs past the end of its structure");
        }
    }
    const Bytes* file_;
    std::size_t begin_;
    std::size_t size_;
};

// A B+ tree of one root leaf; entry(page, at) reads one entry and returns its length.
void readTree(const Span& tree, std::uint16_t pageSize,
              const std::function<std::size_t(const Span&, std::size_t)>& entry) {
    if (tree.u16(0) != 0x293B || tree.u16(4) != pageSize || tree.size() != 38u + pageSize) {
        fault("B+ tree magic or page size");
    }
    if (tree.u16(26) != 0 || tree.u16(30) != 1 || tree.u16(32) != 1) {
        fault("B+ tree is not one root leaf");
    }
    const Span page = tree.sub(38, pageSize);
    const auto count = static_cast<std::int16_t>(page.u16(2));
    if (count <= 0 || static_cast<std::uint32_t>(count) != tree.u32(34) || page.u32(4) != kNone) {
        fault("B+ tree entry count or leaf links");
    }
    std::size_t at = 8;
    for (int i = 0; i < count; ++i) {
        at += entry(page, at);
    }
    if (page.u16(0) != pageSize - at) {
        fault("B+ tree free bytes");
    }
}

Span internalFile(const Bytes& file, std::uint32_t at) {
    const Span header(file, at, at + 9);
    if (header.u32(0) != header.u32(4) + 9) {
        fault("an internal file's reserved size is not its used size + 9");
    }
    return Span(file, at + 9, at + header.u32(0));
}

void readSystem(const Span& system, ReadHelp& help) {
    if (system.u16(0) != 0x036C || system.u16(10) != 0) {
        fault("|SYSTEM magic, or compressed topics");
    }
    help.minorVersion = system.u16(2);
    help.majorVersion = system.u16(4);
    std::set<std::uint16_t> seen;
    for (std::size_t at = 12; at < system.size();) {
        const std::uint16_t type = system.u16(at);
        const Span data = system.sub(at + 4, system.u16(at + 2));
        const bool text = type == 1 || type == 4;
        if ((text && data.cString(0).size() + 1 != data.size()) ||
            (type == 3 && data.size() != 4) || (type == 11 && data.size() != 2) ||
            (!text && type != 3 && type != 11) || (type != 4 && !seen.insert(type).second)) {
            fault("|SYSTEM record " + std::to_string(type));
        }
        if (type == 1) {
            help.title = data.cString(0);
        } else if (type == 3) {
            help.contents = data.u32(0);
        } else if (type == 4) {
            help.macros.push_back(data.cString(0));
        } else {
            help.charset = data.u16(0);
        }
        at += 4 + data.size();
    }
    if (seen.size() != 3) {
        fault("|SYSTEM lacks its title, contents or charset");
    }
}

void readFonts(const Span& fonts, ReadHelp& help) {
    const std::uint16_t faces = fonts.u16(0);
    const std::uint16_t descriptorsAt = fonts.u16(6);
    if (faces == 0 || fonts.u16(4) != 8 || descriptorsAt <= 8 || (descriptorsAt - 8) % faces ||
        fonts.size() != descriptorsAt + 11u * fonts.u16(2)) {
        fault("|FONT tables");
    }
    for (std::size_t at = descriptorsAt; at < fonts.size(); at += 11) {
        if (fonts.u16(at + 3) >= faces) {
            fault("|FONT face number");
        }
        help.fonts.push_back(ReadFont{fonts.u8(at),
                                      fonts.u8(at + 1),
                                      {fonts.u8(at + 5), fonts.u8(at + 6), fonts.u8(at + 7)}});
    }
}

// One display-text record appended to its paragraph; returns whether it ends the paragraph.
bool readText(const Span& record, std::size_t data1End, std::size_t fontCount,
              ReadParagraph& paragraph) {
    const Span strings = record.sub(data1End, record.size() - data1End);
    std::size_t at = 21;
    // Both lengths equal the stored text: no phrase compression to undo.
    if (record.compressed(at, 2, 0x4000) != static_cast<long>(strings.size()) ||
        record.compressed(at, 1, 0) != static_cast<long>(strings.size())) {
        fault("text record lengths");
    }
    if (record.u8(at) != 0x00 || record.u8(at + 1) != 0x80 || record.u16(at + 2) != 0) {
        fault("text record fixed bytes");
    }
    const std::uint16_t bits = record.u16(at + 4);
    at += 6;
    if (bits & ~0x0076u) {
        fault("paragraph bits the viewer does not support");
    }
    std::map<std::uint16_t, std::int16_t> measures;
    for (std::uint16_t bit = 2; bit <= 0x40; bit = static_cast<std::uint16_t>(bit << 1)) {
        if (bits & bit) {
            measures[bit] = static_cast<std::int16_t>(record.compressed(at, 1, 0x40));
        }
    }
    const bool continued = !paragraph.recordEnds.empty();
    if (continued && measures != paragraph.measures) {
        fault("a continued paragraph changes its format");
    }
    paragraph.measures = measures;
    std::size_t text = 0;
    std::optional<ReadLink> link;
    bool ended = false;
    for (std::size_t command = 0;; ++command) {
        const std::string piece = strings.cString(text);
        text += piece.size() + 1;
        paragraph.text += piece;
        const std::uint8_t code = at < data1End ? record.u8(at++) : 0;
        if ((command == 0) != (code == 0x80) || (ended && code != 0xFF)) {
            fault("a record starts without a font or goes on after the paragraph end");
        }
        if (code == 0xFF) {
            break;
        } else if (code == 0x80) {
            if (continued && record.u16(at) != paragraph.font) {
                fault("a continued paragraph changes its font");
            }
            paragraph.font = record.u16(at);
            at += 2;
            if (paragraph.font >= fontCount) {
                fault("font number out of range");
            }
        } else if (code == 0x82) {
            ended = true;
        } else if (code == 0xE3 && !link) {
            link = ReadLink{static_cast<std::int32_t>(record.u32(at)), paragraph.text.size(), 0};
            at += 4;
        } else if (code == 0x89 && link) {
            link->end = paragraph.text.size();
            auto& links = paragraph.links;
            // A hotspot cut at a record boundary goes on in the next record.
            if (continued && !links.empty() && links.back().end == paragraph.recordEnds.back() &&
                link->begin == links.back().end && link->hash == links.back().hash) {
                links.back().end = link->end;
            } else {
                links.push_back(*link);
            }
            link.reset();
        } else {
            fault("unexpected or unpaired formatting command");
        }
    }
    if (at != data1End || text != strings.size() || link) {
        fault("strings and commands do not pair up");
    }
    paragraph.recordEnds.push_back(paragraph.text.size());
    return ended;
}

void readTopics(const Span& topic, ReadHelp& help) {
    if (topic.size() == 0 || topic.size() % kBlock) {
        fault("|TOPIC is not whole 4096-byte blocks");
    }
    help.topicBlocks = topic.size() / kBlock;
    std::vector<std::size_t> characters(help.topicBlocks);  // per block, for topic offsets
    std::vector<std::size_t> blockEnds(help.topicBlocks);   // end of the last record's data
    std::vector<std::uint32_t> headers;                     // their positions
    std::vector<std::uint32_t> lastBefore(help.topicBlocks + 1, kNone);
    std::vector<std::uint32_t> headerBefore(help.topicBlocks + 1, kNone);
    std::vector<std::uint32_t> firstIn(help.topicBlocks, kNone);
    std::vector<std::array<std::uint32_t, 5>> fields;  // back, forward, number, scroll, next
    std::vector<std::uint32_t> firstText;
    std::uint32_t previous = kNone;
    bool open = false;
    std::set<std::uint32_t> seen;
    for (std::uint32_t position = 12; position != kNone;) {
        const std::size_t block = position / 0x4000;
        const std::size_t offset = position % 0x4000 - 12;
        if (!seen.insert(position).second || block >= help.topicBlocks || offset >= kBlockData) {
            fault("the record chain loops or leaves |TOPIC");
        }
        const Span record =
            topic.sub(block * kBlock + 12 + offset, topic.u32(block * kBlock + 12 + offset));
        const std::uint32_t data1End = record.u32(16);
        if (record.size() < 21 || offset + record.size() > kBlockData || data1End < 21 ||
            data1End > record.size() || record.u32(4) != record.size() - data1End ||
            record.u32(8) != previous) {
            fault("record size or link fields");
        }
        for (std::size_t b = block + 1; b <= help.topicBlocks; ++b) {
            lastBefore[b] = position;
        }
        firstIn[block] = std::min(firstIn[block], position);
        blockEnds[block] = offset + record.size();
        if (record.u8(20) == 0x02 && !open && data1End == 21 + 28) {
            help.topics.push_back(
                ReadTopic{record.cString(data1End),
                          static_cast<std::uint32_t>(block * 0x8000 + characters[block]),
                          {}});
            fields.push_back(
                {record.u32(25), record.u32(29), record.u32(33), record.u32(41), record.u32(45)});
            headers.push_back(position);
            firstText.push_back(kNone);
            std::fill(headerBefore.begin() + static_cast<long>(block) + 1, headerBefore.end(),
                      position);
        } else if (record.u8(20) == 0x20 && !help.topics.empty()) {
            auto& paragraphs = help.topics.back().paragraphs;
            if (!open) {
                paragraphs.emplace_back();
                firstText.back() = std::min(firstText.back(), position);
            }
            open = !readText(record, data1End, help.fonts.size(), paragraphs.back());
            characters[block] += record.size() - data1End;
        } else {
            fault("a record out of place");
        }
        previous = position;
        position = record.u32(12);
    }
    if (open || help.topics.empty()) {
        fault("the last paragraph is not ended");
    }
    for (std::size_t block = 0; block < help.topicBlocks; ++block) {
        const std::size_t at = block * kBlock;
        if (firstIn[block] == kNone || topic.u32(at) != lastBefore[block] ||
            topic.u32(at + 4) != firstIn[block] || topic.u32(at + 8) != headerBefore[block]) {
            fault("topic block header " + std::to_string(block));
        }
        for (std::size_t i = 12 + blockEnds[block]; i < kBlock; ++i) {
            if (topic.u8(at + i) != 0) {
                fault("topic block not padded with zeros");
            }
        }
    }
    for (std::size_t t = 0; t < help.topics.size(); ++t) {
        const bool last = t + 1 == help.topics.size();
        const std::array<std::uint32_t, 5> expected = {
            t > 0 ? help.topics[t - 1].offset : kNone, last ? kNone : help.topics[t + 1].offset,
            static_cast<std::uint32_t>(t), firstText[t], last ? kNone : headers[t + 1]};
        if (fields[t] != expected ||
            (t > 0 && help.topics[t].offset == help.topics[t - 1].offset)) {
            fault("topic header fields of topic " + std::to_string(t));
        }
    }
}

}  // namespace

ReadHelp readHelpFile(const Bytes& file) {
    const Span whole(file, 0, file.size());
    if (whole.u32(0) != 0x00035F3F || whole.u32(8) != kNone || whole.u32(12) != file.size()) {
        fault("file header");
    }
    ReadHelp help;
    std::map<std::string, std::uint32_t> starts;
    const std::uint32_t directoryAt = whole.u32(4);
    readTree(internalFile(file, directoryAt), 1024, [&](const Span& page, std::size_t at) {
        const std::string name = page.cString(at);
        if (!help.files.empty() && !(help.files.back() < name)) {
            fault("the directory is not sorted");
        }
        help.files.push_back(name);
        starts[name] = page.u32(at + name.size() + 1);
        return name.size() + 5;
    });
    // The file header, the internal files and the directory must not overlap.
    std::vector<std::pair<std::size_t, std::size_t>> spans{
        {0, 16}, {directoryAt, directoryAt + 9 + internalFile(file, directoryAt).size()}};
    for (const auto& entry : starts) {
        spans.emplace_back(entry.second,
                           entry.second + 9 + internalFile(file, entry.second).size());
    }
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].first < spans[i - 1].second) {
            fault("internal files overlap");
        }
    }
    const auto get = [&](const std::string& name) {
        if (starts.count(name) == 0) {
            fault("no internal file " + name);
        }
        return internalFile(file, starts[name]);
    };
    readSystem(get("|SYSTEM"), help);
    readFonts(get("|FONT"), help);
    readTree(get("|CONTEXT"), 2048, [&](const Span& page, std::size_t at) {
        const auto hash = static_cast<std::int32_t>(page.u32(at));
        if (!help.contexts.empty() && help.contexts.back().first >= hash) {
            fault("|CONTEXT is not sorted by signed hash");
        }
        help.contexts.emplace_back(hash, page.u32(at + 4));
        return std::size_t{8};
    });
    // The index is sorted by CP932 bytes, ASCII letters without regard to case.
    const auto folded = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
        return text;
    };
    const Span keywordData = get("|KWDATA");
    std::size_t listed = 0;
    readTree(get("|KWBTREE"), 2048, [&](const Span& page, std::size_t at) {
        const std::string keyword = page.cString(at);
        if (!help.keywords.empty() && !(folded(help.keywords.back().first) < folded(keyword))) {
            fault("the keyword index is not sorted");
        }
        const std::size_t count = page.u16(at + keyword.size() + 1);
        const std::uint32_t dataAt = page.u32(at + keyword.size() + 3);
        help.keywords.push_back({keyword, {}});
        for (std::size_t i = 0; i < count; ++i) {
            help.keywords.back().second.push_back(keywordData.u32(dataAt + 4 * i));
        }
        listed += count;
        return keyword.size() + 7;
    });
    if (keywordData.size() != 4 * listed) {
        fault("|KWDATA holds more than the index lists");
    }
    readTopics(get("|TOPIC"), help);
    return help;
}

}  // namespace quor6::help::test
