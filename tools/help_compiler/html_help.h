#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "help_source.h"

namespace quor6::help {

// The help as one self-contained HTML page (UTF-8, no scripts, no external files) for systems
// without the WinHelp viewer: every topic is a section whose id is its context name, so the
// jumps of the source become fragment links. `indexOrder` lists the topic numbers in the order
// of the keyword index (the topic titles, sorted as the viewer's index sorts them).
std::string renderHtmlHelp(const HelpSource& source, const std::vector<std::size_t>& indexOrder);

}  // namespace quor6::help
