#pragma once

#include <string>

#include "font_file.h"
#include "help_source.h"
#include "text_records.h"

namespace quor6::help {

// How each kind of paragraph is shown: spacing, font and a leading mark (CP932).
struct ParagraphLook {
    ParagraphFormat format;
    HelpFont font;
    std::string prefix;
};

ParagraphLook lookOf(ParagraphStyle style);

// The title line every topic starts with; the viewer shows the header title only in its history.
ParagraphLook topicTitleLook();

}  // namespace quor6::help
