#include "keyword_files.h"

#include <algorithm>

#include "btree.h"

namespace quor6::help {
namespace {

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameKeyword(const std::string& a, const std::string& b) {
    return !keywordLess(a, b) && !keywordLess(b, a);
}

}  // namespace

bool keywordLess(const std::string& a, const std::string& b) {
    const auto byteLess = [](char x, char y) {
        return static_cast<unsigned char>(asciiLower(x)) <
               static_cast<unsigned char>(asciiLower(y));
    };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), byteLess);
}

KeywordFiles buildKeywordFiles(std::vector<Keyword> keywords) {
    // Stable, so that the topics of one keyword keep the order of the source.
    std::stable_sort(keywords.begin(), keywords.end(), [](const Keyword& a, const Keyword& b) {
        return keywordLess(a.text, b.text);
    });
    ByteBuffer data;
    std::vector<Bytes> leafEntries;
    for (std::size_t first = 0; first < keywords.size();) {
        std::size_t end = first;
        while (end < keywords.size() && sameKeyword(keywords[end].text, keywords[first].text)) {
            ++end;
        }
        ByteBuffer entry;
        entry.append(keywords[first].text);
        entry.u8(0);
        entry.u16(static_cast<std::uint16_t>(end - first));
        entry.u32(static_cast<std::uint32_t>(data.size()));
        leafEntries.push_back(std::move(entry).bytes());
        for (std::size_t i = first; i < end; ++i) {
            data.u32(keywords[i].topicOffset);
        }
        first = end;
    }
    return KeywordFiles{buildSingleLeafBtree(BtreeShape{0x0002, 2048, "z24"}, leafEntries),
                        std::move(data).bytes()};
}

}  // namespace quor6::help
