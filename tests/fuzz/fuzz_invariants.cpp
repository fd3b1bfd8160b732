#include "tests/fuzz/fuzz_invariants.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/guess.h"

namespace quor6::fuzz {

namespace {

void require(bool condition, const char* what, const std::string& detail = {}) {
    if (condition)
        return;
    std::fprintf(stderr, "invariant broken: %s %s\n", what, detail.c_str());
    std::abort();
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// "12回目 1534 1S 2B ": a count without leading zero, the label, a guess and a possible score.
bool isHistoryLine(std::string_view line) {
    std::size_t digits = 0;
    while (digits < line.size() && isDigit(line[digits]))
        ++digits;
    if (digits == 0 || digits > 5 || line[0] == '0')
        return false;
    const std::string_view label = "回目 ";
    const std::string_view rest = line.substr(digits);
    if (rest.substr(0, label.size()) != label)
        return false;
    const std::string_view tail = rest.substr(label.size());
    if (tail.size() != 4 + 1 + 3 + 3 || !isWellFormedGuess(tail.substr(0, 4)))
        return false;
    const int strikes = tail[5] - '0';
    const int balls = tail[8] - '0';
    return tail[4] == ' ' && isDigit(tail[5]) && tail.substr(6, 2) == "S " && isDigit(tail[8]) &&
           tail.substr(9, 2) == "B " && strikes <= 3 && strikes + balls <= 4;
}

void checkAnswer(const PuzzleState& state) {
    const std::string& secret = state.SecretNumber;
    require(secret.size() == 4, "answer length", secret);
    std::set<char> seen(secret.begin(), secret.end());
    require(seen.size() == 4, "answer repeats a digit", secret);
    int flagged = 0;
    for (int d = 0; d < DigitPositionTable::kDigits; ++d) {
        for (int p = 0; p < DigitPositionTable::kPositions; ++p) {
            if (!state.DigitUseTable.at(d, p))
                continue;
            ++flagged;
            require(d != 0 && p != 0, "digit 0 or position 0 flagged", secret);
            require(secret[static_cast<std::size_t>(p - 1)] == '0' + d, "table and answer disagree",
                    secret);
        }
    }
    require(flagged == 4, "table entries", secret);
    for (const char c : secret)
        require(c >= '1' && c <= '9', "answer digit", secret);
}

void checkHistory(const fake::WindowModel& window) {
    const std::vector<std::string>& store = window.rirekiList;
    for (const std::string& line : store)
        require(isHistoryLine(line), "history line", line);
    const std::vector<std::string> newestFirst(store.rbegin(), store.rend());
    // After a solve the window list keeps the old lines until it is next rebuilt.
    require(store.empty() || window.rirekilist2 == newestFirst, "window list and store differ");
    for (std::size_t i = 0; i < window.historyEntries.size(); ++i) {
        const fake::HistoryEntry& entry = window.historyEntries[i];
        require(entry.visible == (i < newestFirst.size()), "submenu entry visibility",
                std::to_string(i));
        if (entry.visible) {
            require(entry.caption == newestFirst[i], "submenu caption", std::to_string(i));
        }
    }
    require(!window.rirekiListVisible, "the history store was shown");
}

// Checks the icons and the window's record; gives the number of our icons in the tray.
std::size_t checkTray(const fake::Harness& h) {
    std::size_t present = 0;
    for (int slot = 1; slot <= 5; ++slot) {
        const auto icon = h.toolkit.trayIcon(slot);
        if (!icon)
            continue;
        ++present;
        require(icon->image.has_value(), "an icon outside the icon set");
        if (slot == 5)
            require(*icon->image == IconHolder::PictureSW, "slot 5 lost the sphere");
    }
    require(present == h.toolkit.trayIconCount(), "an icon under a mixed-up host and id");

    const NotifyIconRecord& record = h.form.trayRecord();
    require(record.cbSize == 89 && record.uFlags == 7 && record.uCallbackMessage == 0x200,
            "tray record header");
    for (const char c : record.szTip)
        require(c == 0, "tray record tip");
    return present;
}

}  // namespace

void checkGameState(const fake::Harness& h) {
    const PuzzleState& state = h.state();
    require(isWellFormedGuess(h.guess()), "guess", std::string(h.guess()));
    checkAnswer(state);
    require(state.GuessCount >= 0 && state.GuessCount <= kMaxGuessCount, "guess count");
    require(state.VerdictShown == kTrue || state.VerdictShown == kFalse, "VerdictShown");
    require(state.SpinHold == kTrue || state.SpinHold == kFalse, "SpinHold");
    checkHistory(h.toolkit.window());
    checkTray(h);
    require(!h.toolkit.processEnded(), "a handler ran after the end");
}

void checkBetweenEvents(const fake::Harness& h, bool shellEverRefused) {
    checkGameState(h);
    // One line per counted guess: a guess judged twice would add two (the count stops at its
    // limit while the lines go on).
    const std::vector<std::string>& lines = h.toolkit.window().rirekiList;
    require(h.state().GuessCount == kMaxGuessCount ||
                lines.size() == static_cast<std::size_t>(h.state().GuessCount),
            "history lines and guess count differ");
    if (!shellEverRefused)
        require(checkTray(h) == 5, "an icon went missing");
}

void checkQuit(const fake::Harness& h, bool shellRefusesNow) {
    const std::vector<fake::Call>& calls = h.toolkit.calls();
    require(h.toolkit.processEnded(), "no end");
    require(h.toolkit.callsAfterEnd() == 0, "calls after the end");
    require(!calls.empty() && calls.back().kind == fake::CallKind::EndProcess, "last call");

    std::vector<std::size_t> requests;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].kind == fake::CallKind::ShellNotifyIcon)
            requests.push_back(i);
    }
    require(requests.size() >= 5, "fewer than five requests");
    const std::size_t firstDelete = requests[requests.size() - 5];
    const char* const expected[] = {"delete 1 PictureNum1", "delete 2 PictureNum2",
                                    "delete 3 PictureNum3", "delete 4 PictureNum4",
                                    "delete 5 PictureSW"};
    for (std::size_t k = 0; k < 5; ++k) {
        const fake::Call& call = calls[requests[requests.size() - 5 + k]];
        require(call.detail == expected[k], "quit deletes", call.detail);
    }
    for (std::size_t i = firstDelete; i < calls.size(); ++i) {
        require(calls[i].kind != fake::CallKind::Deliver, "a handler ran during the quit");
    }
    if (!shellRefusesNow)
        require(h.toolkit.trayIconCount() == 0, "icons left after the quit");
}

}  // namespace quor6::fuzz
