#pragma once

#include <cstdint>
#include <vector>

#include "byte_buffer.h"

namespace quor6::help {

struct ContextEntry {
    std::int32_t hash;
    std::uint32_t topicOffset;
};

// |CONTEXT: the entries sorted by hash as a signed number, the order the viewer searches in.
// Throws std::length_error beyond one page (255 topics).
Bytes buildContextFile(std::vector<ContextEntry> entries);

}  // namespace quor6::help
