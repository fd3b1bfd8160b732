#include "help_file.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "btree.h"

namespace quor6::help {
namespace {

constexpr std::uint32_t kFileMagic = 0x00035F3F;
constexpr std::uint8_t kInternalFileFlags = 4;

// The viewer takes start + reserved as the end of an internal file, so no slack is left.
void appendInternalFile(ByteBuffer& out, const Bytes& content) {
    out.u32(static_cast<std::uint32_t>(content.size() + 9));
    out.u32(static_cast<std::uint32_t>(content.size()));
    out.u8(kInternalFileFlags);
    out.append(content);
}

struct DirectoryEntry {
    std::string name;
    std::uint32_t offset;
};

Bytes buildDirectory(std::vector<DirectoryEntry> entries) {
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    std::vector<Bytes> leafEntries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0 && entries[i].name == entries[i - 1].name) {
            throw std::logic_error("internal file " + entries[i].name + " given twice");
        }
        ByteBuffer bytes;
        bytes.append(entries[i].name);
        bytes.u8(0);
        bytes.u32(entries[i].offset);
        leafEntries.push_back(std::move(bytes).bytes());
    }
    return buildSingleLeafBtree(BtreeShape{0x0402, 1024, "z4"}, leafEntries);
}

}  // namespace

Bytes assembleHelpFile(const std::vector<InternalFile>& files) {
    ByteBuffer out;
    out.u32(kFileMagic);
    out.u32(0);   // directory offset, patched below
    out.i32(-1);  // no free blocks
    out.u32(0);   // file size, patched below

    std::vector<DirectoryEntry> directory;
    for (const InternalFile& file : files) {
        directory.push_back(DirectoryEntry{file.name, static_cast<std::uint32_t>(out.size())});
        appendInternalFile(out, file.content);
    }
    const auto directoryOffset = static_cast<std::uint32_t>(out.size());
    appendInternalFile(out, buildDirectory(std::move(directory)));
    out.patchU32(4, directoryOffset);
    out.patchU32(12, static_cast<std::uint32_t>(out.size()));
    return std::move(out).bytes();
}

}  // namespace quor6::help
