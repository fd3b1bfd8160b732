#pragma once

#include <cstddef>
#include <cstdint>

#include "byte_buffer.h"

namespace quor6::help {

// Every record (topic link) of |TOPIC: a 21-byte header written at layout time, then data1 and
// data2 as built here.
struct TopicRecord {
    static constexpr std::size_t kHeaderSize = 21;
    static constexpr std::uint8_t kTopicHeader = 0x02;
    static constexpr std::uint8_t kDisplayText = 0x20;

    std::uint8_t type = kDisplayText;
    Bytes data1;
    Bytes data2;

    std::size_t size() const { return kHeaderSize + data1.size() + data2.size(); }
    // What this record adds to the character count behind topic offsets.
    std::size_t topicLength() const { return type == kDisplayText ? data2.size() : 0; }
};

// Records never cross a topic block, so none may be larger than a block's data area.
constexpr std::size_t kTopicBlockSize = 4096;
constexpr std::size_t kTopicBlockHeaderSize = 12;
constexpr std::size_t kTopicBlockDataSize = kTopicBlockSize - kTopicBlockHeaderSize;

}  // namespace quor6::help
