#pragma once

#include <cstddef>
#include <cstdint>

namespace quor6::fuzz {

// The fuzzer's input, one byte at a time; past the end every read gives 0.
class ByteReader {
  public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool atEnd() const { return position_ >= size_; }
    std::uint8_t next() { return atEnd() ? 0 : data_[position_++]; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace quor6::fuzz
