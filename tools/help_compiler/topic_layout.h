#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "byte_buffer.h"
#include "topic_record.h"

namespace quor6::help {

struct TopicContent {
    std::string title;  // CP932
    std::vector<TopicRecord> textRecords;
};

struct TopicLayout {
    Bytes topicFile;                          // the content of |TOPIC, whole 4096-byte blocks
    std::vector<std::uint32_t> topicOffsets;  // per topic, for |CONTEXT and the start topic
};

// Places each topic's header record and its text records into topic blocks, a record never
// crossing a block, and links them: the record chain, browse sequence and block headers.
// Throws HelpError if a topic title is too long for its header record.
TopicLayout layOutTopics(const std::vector<TopicContent>& topics);

}  // namespace quor6::help
