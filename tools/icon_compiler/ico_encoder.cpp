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

void writeDirectory(LittleEndianWriter& out, const std::vector<PixelMap>& frames) {
    out.u16(0);  // reserved
    out.u16(1);  // resource type: icon
    out.u16(static_cast<std::uint16_t>(frames.size()));

    std::size_t offset = ico_layout::kDirectorySize + ico_layout::kEntrySize * frames.size();
    for (const PixelMap& frame : frames) {
        out.u8(static_cast<std::uint8_t>(frame.size));  // width
        out.u8(static_cast<std::uint8_t>(frame.size));  // height
        out.u8(16);                                     // colours in the palette
        out.u8(0);                                      // reserved
        out.u16(1);                                     // planes
        out.u16(4);                                     // bits per pixel
        out.u32(static_cast<std::uint32_t>(ico_layout::imageSize(frame.size)));
        out.u32(static_cast<std::uint32_t>(offset));
        offset += ico_layout::imageSize(frame.size);
    }
}

void writeInfoHeader(LittleEndianWriter& out, int size) {
    out.u32(static_cast<std::uint32_t>(ico_layout::kInfoHeaderSize));
    out.s32(size);
    // An icon's bitmap counts the XOR image and the AND mask together, hence twice the height.
    out.s32(2 * size);
    out.u16(1);  // planes
    out.u16(4);  // bits per pixel
    out.u32(0);  // BI_RGB
    out.u32(static_cast<std::uint32_t>(ico_layout::xorSize(size) + ico_layout::andSize(size)));
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
    const std::size_t padding = ico_layout::xorSize(map.size) / static_cast<std::size_t>(map.size) -
                                static_cast<std::size_t>(map.size) / 2;
    for (int y = map.size - 1; y >= 0; --y) {
        for (int x = 0; x < map.size; x += 2)
            out.u8(static_cast<std::uint8_t>((map.at(x, y) << 4) | map.at(x + 1, y)));
        for (std::size_t i = 0; i < padding; ++i)
            out.u8(0);
    }
}

void writeAndMask(LittleEndianWriter& out, int size) {
    for (std::size_t i = 0; i < ico_layout::andSize(size); ++i)
        out.u8(0);
}

}  // namespace

std::vector<std::uint8_t> encodeIco(const std::vector<PixelMap>& frames) {
    std::vector<std::uint8_t> bytes;
    LittleEndianWriter out(bytes);
    writeDirectory(out, frames);
    for (const PixelMap& frame : frames) {
        writeInfoHeader(out, frame.size);
        writePalette(out);
        writeXorBitmap(out, frame);
        writeAndMask(out, frame.size);
    }
    return bytes;
}

}  // namespace quor6::tools
