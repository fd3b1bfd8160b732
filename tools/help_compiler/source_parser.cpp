#include "source_parser.h"

#include <optional>
#include <utility>

#include "context_hash.h"
#include "help_error.h"

namespace quor6::help {
namespace {

constexpr std::string_view kTitlePrefix = "title:";
constexpr std::string_view kTopicPrefix = "# ";
constexpr std::string_view kHeadingPrefix = "## ";
constexpr std::string_view kBulletPrefix = "- ";

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string_view trimBlanks(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

// The markup of one paragraph, its lines already joined, with the source line each part came
// from so that inline errors point at the right line.
class PendingParagraph {
  public:
    PendingParagraph(ParagraphStyle style, int line) : style_(style), firstLine_(line) {}

    void addLine(std::string_view text, int line) {
        if (!markup_.empty() && isAscii(markup_.back()) && isAscii(text.front())) {
            markup_ += ' ';
        }
        lineStarts_.emplace_back(markup_.size(), line);
        markup_ += text;
    }

    Paragraph parse() const;

  private:
    [[noreturn]] void fail(std::size_t offset, const std::string& message) const;
    void addText(std::vector<TextRun>& runs, std::string text, std::string linkTarget) const;
    // Reads literal text up to (not including) one of the stop characters; escapes resolved.
    std::string readText(std::size_t& at, std::string_view stops) const;

    ParagraphStyle style_;
    int firstLine_;
    std::string markup_;
    std::vector<std::pair<std::size_t, int>> lineStarts_;
};

void PendingParagraph::fail(std::size_t offset, const std::string& message) const {
    int line = firstLine_;
    for (const auto& [start, sourceLine] : lineStarts_) {
        if (start <= offset) {
            line = sourceLine;
        }
    }
    throw HelpError(line, message);
}

std::string PendingParagraph::readText(std::size_t& at, std::string_view stops) const {
    std::string text;
    while (at < markup_.size() && stops.find(markup_[at]) == std::string_view::npos) {
        const char c = markup_[at];
        if (c == '\\') {
            const char next = at + 1 < markup_.size() ? markup_[at + 1] : '\0';
            if (std::string_view("[]()\\").find(next) == std::string_view::npos || next == '\0') {
                fail(at, "unknown escape: only \\[ \\] \\( \\) and \\\\ are allowed");
            }
            text += next;
            at += 2;
        } else {
            text += c;
            ++at;
        }
    }
    return text;
}

void PendingParagraph::addText(std::vector<TextRun>& runs, std::string text,
                               std::string linkTarget) const {
    if (text.empty()) {
        return;
    }
    if (!runs.empty() && linkTarget.empty() && runs.back().linkTarget.empty()) {
        runs.back().text += text;
        return;
    }
    runs.push_back(TextRun{std::move(text), std::move(linkTarget)});
}

Paragraph PendingParagraph::parse() const {
    Paragraph paragraph;
    paragraph.style = style_;
    paragraph.line = firstLine_;
    std::size_t at = 0;
    while (at < markup_.size()) {
        if (markup_[at] == ']') {
            fail(at, "']' without '[' (write \\] for the character)");
        }
        if (markup_[at] != '[') {
            addText(paragraph.runs, readText(at, "[]"), "");
            continue;
        }
        const std::size_t linkStart = at;
        ++at;
        std::string label = readText(at, "[]");
        if (at >= markup_.size() || markup_[at] != ']') {
            fail(linkStart, "a link is [text](CONTEXT_NAME); ']' is missing");
        }
        if (label.empty()) {
            fail(linkStart, "a link needs a text between [ and ]");
        }
        ++at;
        if (at >= markup_.size() || markup_[at] != '(') {
            fail(linkStart, "a link is [text](CONTEXT_NAME); '(' must follow ']'");
        }
        const std::size_t nameStart = at + 1;
        const std::size_t close = markup_.find(')', nameStart);
        if (close == std::string::npos) {
            fail(linkStart, "a link is [text](CONTEXT_NAME); ')' is missing");
        }
        std::string target = markup_.substr(nameStart, close - nameStart);
        if (!isValidContextName(target)) {
            fail(linkStart, "link target '" + target + "' is not a context name ([A-Za-z0-9._])");
        }
        addText(paragraph.runs, std::move(label), std::move(target));
        at = close + 1;
    }
    return paragraph;
}

class SourceParser {
  public:
    HelpSource parse(std::string_view text);

  private:
    void parseLine(std::string_view line, int lineNumber);
    void parseTitle(std::string_view line, int lineNumber);
    void parseTopicLine(std::string_view line, int lineNumber);
    Topic& currentTopic(int lineNumber);
    void startParagraph(ParagraphStyle style, std::string_view text, int lineNumber);
    void finishParagraph();

    HelpSource source_;
    bool haveTitle_ = false;
    std::optional<PendingParagraph> pending_;
};

HelpSource SourceParser::parse(std::string_view text) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (startsWith(text, kBom)) {
        text.remove_prefix(kBom.size());
    }
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        parseLine(line, lineNumber);
    }
    finishParagraph();
    if (!haveTitle_) {
        throw HelpError(0, "the source has no 'title:' line");
    }
    if (source_.topics.empty()) {
        throw HelpError(0, "the source has no topic ('# title {CONTEXT_NAME}')");
    }
    return std::move(source_);
}

void SourceParser::parseLine(std::string_view rawLine, int lineNumber) {
    for (const char c : rawLine) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            throw HelpError(lineNumber, "control character in the source");
        }
    }
    const std::string_view line = trimBlanks(rawLine);
    if (line.empty()) {
        finishParagraph();
    } else if (line.front() == ';') {
        // A comment neither ends nor continues a paragraph.
    } else if (startsWith(line, kTitlePrefix)) {
        parseTitle(line, lineNumber);
    } else if (startsWith(line, kHeadingPrefix)) {
        finishParagraph();
        startParagraph(ParagraphStyle::Heading, line.substr(kHeadingPrefix.size()), lineNumber);
        finishParagraph();
    } else if (startsWith(line, kTopicPrefix)) {
        parseTopicLine(line, lineNumber);
    } else if (line == "##") {
        throw HelpError(lineNumber, "a heading needs a text after '## '");
    } else if (line.front() == '#') {
        throw HelpError(lineNumber,
                        "a line starting with '#' must be '# title {NAME}' or '## heading'");
    } else if (startsWith(line, kBulletPrefix)) {
        finishParagraph();
        startParagraph(ParagraphStyle::Bullet, line.substr(kBulletPrefix.size()), lineNumber);
    } else if (pending_) {
        pending_->addLine(line, lineNumber);
    } else {
        startParagraph(ParagraphStyle::Body, line, lineNumber);
    }
}

