#pragma once

// Reads a compiled .hlp back as the help viewer does. Throws std::runtime_error at the first
// layout rule broken that the viewer relies on, so a file that reads back is one it can show.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace quor6::help::test {

struct ReadLink {
    std::int32_t hash;
    std::size_t begin, end;  // the hotspot's bytes in the paragraph's text
};

// A paragraph as shown (CP932), joined again when it was carried over several records.
struct ReadParagraph {
    std::uint16_t font = 0;
    std::map<std::uint16_t, std::int16_t> measures;  // paragraph bit -> half-points
    std::string text;
    std::vector<ReadLink> links;
    std::vector<std::size_t> recordEnds;  // where each record's text ends
};

struct ReadTopic {
    std::string title;
    std::uint32_t offset = 0;  // the topic offset the viewer computes for it
    std::vector<ReadParagraph> paragraphs;
};

struct ReadHelp {
    std::vector<std::string> files;  // internal file names, in directory order
    std::uint16_t minorVersion = 0, charset = 0;
    std::string title;
    std::uint32_t contents = 0;
    std::vector<std::string> macros;
    std::vector<std::array<std::uint8_t, 5>> fonts;  // attributes, half-points, red, green, blue
    std::map<std::int32_t, std::uint32_t> contexts;  // hash -> topic offset
    std::vector<std::pair<std::string, std::vector<std::uint32_t>>> keywords;
    std::vector<ReadTopic> topics;
    std::size_t topicBlocks = 0;
};

ReadHelp readHelpFile(const std::vector<std::uint8_t>& file);

// The help as the viewer shows it, one line each: "# title {names}" for every topic with the
// context names that open it, "font:text" for every paragraph with each jump as
// "[text](names of the topic it opens)", then "index: keyword {names}" for the index. `names`
// gives the context name of each hash; a jump or entry that opens no topic shows "?".
std::string shownHelp(const ReadHelp& help, const std::map<std::int32_t, std::string>& names);

}  // namespace quor6::help::test
