#include "ico_encoder.h"

namespace quor6::tools {
namespace {

class LittleEndianWriter {
  public:
    explicit LittleEndianWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void u8(std::uint8_t value) { out_.push_back(value); }
    void u16(std::uint16_t value) {
        u8(static_cast<std::uint8_t>(value & 0xFFu));
        u8(static_cast<std::uint8_t>(value >> 8));
    }
    void u32(std::uint32_t value) {
        u16(static_cast<std::uint16_t>(value & 0xFFFFu));
        u16(static_cast<std::uint16_t>(value >> 16));
    }
    void s32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }

  private:
    std::vector<std::uint8_t>& out_;
};

void writeDirectory(LittleEndianWriter& out) {
    out.u16(0);  // reserved
    out.u16(1);  // resource type: icon
    out.u16(1);  // image count

    out.u8(kMapSize);  // width
    out.u8(kMapSize);  // height
    out.u8(16);        // colours in the palette
    out.u8(0);         // reserved
    out.u16(1);        // planes
    out.u16(4);        // bits per pixel
    out.u32(static_cast<std::uint32_t>(ico_layout::kImageSize));
    out.u32(static_cast<std::uint32_t>(ico_layout::kImageOffset));
}

void writeInfoHeader(LittleEndianWriter& out) {
    out.u32(static_cast<std::uint32_t>(ico_layout::kInfoHeaderSize));
    out.s32(kMapSize);
    // An icon's bitmap counts the XOR image and the AND mask together, hence twice the height.
    out.s32(2 * kMapSize);
    out.u16(1);  // planes
    out.u16(4);  // bits per pixel
    out.u32(0);  // BI_RGB
    out.u32(static_cast<std::uint32_t>(ico_layout::kXorSize + ico_layout::kAndSize));
    out.s32(0);  // horizontal resolution: unused
    out.s32(0);  // vertical resolution: unused
    out.u32(0);  // colours used: 0 means all 16
    out.u32(0);  // important colours: all
}

void writePalette(LittleEndianWriter& out) {
    for (const Rgb& colour : standardPalette()) {
        out.u8(colour.b);
        out.u8(colour.g);
        out.u8(colour.r);
        out.u8(0);
    }
}

void writeXorBitmap(LittleEndianWriter& out, const PixelMap& map) {
    // Bitmaps are stored bottom-up; the left pixel of each pair is the high nibble.
    for (int y = kMapSize - 1; y >= 0; --y) {
        for (int x = 0; x < kMapSize; x += 2) {
            out.u8(static_cast<std::uint8_t>((map.at(x, y) << 4) | map.at(x + 1, y)));
        }
    }
}

void writeAndMask(LittleEndianWriter& out) {
    for (std::size_t i = 0; i < ico_layout::kAndSize; ++i)
        out.u8(0);
}

}  // namespace

std::vector<std::uint8_t> encodeIco(const PixelMap& map) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(ico_layout::kFileSize);
    LittleEndianWriter out(bytes);
    writeDirectory(out);
    writeInfoHeader(out);
    writePalette(out);
    writeXorBitmap(out, map);
    writeAndMask(out);
    return bytes;
}

}  // namespace quor6::tools
