#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quor6::probe {

using Arguments = std::vector<std::string>;

// Exit codes of the probe, so that a harness can tell "not there" from "broken".
enum ExitCode : int {
    kOk = 0,
    kNotFound = 1,     // the window, box or menu asked for is not there
    kUsage = 2,        // bad command line
    kCallFailed = 3,   // a window did not answer or a call was refused
    kTimedOut = 4,     // wait: the condition did not come true in time
    kUnsupported = 5,  // the Windows implementation lacks the call
};

// Accepts decimal or 0x-prefixed hexadecimal; anything else is a usage error.
std::optional<unsigned long long> parseNumber(const std::string& text);

// Observation: print key=value lines.
int runState(const Arguments& args);
int runMsgbox(const Arguments& args);
int runMenu(const Arguments& args);
int runTrayRect(const Arguments& args);
int runGuiResources(const Arguments& args);

// Actions: what the shell, the window system or a player would send the program.
int runPost(const Arguments& args);
int runFlood(const Arguments& args);
int runVerdicts(const Arguments& args);
int runCommand(const Arguments& args);
int runClose(const Arguments& args);
int runMinimize(const Arguments& args);
int runMsgboxOk(const Arguments& args);
int runMenuKey(const Arguments& args);
int runBroadcastTaskbarCreated(const Arguments& args);
int runDeleteIcons(const Arguments& args);

// Polls a condition inside one probe process, cheaper than starting the probe repeatedly.
int runWait(const Arguments& args);

}  // namespace quor6::probe
