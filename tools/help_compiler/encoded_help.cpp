#include "encoded_help.h"

#include <map>
#include <stdexcept>

#include "context_hash.h"
#include "cp932.h"
#include "help_error.h"

namespace quor6::help {
namespace {

std::string toCp932At(std::string_view text, int line) {
    try {
        return utf8ToCp932(text);
    } catch (const std::invalid_argument& error) {
        throw HelpError(line, error.what());
    }
}

struct KnownContext {
    std::string name;
    int line = 0;
};

// Context hash → the topic that owns it, checked for duplicates and collisions.
std::map<std::int32_t, KnownContext> collectContexts(const HelpSource& source) {
    std::map<std::int32_t, KnownContext> contexts;
    for (const Topic& topic : source.topics) {
        const std::int32_t hash = contextHash(topic.contextName);
        const auto [existing, inserted] =
            contexts.emplace(hash, KnownContext{topic.contextName, topic.line});
        if (inserted) {
            continue;
        }
        const KnownContext& first = existing->second;
        if (first.name == topic.contextName) {
            throw HelpError(topic.line, "context name " + topic.contextName +
                                            " is already used on line " +
                                            std::to_string(first.line));
        }
        throw HelpError(topic.line, "context names " + topic.contextName + " and " + first.name +
                                        " (line " + std::to_string(first.line) +
                                        ") have the same hash; rename one");
    }
    return contexts;
}

EncodedParagraph encodeParagraph(const Paragraph& paragraph,
                                 const std::map<std::int32_t, KnownContext>& contexts) {
    EncodedParagraph encoded;
    encoded.style = paragraph.style;
    for (const TextRun& run : paragraph.runs) {
        EncodedRun encodedRun{toCp932At(run.text, paragraph.line), std::nullopt};
        if (!run.linkTarget.empty()) {
            const std::int32_t hash = contextHash(run.linkTarget);
            const auto target = contexts.find(hash);
            if (target == contexts.end() || target->second.name != run.linkTarget) {
                throw HelpError(paragraph.line,
                                "link to " + run.linkTarget + ", which is no topic's context name");
            }
            encodedRun.jumpHash = hash;
        }
        encoded.runs.push_back(std::move(encodedRun));
    }
    return encoded;
}

}  // namespace

EncodedHelp encodeHelp(const HelpSource& source) {
    const std::map<std::int32_t, KnownContext> contexts = collectContexts(source);
    EncodedHelp encoded;
    encoded.title = toCp932At(source.title, source.titleLine);
    for (const Topic& topic : source.topics) {
        EncodedTopic encodedTopic;
        encodedTopic.title = toCp932At(topic.title, topic.line);
        encodedTopic.contextHash = contextHash(topic.contextName);
        for (const Paragraph& paragraph : topic.paragraphs) {
            encodedTopic.paragraphs.push_back(encodeParagraph(paragraph, contexts));
        }
        encoded.topics.push_back(std::move(encodedTopic));
    }
    return encoded;
}

}  // namespace quor6::help
