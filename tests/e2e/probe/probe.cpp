// probe: a console program that runs beside quor6.exe in the same Wine prefix and reads or
// prods its windows for the end-to-end tests. Usage: probe <command> [arguments...]
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "commands.h"
#include "output.h"

namespace {

using quor6::probe::Arguments;

struct Command {
    std::string_view name;
    int (*run)(const Arguments&);
    std::string_view usage;
};

constexpr Command kCommands[] = {
    {"state", quor6::probe::runState, "state"},
    {"msgbox", quor6::probe::runMsgbox, "msgbox"},
    {"menu", quor6::probe::runMenu, "menu"},
    {"tray-rect", quor6::probe::runTrayRect, "tray-rect"},
    {"gui-resources", quor6::probe::runGuiResources, "gui-resources"},
    {"post", quor6::probe::runPost, "post <slot> <message> [wparam]"},
    {"flood", quor6::probe::runFlood, "flood <count> <seed>"},
    {"verdicts", quor6::probe::runVerdicts, "verdicts <count>"},
    {"command", quor6::probe::runCommand, "command <id>"},
    {"close", quor6::probe::runClose, "close"},
    {"minimize", quor6::probe::runMinimize, "minimize"},
    {"msgbox-ok", quor6::probe::runMsgboxOk, "msgbox-ok"},
    {"menu-key", quor6::probe::runMenuKey, "menu-key <virtual key>..."},
    {"broadcast-taskbar-created", quor6::probe::runBroadcastTaskbarCreated,
     "broadcast-taskbar-created"},
    {"delete-icons", quor6::probe::runDeleteIcons, "delete-icons"},
    {"wait", quor6::probe::runWait, "wait <condition> <timeout ms>"},
};

int usage() {
    std::fputs("usage: probe <command> [arguments]\n", stderr);
    for (const Command& command : kCommands) {
        std::fprintf(stderr, "  %.*s\n", static_cast<int>(command.usage.size()),
                     command.usage.data());
    }
    return quor6::probe::kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    quor6::probe::initOutput();
    if (argc < 2)
        return usage();
    const std::string_view name = argv[1];
    const Arguments args(argv + 2, argv + argc);
    for (const Command& command : kCommands) {
        if (command.name == name)
            return command.run(args);
    }
    return usage();
}
