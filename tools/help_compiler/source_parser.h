#pragma once

#include <string_view>

#include "help_source.h"

namespace quor6::help {

// Reads the help markup (UTF-8, LF or CRLF line ends, an optional BOM):
//
//   ; comment                   a line starting with ';' is ignored
//   title: quor6 ヘルプ          the help title, once, before the first topic (required)
//   # 目次 {IDH_CONTENTS}        starts a topic: its title and context name ([A-Za-z0-9._])
//   ## 見出し                    a bold heading paragraph
//   - 項目                       a bullet paragraph
//   text                        a body paragraph; consecutive lines form one paragraph
//
// A blank line ends a paragraph. Lines of one paragraph are joined without a blank unless both
// sides of the join are ASCII, as Japanese text has no blanks between words. Inside a paragraph
// [text](CONTEXT_NAME) is a jump to the topic with that context name, and \[ \] \( \) \\ are
// the literal characters. Throws HelpError for anything else that is not understood.
HelpSource parseHelpSource(std::string_view text);

}  // namespace quor6::help
