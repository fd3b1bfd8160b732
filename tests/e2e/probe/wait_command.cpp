#include <windows.h>

#include <functional>
#include <string>

#include "commands.h"
#include "control_ids.h"
#include "output.h"
#include "window_query.h"

namespace quor6::probe {

namespace {

constexpr DWORD kPollIntervalMs = 50;

using Condition = std::function<bool()>;

std::optional<std::wstring> currentGuess() {
    const HWND main = findMainWindow();
    if (!main)
        return std::nullopt;
    return windowText(hostWindow(main, 1));
}

std::optional<long long> storedLines() {
    const HWND main = findMainWindow();
    if (!main)
        return std::nullopt;
    return listCount(GetDlgItem(main, kHistoryStoreId));
}

// Conditions: window, no-window, msgbox, no-msgbox, menu, no-menu, guess=<text>,
// store=<number of lines in the history store>.
std::optional<Condition> parseCondition(const std::string& text) {
    if (text == "window")
        return Condition([] { return findMainWindow() != nullptr; });
    if (text == "no-window")
        return Condition([] { return findMainWindow() == nullptr; });
    if (text == "msgbox") {
        return Condition([] { return findVisibleTopLevel(kDialogClass) != nullptr; });
    }
    if (text == "no-msgbox") {
        return Condition([] { return findVisibleTopLevel(kDialogClass) == nullptr; });
    }
    if (text == "menu")
        return Condition([] { return findVisibleTopLevel(kMenuClass) != nullptr; });
    if (text == "no-menu") {
        return Condition([] { return findVisibleTopLevel(kMenuClass) == nullptr; });
    }
    const std::string guessPrefix = "guess=";
    if (text.compare(0, guessPrefix.size(), guessPrefix) == 0) {
        const std::string wanted = text.substr(guessPrefix.size());
        return Condition([wanted] {
            const auto guess = currentGuess();
            return guess && toUtf8(*guess) == wanted;
        });
    }
    const std::string storePrefix = "store=";
    if (text.compare(0, storePrefix.size(), storePrefix) == 0) {
        const auto wanted = parseNumber(text.substr(storePrefix.size()));
        if (!wanted)
            return std::nullopt;
        return Condition([wanted] {
            const auto lines = storedLines();
            return lines && static_cast<unsigned long long>(*lines) == *wanted;
        });
    }
    return std::nullopt;
}

}  // namespace

int runWait(const Arguments& args) {
    if (args.size() != 2)
        return kUsage;
    const auto condition = parseCondition(args[0]);
    const auto timeoutMs = parseNumber(args[1]);
    if (!condition || !timeoutMs)
        return kUsage;
    const ULONGLONG deadline = GetTickCount64() + *timeoutMs;
    for (;;) {
        if ((*condition)())
            return kOk;
        if (GetTickCount64() >= deadline)
            break;
        Sleep(kPollIntervalMs);
    }
    printError("timed out waiting for " + args[0]);
    return kTimedOut;
}

}  // namespace quor6::probe
