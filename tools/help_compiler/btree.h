#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "byte_buffer.h"

namespace quor6::help {

struct BtreeShape {
    std::uint16_t flags;
    std::uint16_t pageSize;
    std::string_view structure;  // e.g. "z4"; the viewer ignores it
};

// A B+ tree of one leaf page (the root) holding the given entries in the given order; the
// caller sorts them, as the viewer's lookup stops at the first greater key. At least one entry
// is needed. Throws std::length_error if they do not fit one page.
Bytes buildSingleLeafBtree(const BtreeShape& shape, const std::vector<Bytes>& entries);

}  // namespace quor6::help
