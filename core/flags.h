#pragma once

#include <cstdint>

namespace quor6 {

// Truth values are 16-bit integers with -1 for true, as the program's flags have always been.
using Flag16 = std::int16_t;
inline constexpr Flag16 kTrue = -1;
inline constexpr Flag16 kFalse = 0;

}  // namespace quor6
