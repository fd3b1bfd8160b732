#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quor6::tools {

enum class IconOutput { kIco, kPpm };

struct IconJob {
    IconOutput output = IconOutput::kIco;
    std::string mapPath;
    std::string outPath;
    int ppmSize = 0;  // the frame a preview shows
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Reads the command line (without the program name). Returns nothing for a malformed one.
std::optional<IconJob> parseIconCommandLine(const std::vector<std::string>& args);

// The whole tool: converts one map as the arguments say, reporting problems on `errors`.
// Returns the process exit code.
int runIconCompiler(const std::vector<std::string>& args, std::ostream& errors);

}  // namespace quor6::tools
