#include "paragraph_look.h"

namespace quor6::help {
namespace {

// Half-points. The bullet hangs: its first line starts one 10-point character to the left.
constexpr std::int16_t kBodySpaceBelow = 6;
constexpr std::int16_t kHeadingSpaceAbove = 10;
constexpr std::int16_t kHeadingSpaceBelow = 4;
constexpr std::int16_t kBulletIndent = 40;
constexpr std::int16_t kBulletHang = -20;
constexpr std::int16_t kBulletSpaceBelow = 3;
constexpr std::int16_t kTitleSpaceBelow = 10;

constexpr const char* kBulletMarkCp932 = "\x81\x45";  // "・"

}  // namespace

ParagraphLook lookOf(ParagraphStyle style) {
    switch (style) {
        case ParagraphStyle::Heading:
            return ParagraphLook{
                {kHeadingSpaceAbove, kHeadingSpaceBelow, {}, {}}, HelpFont::Heading, ""};
        case ParagraphStyle::Bullet:
            return ParagraphLook{{{}, kBulletSpaceBelow, kBulletIndent, kBulletHang},
                                 HelpFont::Body,
                                 kBulletMarkCp932};
        case ParagraphStyle::Body:
            break;
    }
    return ParagraphLook{{{}, kBodySpaceBelow, {}, {}}, HelpFont::Body, ""};
}

ParagraphLook topicTitleLook() {
    return ParagraphLook{{{}, kTitleSpaceBelow, {}, {}}, HelpFont::TopicTitle, ""};
}

}  // namespace quor6::help
