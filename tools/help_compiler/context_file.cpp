#include "context_file.h"

#include <algorithm>

#include "btree.h"

namespace quor6::help {

Bytes buildContextFile(std::vector<ContextEntry> entries) {
    std::sort(entries.begin(), entries.end(),
              [](const ContextEntry& a, const ContextEntry& b) { return a.hash < b.hash; });
    std::vector<Bytes> leafEntries;
    for (const ContextEntry& entry : entries) {
        ByteBuffer bytes;
        bytes.i32(entry.hash);
        bytes.u32(entry.topicOffset);
        leafEntries.push_back(std::move(bytes).bytes());
    }
    return buildSingleLeafBtree(BtreeShape{0x0002, 2048, "L4"}, leafEntries);
}

}  // namespace quor6::help