void SourceParser::parseTitle(std::string_view line, int lineNumber) {
    if (haveTitle_) {
        throw HelpError(lineNumber, "a second 'title:' line");
    }
    if (!source_.topics.empty()) {
        throw HelpError(lineNumber, "the 'title:' line must come before the first topic");
    }
    const std::string_view title = trimBlanks(line.substr(kTitlePrefix.size()));
    if (title.empty()) {
        throw HelpError(lineNumber, "the help title is empty");
    }
    source_.title = std::string(title);
    source_.titleLine = lineNumber;
    haveTitle_ = true;
}

void SourceParser::parseTopicLine(std::string_view line, int lineNumber) {
    finishParagraph();
    const std::string_view rest = trimBlanks(line.substr(kTopicPrefix.size()));
    const std::size_t open = rest.rfind('{');
    if (rest.empty() || rest.back() != '}' || open == std::string_view::npos) {
        throw HelpError(lineNumber, "a topic line is '# title {CONTEXT_NAME}'");
    }
    Topic topic;
    topic.title = std::string(trimBlanks(rest.substr(0, open)));
    topic.contextName = std::string(rest.substr(open + 1, rest.size() - open - 2));
    topic.line = lineNumber;
    if (topic.title.empty()) {
        throw HelpError(lineNumber, "the topic has no title");
    }
    if (!isValidContextName(topic.contextName)) {
        throw HelpError(lineNumber, "'" + topic.contextName +
                                        "' is not a context name (letters, digits, '.', '_')");
    }
    source_.topics.push_back(std::move(topic));
}

Topic& SourceParser::currentTopic(int lineNumber) {
    if (source_.topics.empty()) {
        throw HelpError(lineNumber, "text before the first topic ('# title {CONTEXT_NAME}')");
    }
    return source_.topics.back();
}

void SourceParser::startParagraph(ParagraphStyle style, std::string_view text, int lineNumber) {
    currentTopic(lineNumber);
    text = trimBlanks(text);
    if (text.empty()) {
        throw HelpError(lineNumber, "a heading or bullet needs text");
    }
    pending_.emplace(style, lineNumber);
    pending_->addLine(text, lineNumber);
}

void SourceParser::finishParagraph() {
    if (!pending_) {
        return;
    }
    const PendingParagraph pending = std::move(*pending_);
    pending_.reset();
    source_.topics.back().paragraphs.push_back(pending.parse());
}

}  // namespace

HelpSource parseHelpSource(std::string_view text) {
    return SourceParser().parse(text);
}

}  // namespace quor6::help
