#pragma once

#include <string>
#include <vector>

namespace quor6::help {

// The help text as written, still in UTF-8: what the parser understood, before any encoding.

struct TextRun {
    std::string text;
    std::string linkTarget;  // context name of the topic a jump leads to; empty for plain text
};

enum class ParagraphStyle { Body, Heading, Bullet };

struct Paragraph {
    ParagraphStyle style = ParagraphStyle::Body;
    std::vector<TextRun> runs;
    int line = 0;
};

struct Topic {
    std::string title;
    std::string contextName;
    std::vector<Paragraph> paragraphs;
    int line = 0;
};

// The first topic is the one the viewer opens with.
struct HelpSource {
    std::string title;
    int titleLine = 0;
    std::vector<Topic> topics;
};

}  // namespace quor6::help
