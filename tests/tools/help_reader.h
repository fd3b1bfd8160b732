#pragma once

// Reads a compiled .hlp back as the help viewer does and says what it would show. Throws
// std::runtime_error at the first layout rule broken that the viewer relies on, so a file that
// reads back is one the viewer can show.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quor6::help::test {

// The help as shown, a line each (text in CP932): "title T; contents {N}; WinHelp 1.M; charset C;
// macro M; blocks B"; "font A H RRGGBB" (attributes, half-points, colour) for every font;
// "# T {N}" for every topic, N the context names that open it; "F B=V ...:TEXT" for every
// paragraph (font, measures by paragraph bit in half-points) with a jump as "[TEXT](N of the
// topic it opens)" and "\n>" where a record ends inside it; "index: K {N}" for every keyword.
// `names` names the hashes; what no name or topic answers shows "?".
std::string readHelpFile(const std::vector<std::uint8_t>& file,
                         const std::map<std::int32_t, std::string>& names);

}  // namespace quor6::help::test
