#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "encoded_help.h"
#include "topic_record.h"

namespace quor6::help {

// Paragraph measures in half-points; unset ones are left out of the record.
struct ParagraphFormat {
    std::optional<std::int16_t> spaceAbove;
    std::optional<std::int16_t> spaceBelow;
    std::optional<std::int16_t> leftIndent;
    std::optional<std::int16_t> firstLineIndent;
};

// The display-text records of one paragraph. Text that does not fit one record of maxRecordSize
// bytes is carried on in further records, cut after a sentence end where there is one and
// never inside a double-byte character; only the last record ends the paragraph.
std::vector<TopicRecord> buildTextRecords(const std::vector<EncodedRun>& runs,
                                          const ParagraphFormat& format, std::uint16_t fontNumber,
                                          std::size_t maxRecordSize = kTopicBlockDataSize);

}  // namespace quor6::help
