#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quor6::help {

// Converts UTF-8 to Windows code page 932, the encoding of all text in the help file. A
// character is accepted only if it converts both ways to itself, so that the text means the
// same on every build host (glibc would otherwise fold e.g. U+301C onto the code of U+FF5E).
// Throws std::invalid_argument naming the first character that has no such form.
std::string utf8ToCp932(std::string_view utf8);

// 2 for a lead byte of a double-byte character, else 1.
std::size_t cp932CharLength(unsigned char firstByte);

}  // namespace quor6::help
