#include "byte_buffer.h"

#include <algorithm>
#include <stdexcept>

namespace quor6::help {

void ByteBuffer::u16(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value & 0xFFu));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteBuffer::u32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes_.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFFu));
    }
}

void ByteBuffer::append(std::string_view text) {
    for (const char c : text) {
        bytes_.push_back(static_cast<std::uint8_t>(c));
    }
}

void ByteBuffer::fixedString(std::string_view text, std::size_t slotSize) {
    if (text.size() >= slotSize) {
        throw std::logic_error("string does not fit its fixed slot");
    }
    append(text);
    zeros(slotSize - text.size());
}

void ByteBuffer::patchU32(std::size_t at, std::uint32_t value) {
    if (at + 4 > bytes_.size()) {
        throw std::logic_error("patch outside the buffer");
    }
    for (int i = 0; i < 4; ++i) {
        bytes_[at + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu);
    }
}

void ByteBuffer::overwrite(std::size_t at, const Bytes& replacement) {
    if (at + replacement.size() > bytes_.size()) {
        throw std::logic_error("overwrite outside the buffer");
    }
    std::copy(replacement.begin(), replacement.end(), bytes_.begin() + static_cast<long>(at));
}

}  // namespace quor6::help
