#pragma once

#include <cstdint>

#include "byte_buffer.h"

namespace quor6::help {

// The variable-length integers of display-text records: the lowest bit of the first byte tells
// the short form (bit clear) from the long form (bit set). Values outside the long form's range
// throw std::out_of_range.
void appendCompressedU16(ByteBuffer& out, std::uint16_t value);
void appendCompressedS16(ByteBuffer& out, std::int16_t value);
void appendCompressedS32(ByteBuffer& out, std::int32_t value);

}  // namespace quor6::help
