#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "byte_buffer.h"

namespace quor6::help {

struct Keyword {
    std::string text;  // CP932
    std::uint32_t topicOffset;
};

struct KeywordFiles {
    Bytes btree;  // |KWBTREE: keyword, number of topics, offset of their list in |KWDATA
    Bytes data;   // |KWDATA: the topic offsets, grouped by keyword
};

// The order of the viewer's index: CP932 bytes, ASCII letters without regard to case.
bool keywordLess(const std::string& a, const std::string& b);

// The keyword index behind the viewer's Index button. Keywords are sorted ignoring ASCII case,
// as the viewer's search expects; a keyword given for several topics becomes one entry.
// Throws std::length_error beyond one B+ tree page.
KeywordFiles buildKeywordFiles(std::vector<Keyword> keywords);

}  // namespace quor6::help
