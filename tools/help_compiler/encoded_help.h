#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "help_source.h"

namespace quor6::help {

// The help text ready for the binary writers: strings in CP932, jumps resolved to the hash of
// an existing topic.

struct EncodedRun {
    std::string text;
    std::optional<std::int32_t> jumpHash;
};

struct EncodedParagraph {
    ParagraphStyle style = ParagraphStyle::Body;
    std::vector<EncodedRun> runs;
};

struct EncodedTopic {
    std::string title;
    std::int32_t contextHash = 0;
    std::vector<EncodedParagraph> paragraphs;
};

struct EncodedHelp {
    std::string title;
    std::vector<EncodedTopic> topics;
};

// Throws HelpError for a character without a CP932 form, a context name used twice (or two
// names with one hash, which the viewer could not tell apart) and a jump to no topic.
EncodedHelp encodeHelp(const HelpSource& source);

}  // namespace quor6::help
