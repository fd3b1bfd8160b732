#include "text_records.h"

#include <stdexcept>
#include <string>

#include "compressed_int.h"
#include "cp932.h"

namespace quor6::help {
namespace {

constexpr std::uint8_t kFontCommand = 0x80;
constexpr std::uint8_t kParagraphEnd = 0x82;
constexpr std::uint8_t kHotspotEnd = 0x89;
constexpr std::uint8_t kJumpStart = 0xE3;
constexpr std::uint8_t kEndOfCommands = 0xFF;

constexpr std::uint16_t kSpaceAboveBit = 0x0002;
constexpr std::uint16_t kSpaceBelowBit = 0x0004;
constexpr std::uint16_t kLeftIndentBit = 0x0010;
constexpr std::uint16_t kFirstLineIndentBit = 0x0040;

// data2 holds one NUL-terminated string in front of every command in data1.
class StringsAndCommands {
  public:
    void text(const std::string& more) { pending_ += more; }
    void command(std::uint8_t code) {
        flushText();
        commands_.u8(code);
    }
    void commandWithU16(std::uint8_t code, std::uint16_t operand) {
        command(code);
        commands_.u16(operand);
    }
    void commandWithI32(std::uint8_t code, std::int32_t operand) {
        command(code);
        commands_.i32(operand);
    }
    const ByteBuffer& commands() const { return commands_; }
    const ByteBuffer& strings() const { return strings_; }

  private:
    void flushText() {
        strings_.append(pending_);
        strings_.u8(0);
        pending_.clear();
    }

    ByteBuffer commands_;
    ByteBuffer strings_;
    std::string pending_;
};

void appendParagraphInfo(ByteBuffer& data1, const ParagraphFormat& format) {
    unsigned bits = 0;
    bits |= format.spaceAbove ? kSpaceAboveBit : 0u;
    bits |= format.spaceBelow ? kSpaceBelowBit : 0u;
    bits |= format.leftIndent ? kLeftIndentBit : 0u;
    bits |= format.firstLineIndent ? kFirstLineIndentBit : 0u;
    data1.u16(static_cast<std::uint16_t>(bits));
    // The values follow in the order of their bits.
    for (const auto& value :
         {format.spaceAbove, format.spaceBelow, format.leftIndent, format.firstLineIndent}) {
        if (value) {
            appendCompressedS16(data1, *value);
        }
    }
}

TopicRecord buildRecord(const std::vector<EncodedRun>& runs, const ParagraphFormat& format,
                        std::uint16_t fontNumber, bool endsParagraph) {
    StringsAndCommands body;
    // A record inherits no font, so every record selects its own first.
    body.commandWithU16(kFontCommand, fontNumber);
    for (const EncodedRun& run : runs) {
        if (run.jumpHash) {
            body.commandWithI32(kJumpStart, *run.jumpHash);
            body.text(run.text);
            body.command(kHotspotEnd);
        } else {
            body.text(run.text);
        }
    }
    if (endsParagraph) {
        body.command(kParagraphEnd);
    }
    body.command(kEndOfCommands);

    const auto textLength = static_cast<std::uint16_t>(body.strings().size());
    ByteBuffer data1;
    appendCompressedS32(data1, textLength);  // expanded size: no phrase compression here
    appendCompressedU16(data1, textLength);
    data1.u8(0x00);
    data1.u8(0x80);
    data1.u16(0);  // paragraph id
    appendParagraphInfo(data1, format);
    data1.append(body.commands().bytes());
    return TopicRecord{TopicRecord::kDisplayText, std::move(data1).bytes(), body.strings().bytes()};
}

bool endsSentence(const std::string& text, std::size_t end) {
    static const std::string kSentenceEnds[] = {"\x81\x42", "\x81\x48", "\x81\x49", ". "};
    for (const std::string& mark : kSentenceEnds) {
        if (end >= mark.size() && text.compare(end - mark.size(), mark.size(), mark) == 0) {
            return true;
        }
    }
    return false;
}

// The length of the longest prefix of at most limit bytes that ends on a character boundary,
// preferring one that ends a sentence.
std::size_t cutLength(const std::string& text, std::size_t limit) {
    std::size_t lastBoundary = 0;
    std::size_t lastSentenceEnd = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t next = at + cp932CharLength(static_cast<unsigned char>(text[at]));
        if (next > limit || next > text.size()) {
            break;
        }
        at = next;
        lastBoundary = at;
        if (endsSentence(text, at)) {
            lastSentenceEnd = at;
        }
    }
    return lastSentenceEnd > 0 ? lastSentenceEnd : lastBoundary;
}

std::size_t previousBoundary(const std::string& text, std::size_t end) {
    std::size_t at = 0;
    std::size_t previous = 0;
    while (at < end) {
        previous = at;
        at += cp932CharLength(static_cast<unsigned char>(text[at]));
    }
    return previous;
}

}  // namespace

std::vector<TopicRecord> buildTextRecords(const std::vector<EncodedRun>& runs,
                                          const ParagraphFormat& format, std::uint16_t fontNumber,
                                          std::size_t maxRecordSize) {
    const auto sizeOf = [&](const std::vector<EncodedRun>& chunk) {
        return buildRecord(chunk, format, fontNumber, true).size();
    };
    std::vector<TopicRecord> records;
    std::vector<EncodedRun> chunk;
    std::vector<EncodedRun> rest(runs.rbegin(), runs.rend());  // next run at the back

    while (!rest.empty()) {
        EncodedRun& next = rest.back();
        std::vector<EncodedRun> candidate = chunk;
        candidate.push_back(EncodedRun{"", next.jumpHash});
        const std::size_t emptySize = sizeOf(candidate);
        std::size_t length = 0;
        if (emptySize < maxRecordSize) {
            length = cutLength(next.text, maxRecordSize - emptySize);
            // The text length fields can grow by a byte once the text is long enough.
            for (;;) {
                candidate.back().text = next.text.substr(0, length);
                if (length == 0 || sizeOf(candidate) <= maxRecordSize) {
                    break;
                }
                length = previousBoundary(next.text, length);
            }
        }
        if (length == next.text.size()) {
            chunk = std::move(candidate);
            rest.pop_back();
            continue;
        }
        if (length == 0 && chunk.empty()) {
            throw std::logic_error("a text record of " + std::to_string(maxRecordSize) +
                                   " bytes cannot hold a single character");
        }
        if (length > 0) {
            chunk = std::move(candidate);
            next.text.erase(0, length);
        }
        records.push_back(buildRecord(chunk, format, fontNumber, false));
        chunk.clear();
    }
    records.push_back(buildRecord(chunk, format, fontNumber, true));
    return records;
}

}  // namespace quor6::help
