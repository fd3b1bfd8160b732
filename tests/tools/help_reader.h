#pragma once

// Reads a compiled .hlp back the way the help viewer does: the internal directory, |SYSTEM,
// |FONT, |CONTEXT, the keyword index and the topics. On the way it checks every layout rule the
// viewer depends on and throws std::runtime_error naming the first one broken, so a test that
// reads a file back also proves that the viewer could.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace quor6::help::test {

using Bytes = std::vector<std::uint8_t>;

struct ReadFont {
    std::uint8_t attributes = 0;  // bit 0 bold
    std::uint8_t halfPoints = 0;
    std::array<std::uint8_t, 3> rgb{};
};

struct ReadLink {
    std::int32_t hash = 0;
    std::size_t begin = 0;  // byte range of the hotspot in the paragraph's text
    std::size_t end = 0;
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
    std::uint16_t majorVersion = 0;
    std::uint16_t minorVersion = 0;
    std::uint16_t charset = 0;
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
