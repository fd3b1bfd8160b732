#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quor6::help::test {

// Reads a compiled .hlp back as the help viewer does; throws std::runtime_error at the first
// layout rule broken that the viewer relies on. Says what the viewer would show, a line each, text
// in CP932: "WinHelp 1.M; title T; contents {N}; macro M; charset C; blocks B"; "font A H RRGGBB"
// (attributes, half-points, colour) a font; "# T {N}" a topic, N the context names that open it;
// "F B=V ...:TEXT" a paragraph (font, measures by paragraph bit in half-points), a jump in it as
// "[TEXT](N of the topic it opens)", "\n>" where a record ends; "index: K {N}" a keyword. `names`
// names the hashes; what nothing names shows "?".
std::string readHelpFile(const std::vector<std::uint8_t>& file,
                         const std::map<std::int32_t, std::string>& names);

}  // namespace quor6::help::test
