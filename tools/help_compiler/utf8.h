#pragma once

#include <string>
#include <string_view>

namespace quor6::help {

// Decodes UTF-8 strictly: overlong forms, surrogates and truncated sequences throw
// std::invalid_argument naming the byte offset.
std::u32string decodeUtf8(std::string_view text);

std::string encodeUtf8(char32_t codePoint);

// "U+30D8" for messages.
std::string codePointName(char32_t codePoint);

}  // namespace quor6::help
