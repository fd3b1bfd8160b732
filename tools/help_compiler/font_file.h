#pragma once

#include <cstdint>

#include "byte_buffer.h"

namespace quor6::help {

// The font numbers the text records select; |FONT holds one descriptor for each.
enum class HelpFont : std::uint16_t { Body = 0, Heading = 1, TopicTitle = 2 };

Bytes buildFontFile();

}  // namespace quor6::help
