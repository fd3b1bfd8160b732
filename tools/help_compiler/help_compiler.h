#pragma once

#include <string_view>

#include "byte_buffer.h"

namespace quor6::help {

// Compiles the help markup (see source_parser.h) into the bytes of a .hlp file. Throws
// HelpError for faults in the source.
Bytes compileHelp(std::string_view sourceUtf8);

}  // namespace quor6::help
