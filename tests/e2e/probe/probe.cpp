// Usage: probe <command> [arguments...]; the commands are in the table below.
#include "probe.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <utility>

namespace quor6::probe {

// The commands by name; a const table, so internal to this file.
const std::pair<std::string_view, int (*)(const Arguments&)> kCommands[] = {
    {"state", runState},
    {"msgbox", runMsgbox},
    {"menu", runMenu},
    {"wait", runWait},              // wait <condition> <timeout ms>
    {"post", runPost},              // post <slot> <message> [wparam] | post -
    {"syscommand", runSysCommand},  // syscommand minimize|close
    {"msgbox-ok", runMsgboxOk},
    {"keys", runKeys},  // keys [+]<virtual key>...
    {"broadcast-taskbar-created", runBroadcastTaskbarCreated},
    {"delete-icons", runDeleteIcons},
};

std::optional<unsigned long long> parseNumber(const std::string& text) {
    std::size_t used = 0;
    try {
        const unsigned long long value = std::stoull(text, &used, 0);
        return used == text.size() ? std::optional(value) : std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string toUtf8(std::wstring_view text) {
    const int wide = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, out.data(), length, nullptr, nullptr);
    return out;
}

void printValue(std::string_view key, std::string_view value) {
    std::string line = std::string(key) + "=";
    for (const char c : value)
        line += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

void printValue(std::string_view key, std::wstring_view value) {
    printValue(key, toUtf8(value));
}

void printValue(std::string_view key, long long value) {
    printValue(key, std::string_view(std::to_string(value)));
}

}  // namespace quor6::probe

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // else the C runtime writes every LF as CR LF
    const std::string_view name = argc >= 2 ? argv[1] : "";
    for (const auto& [command, run] : quor6::probe::kCommands) {
        if (command == name)
            return run(quor6::probe::Arguments(argv + 2, argv + argc));
    }
    std::fputs("usage: probe <command> [arguments]; see probe.cpp\n", stderr);
    return quor6::probe::kUsage;
}
