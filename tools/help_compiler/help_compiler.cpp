#include "help_compiler.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

#include "context_file.h"
#include "encoded_help.h"
#include "font_file.h"
#include "help_error.h"
#include "help_file.h"
#include "html_help.h"
#include "keyword_files.h"
#include "paragraph_look.h"
#include "source_parser.h"
#include "system_file.h"
#include "topic_layout.h"

namespace quor6::help {
namespace {

void appendParagraph(std::vector<TopicRecord>& records, std::vector<EncodedRun> runs,
                     const ParagraphLook& look) {
    if (!look.prefix.empty()) {
        runs.insert(runs.begin(), EncodedRun{look.prefix, std::nullopt});
    }
    for (TopicRecord& record :
         buildTextRecords(runs, look.format, static_cast<std::uint16_t>(look.font))) {
        records.push_back(std::move(record));
    }
}

TopicContent topicContent(const EncodedTopic& topic) {
    TopicContent content;
    content.title = topic.title;
    // The title line also gives every topic text of its own, which keeps topic offsets apart.
    appendParagraph(content.textRecords, {EncodedRun{topic.title, std::nullopt}}, topicTitleLook());
    for (const EncodedParagraph& paragraph : topic.paragraphs) {
        appendParagraph(content.textRecords, paragraph.runs, lookOf(paragraph.style));
    }
    return content;
}

}  // namespace

Bytes compileHelp(std::string_view sourceUtf8) {
    const EncodedHelp help = encodeHelp(parseHelpSource(sourceUtf8));

    std::vector<TopicContent> topics;
    for (const EncodedTopic& topic : help.topics) {
        topics.push_back(topicContent(topic));
    }
    const TopicLayout layout = layOutTopics(topics);

    std::vector<ContextEntry> contexts;
    std::vector<Keyword> keywords;
    for (std::size_t i = 0; i < help.topics.size(); ++i) {
        contexts.push_back(ContextEntry{help.topics[i].contextHash, layout.topicOffsets[i]});
        // Topic titles make the index, the one topic list that needs no hotspot to open.
        keywords.push_back(Keyword{help.topics[i].title, layout.topicOffsets[i]});
    }
    Bytes contextFile;
    KeywordFiles keywordFiles;
    try {
        contextFile = buildContextFile(contexts);
        keywordFiles = buildKeywordFiles(keywords);
    } catch (const std::length_error&) {
        throw HelpError(0, "too many topics, or too long topic titles, for one index page");
    }

    return assembleHelpFile({
        {"|SYSTEM", buildSystemFile(help.title, layout.topicOffsets.front())},
        {"|FONT", buildFontFile()},
        {"|CONTEXT", std::move(contextFile)},
        {"|KWBTREE", std::move(keywordFiles.btree)},
        {"|KWDATA", std::move(keywordFiles.data)},
        {"|TOPIC", layout.topicFile},
    });
}

std::string compileHtmlHelp(std::string_view sourceUtf8) {
    // Refuses all that the .hlp cannot hold too, so that both files come from one source.
    compileHelp(sourceUtf8);
    const HelpSource source = parseHelpSource(sourceUtf8);
    const EncodedHelp encoded = encodeHelp(source);
    // The index lists the topic titles in the order the help viewer's index shows them.
    std::vector<std::size_t> indexOrder(encoded.topics.size());
    std::iota(indexOrder.begin(), indexOrder.end(), std::size_t{0});
    std::stable_sort(indexOrder.begin(), indexOrder.end(), [&](std::size_t a, std::size_t b) {
        return keywordLess(encoded.topics[a].title, encoded.topics[b].title);
    });
    return renderHtmlHelp(source, indexOrder);
}

}  // namespace quor6::help
