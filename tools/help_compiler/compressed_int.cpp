#include "compressed_int.h"

#include <stdexcept>

namespace quor6::help {

void appendCompressedU16(ByteBuffer& out, std::uint16_t value) {
    if (value < 0x80) {
        out.u8(static_cast<std::uint8_t>(value * 2));
    } else if (value < 0x8000) {
        out.u16(static_cast<std::uint16_t>(value * 2 + 1));
    } else {
        throw std::out_of_range("compressed u16 holds at most 32767");
    }
}

void appendCompressedS16(ByteBuffer& out, std::int16_t value) {
    if (value >= -0x40 && value < 0x40) {
        out.u8(static_cast<std::uint8_t>((value + 0x40) * 2));
    } else if (value >= -0x4000 && value < 0x4000) {
        out.u16(static_cast<std::uint16_t>((value + 0x4000) * 2 + 1));
    } else {
        throw std::out_of_range("compressed s16 holds -16384 to 16383");
    }
}

void appendCompressedS32(ByteBuffer& out, std::int32_t value) {
    if (value >= -0x4000 && value < 0x4000) {
        out.u16(static_cast<std::uint16_t>((value + 0x4000) * 2));
    } else if (value >= -0x40000000 && value < 0x40000000) {
        out.u32(static_cast<std::uint32_t>(value + 0x40000000) * 2 + 1);
    } else {
        throw std::out_of_range("compressed s32 holds -2^30 to 2^30-1");
    }
}

}  // namespace quor6::help
