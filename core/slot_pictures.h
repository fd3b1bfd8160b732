#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/icon_holder.h"
#include "core/verdict.h"

namespace quor6 {

// What the four digit slots show, slot 1 first.
using SlotPictures = std::array<IconHolder, 4>;

SlotPictures guessPictures(std::string_view guess);

// The verdict display; `count` is the guess count after the judged guess, of which a solved
// display shows the last two decimal digits.
SlotPictures verdictPictures(const Verdict& verdict, std::int16_t count);

}  // namespace quor6
