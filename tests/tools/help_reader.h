#pragma once

// Reads a compiled .hlp back as the help viewer does: directory, |SYSTEM, |FONT, |CONTEXT, the
// keyword index and the topics. Throws std::runtime_error at the first layout rule broken that
// the viewer relies on, so a file that reads back is one the viewer can read.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace quor6::help::test {

using Bytes = std::vector<std::uint8_t>;

struct ReadFont {
    std::uint8_t attributes, halfPoints;  // attributes: bit 0 bold
    std::array<std::uint8_t, 3> rgb;
};

struct ReadLink {
    std::int32_t hash;
    std::size_t begin, end;  // the hotspot's bytes in the paragraph's text
};

// A paragraph as shown, joined again when it was carried over several records.
struct ReadParagraph {
    std::uint16_t font = 0;
    std::map<std::uint16_t, std::int16_t> measures;  // paragraph bit -> half-points
    std::string text;                                // CP932
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
    std::uint16_t majorVersion = 0, minorVersion = 0, charset = 0;
    std::string title;
    std::uint32_t contents = 0;
    std::vector<std::string> macros;
    std::vector<ReadFont> fonts;
    std::vector<std::pair<std::int32_t, std::uint32_t>> contexts;  // hash, topic offset
    std::vector<std::pair<std::string, std::vector<std::uint32_t>>> keywords;
    std::vector<ReadTopic> topics;
    std::size_t topicBlocks = 0;
};

ReadHelp readHelpFile(const Bytes& file);

}  // namespace quor6::help::test
