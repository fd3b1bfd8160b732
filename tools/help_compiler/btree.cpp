#include "btree.h"

#include <stdexcept>

namespace quor6::help {
namespace {

constexpr std::uint16_t kMagic = 0x293B;
constexpr std::size_t kStructureSize = 16;
constexpr std::size_t kLeafHeaderSize = 8;

}  // namespace

Bytes buildSingleLeafBtree(const BtreeShape& shape, const std::vector<Bytes>& entries) {
    if (entries.empty()) {
        throw std::logic_error("a B+ tree needs at least one entry");
    }
    std::size_t used = kLeafHeaderSize;
    for (const Bytes& entry : entries) {
        used += entry.size();
    }
    if (used > shape.pageSize || entries.size() > 0x7FFF) {
        throw std::length_error("B+ tree entries do not fit one page");
    }

    ByteBuffer out;
    out.u16(kMagic);
    out.u16(shape.flags);
    out.u16(shape.pageSize);
    out.fixedString(shape.structure, kStructureSize);
    out.u16(0);
    out.u16(0);  // page splits
    out.u16(0);  // root page
    out.u16(0xFFFF);
    out.u16(1);  // pages
    out.u16(1);  // levels
    out.u32(static_cast<std::uint32_t>(entries.size()));

    out.u16(static_cast<std::uint16_t>(shape.pageSize - used));
    out.i16(static_cast<std::int16_t>(entries.size()));
    out.i16(-1);  // previous leaf
    out.i16(-1);  // next leaf
    for (const Bytes& entry : entries) {
        out.append(entry);
    }
    out.zeros(shape.pageSize - used);
    return std::move(out).bytes();
}

}  // namespace quor6::help
