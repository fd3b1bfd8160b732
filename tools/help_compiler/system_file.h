#pragma once

#include <cstdint>
#include <string_view>

#include "byte_buffer.h"

namespace quor6::help {

// |SYSTEM of an uncompressed WinHelp 4 file in the Japanese charset: title (CP932), the topic
// offset of the contents topic, and browse buttons so that the topics can be paged through.
Bytes buildSystemFile(std::string_view titleCp932, std::uint32_t contentsTopicOffset);

}  // namespace quor6::help
