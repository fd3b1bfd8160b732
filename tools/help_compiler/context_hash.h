#pragma once

#include <cstdint>
#include <string_view>

namespace quor6::help {

// Context names are limited to the characters every help compiler hashes alike.
bool isValidContextName(std::string_view name);

// The viewer's hash of a context name: h = h * 43 + value(c), wrapping at 32 bits.
std::int32_t contextHash(std::string_view name);

}  // namespace quor6::help
