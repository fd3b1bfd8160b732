#include "font_file.h"

#include <array>

namespace quor6::help {
namespace {

// An ASCII face name: Windows resolves it to the Japanese face, and Wine, which has no such
// font, falls back to any face of the Japanese charset from |SYSTEM.
constexpr const char* kFaceName = "MS PGothic";
constexpr std::size_t kFaceSlotSize = 32;
// The viewer accepts only the old 11-byte descriptors, which it finds by this offset.
constexpr std::uint16_t kFaceTableOffset = 8;

constexpr std::uint8_t kBold = 0x01;
constexpr std::uint8_t kFamilySwiss = 3;

struct FontDescriptor {
    std::uint8_t attributes;
    std::uint8_t halfPoints;
    std::array<std::uint8_t, 3> rgb;
};

// Indexed by HelpFont.
constexpr std::array<FontDescriptor, 3> kFonts = {{
    {0, 20, {0x00, 0x00, 0x00}},      // body, 10 pt
    {kBold, 22, {0x00, 0x00, 0x00}},  // heading, 11 pt bold
    {kBold, 28, {0x00, 0x33, 0x80}},  // topic title, 14 pt bold, dark blue
}};

}  // namespace

Bytes buildFontFile() {
    ByteBuffer out;
    out.u16(1);  // face names
    out.u16(static_cast<std::uint16_t>(kFonts.size()));
    out.u16(kFaceTableOffset);
    out.u16(static_cast<std::uint16_t>(kFaceTableOffset + kFaceSlotSize));
    out.fixedString(kFaceName, kFaceSlotSize);
    for (const FontDescriptor& font : kFonts) {
        out.u8(font.attributes);
        out.u8(font.halfPoints);
        out.u8(kFamilySwiss);
        out.u16(0);  // the one face name
        for (const std::uint8_t component : font.rgb) {
            out.u8(component);
        }
        for (int i = 0; i < 3; ++i) {
            out.u8(0xFF);  // background colour, unused
        }
    }
    return std::move(out).bytes();
}

}  // namespace quor6::help
