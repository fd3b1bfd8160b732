#pragma once

#include <string>
#include <string_view>

#include "byte_buffer.h"

namespace quor6::help {

// Compiles the help markup (see source_parser.h) into the bytes of a .hlp file. Throws
// HelpError for faults in the source.
Bytes compileHelp(std::string_view sourceUtf8);

// The same help as one HTML page (UTF-8) with the same topics, jumps and keyword index. Rejects
// exactly what compileHelp rejects, so both files always come from an accepted source.
std::string compileHtmlHelp(std::string_view sourceUtf8);

}  // namespace quor6::help
