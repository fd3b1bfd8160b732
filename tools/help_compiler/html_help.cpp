#include "html_help.h"

#include <string_view>

namespace quor6::help {
namespace {

// Contains '-', which no context name may, so no topic can take this id.
constexpr std::string_view kIndexId = "quor6-index";
constexpr std::string_view kIndexTitle = "索引";

// Readable from a phone to a wide monitor: one column of limited width that wraps anywhere.
constexpr std::string_view kStyle =
    "body{margin:0 auto;max-width:42em;padding:0 1em 2em;line-height:1.7;color:#222;"
    "background:#fff;font-family:\"Yu Gothic UI\",Meiryo,\"Hiragino Sans\",sans-serif;"
    "overflow-wrap:anywhere}"
    "h1{font-size:1.5em;margin:.8em 0 0;padding-bottom:.2em;border-bottom:2px solid #639}"
    "section{margin-top:2em;border-top:1px solid #ccc}"
    "h2{font-size:1.25em}h3{font-size:1.05em;margin:1.2em 0 .3em}"
    "ul{padding-left:1.5em}a{color:#52287f}.nav{font-size:.9em;text-align:right}";

void appendEscaped(std::string& html, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '&':
                html += "&amp;";
                break;
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '"':
                html += "&quot;";
                break;
            default:
                html += c;
        }
    }
}

void appendLink(std::string& html, std::string_view id, std::string_view text) {
    html += "<a href=\"#";
    html += id;
    html += "\">";
    appendEscaped(html, text);
    html += "</a>";
}

void appendRuns(std::string& html, const std::vector<TextRun>& runs) {
    for (const TextRun& run : runs) {
        if (run.linkTarget.empty()) {
            appendEscaped(html, run.text);
        } else {
            appendLink(html, run.linkTarget, run.text);
        }
    }
}

// Consecutive bullets make one list.
void appendParagraphs(std::string& html, const std::vector<Paragraph>& paragraphs) {
    bool inList = false;
    for (const Paragraph& paragraph : paragraphs) {
        const bool bullet = paragraph.style == ParagraphStyle::Bullet;
        if (bullet != inList) {
            html += bullet ? "<ul>\n" : "</ul>\n";
            inList = bullet;
        }
        const std::string_view tag = bullet                                       ? "li"
                                     : paragraph.style == ParagraphStyle::Heading ? "h3"
                                                                                  : "p";
        html += '<';
        html += tag;
        html += '>';
        appendRuns(html, paragraph.runs);
        html += "</";
        html += tag;
        html += ">\n";
    }
    if (inList) {
        html += "</ul>\n";
    }
}

void appendTopic(std::string& html, const Topic& topic, const Topic& contents) {
    html += "<section id=\"";
    html += topic.contextName;
    html += "\">\n<h2>";
    appendEscaped(html, topic.title);
    html += "</h2>\n";
    appendParagraphs(html, topic.paragraphs);
    // What the viewer's Contents and Index buttons offer, at the foot of every topic.
    html += "<p class=\"nav\">";
    if (&topic != &contents) {
        appendLink(html, contents.contextName, contents.title);
        html += " ・ ";
    }
    appendLink(html, kIndexId, kIndexTitle);
    html += "</p>\n";
    html += "</section>\n";
}

}  // namespace

std::string renderHtmlHelp(const HelpSource& source, const std::vector<std::size_t>& indexOrder) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
    appendEscaped(html, source.title);
    html += "</title>\n<style>";
    html += kStyle;
    html += "</style>\n</head>\n<body>\n<h1>";
    appendEscaped(html, source.title);
    html += "</h1>\n";
    for (const Topic& topic : source.topics) {
        appendTopic(html, topic, source.topics.front());
    }
    html += "<section id=\"";
    html += kIndexId;
    html += "\">\n<h2>";
    html += kIndexTitle;
    html += "</h2>\n<ul>\n";
    for (const std::size_t topic : indexOrder) {
        html += "<li>";
        appendLink(html, source.topics[topic].contextName, source.topics[topic].title);
        html += "</li>\n";
    }
    html += "</ul>\n</section>\n</body>\n</html>\n";
    return html;
}

}  // namespace quor6::help
