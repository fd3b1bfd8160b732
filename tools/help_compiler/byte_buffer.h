#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quor6::help {

using Bytes = std::vector<std::uint8_t>;

// Appends little-endian integers and raw bytes; every binary part of a .hlp file is built with
// one of these and then placed as a whole.
class ByteBuffer {
  public:
    void u8(std::uint8_t value) { bytes_.push_back(value); }
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void i16(std::int16_t value) { u16(static_cast<std::uint16_t>(value)); }
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    void append(const Bytes& more) { bytes_.insert(bytes_.end(), more.begin(), more.end()); }
    void append(std::string_view text);
    // Writes text and pads it with NULs to exactly slotSize bytes (text must be shorter).
    void fixedString(std::string_view text, std::size_t slotSize);
    void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void patchU32(std::size_t at, std::uint32_t value);
    void overwrite(std::size_t at, const Bytes& replacement);

    std::size_t size() const { return bytes_.size(); }
    const Bytes& bytes() const& { return bytes_; }
    Bytes bytes() && { return std::move(bytes_); }

  private:
    Bytes bytes_;
};

}  // namespace quor6::help
