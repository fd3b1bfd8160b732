#pragma once

#include <string>
#include <vector>

#include "byte_buffer.h"

namespace quor6::help {

struct InternalFile {
    std::string name;  // e.g. "|SYSTEM"
    Bytes content;
};

// The whole .hlp: file header, the internal files in the given order, then the directory that
// names them (sorted by byte comparison of the names, which must be unique).
Bytes assembleHelpFile(const std::vector<InternalFile>& files);

}  // namespace quor6::help
