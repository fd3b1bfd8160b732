#include "system_file.h"

#include <stdexcept>

namespace quor6::help {
namespace {

constexpr std::uint16_t kMagic = 0x036C;
constexpr std::uint16_t kMinorVersion = 33;  // WinHelp 4: reads the charset record
constexpr std::uint16_t kMajorVersion = 1;
constexpr std::uint16_t kFlagsUncompressed = 0;

constexpr std::uint16_t kTitleRecord = 1;
constexpr std::uint16_t kContentsRecord = 3;
constexpr std::uint16_t kConfigRecord = 4;
constexpr std::uint16_t kCharsetRecord = 11;
constexpr std::uint16_t kShiftJisCharset = 128;

void appendStringRecord(ByteBuffer& out, std::uint16_t type, std::string_view text) {
    if (text.size() + 1 > 0xFFFF) {
        throw std::length_error("|SYSTEM string too long");
    }
    out.u16(type);
    out.u16(static_cast<std::uint16_t>(text.size() + 1));
    out.append(text);
    out.u8(0);
}

}  // namespace

Bytes buildSystemFile(std::string_view titleCp932, std::uint32_t contentsTopicOffset) {
    ByteBuffer out;
    out.u16(kMagic);
    out.u16(kMinorVersion);
    out.u16(kMajorVersion);
    out.u32(0);  // generation date
    out.u16(kFlagsUncompressed);

    appendStringRecord(out, kTitleRecord, titleCp932);
    out.u16(kContentsRecord);
    out.u16(4);
    out.u32(contentsTopicOffset);
    appendStringRecord(out, kConfigRecord, "BrowseButtons()");
    out.u16(kCharsetRecord);
    out.u16(2);
    out.u16(kShiftJisCharset);
    return std::move(out).bytes();
}

}  // namespace quor6::help
