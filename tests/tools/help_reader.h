#pragma once

// Reads a compiled .hlp back as the help viewer does and says what it would show. Throws
// std::runtime_error at the first layout rule broken that the viewer relies on, so a file that
// reads back is one the viewer can show.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quor6::help::test {

// The help as shown, a line each (text in CP932): "title T; contents {NAMES}; WinHelp 1.M;
// charset C; macro M; blocks B" for the file; "font A H RRGGBB" for every font (attributes,
// half-points, colour); "# T {NAMES}" for every topic, NAMES the context names that open it;
// "F B=V ...:TEXT" for every paragraph (font, each measure by paragraph bit in half-points),
// each jump in TEXT as "[TEXT](NAMES of the topic it opens)" and "\n>" where the paragraph goes
// on in another record; "index: K {NAMES}" for every keyword. `names` gives the context name of
// each hash; a topic no context opens, or a jump or entry that opens no topic, shows "?".
std::string readHelpFile(const std::vector<std::uint8_t>& file,
                         const std::map<std::int32_t, std::string>& names);

}  // namespace quor6::help::test
