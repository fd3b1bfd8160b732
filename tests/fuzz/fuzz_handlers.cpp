// libFuzzer target: any tray message, command and window event, also inside loops and requests.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/guess.h"
#include "core/history_line.h"
#include "core/verdict.h"
#include "tests/fuzz/byte_reader.h"
#include "tests/unit/harness.h"

namespace quor6::fuzz {
namespace {

using fake::Event;

void require(bool condition, const char* what, const std::string& detail = {}) {
    if (condition)
        return;
    std::fprintf(stderr, "invariant broken: %s %s\n", what, detail.c_str());
    std::abort();
}

// After every handler, also inside an interrupted one: a well-formed guess and answer, the history
// views in step, only our own icons in the tray (the fake shell refuses malformed records).
void checkGameState(const fake::Harness& h) {
    const std::string& secret = h.state().SecretNumber;
    require(isWellFormedGuess(h.guess()), "guess", std::string(h.guess()));
    // Four different digits 1..9, each at its place in the table, and nothing else there.
    int cells = 0;
    for (int cell = 0; cell < 10 * 5; ++cell)  // digits 0..9 at positions 0..4
        cells += h.state().DigitUseTable.at(cell / 5, cell % 5) ? 1 : 0;
    require(secret.size() == 4 && secret.find('0') == std::string::npos && cells == 4 &&
                scoreGuess(secret, h.state().DigitUseTable).kind == VerdictKind::Solved,
            "answer", secret);
    const fake::WindowModel& window = h.toolkit.window();
    const std::vector<std::string> newest(window.rirekiList.rbegin(), window.rirekiList.rend());
    // After a solve the window list keeps the old lines until it is next rebuilt.
    require((newest.empty() || window.rirekilist2 == newest) && !window.rirekiListVisible,
            "window list and store");
    for (std::size_t i = 0; i < window.historyEntries.size(); ++i) {
        const fake::HistoryEntry& entry = window.historyEntries[i];
        require(
            entry.visible ? i < newest.size() && entry.caption == newest[i] : i >= newest.size(),
            "submenu entry", std::to_string(i));
    }
    const std::string tray = h.toolkit.trayPicture();  // '-' absent, '?' not in the icon set
    require(tray.find('?') == std::string::npos && (tray[4] == '@' || tray[4] == '-') &&
                std::count(tray.begin(), tray.end(), '-') + h.toolkit.trayIconCount() == 5,
            "an icon outside the icon set or under a mixed-up host and id, or no sphere", tray);
}

// Between two events: the history store holds one line per counted guess, numbered in order
// and scored against the current answer; with a shell that never refused, all five icons.
void checkBetweenEvents(const fake::Harness& h, bool shellEverRefused) {
    checkGameState(h);
    const std::vector<std::string>& lines = h.toolkit.window().rirekiList;
    require(h.state().GuessCount == kMaxGuessCount ||
                lines.size() == static_cast<std::size_t>(h.state().GuessCount),
            "history lines and guess count differ");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string guess = lines[i].substr(lines[i].find(' ') + 1, 4);  // after "回目 "
        const Verdict verdict = scoreGuess(guess, h.state().DigitUseTable);
        const int number = i < kMaxGuessCount ? static_cast<int>(i) + 1 : kMaxGuessCount;
        require(verdict.kind == VerdictKind::Scored &&
                    lines[i] == historyLine(number, guess, verdict.strikes, verdict.balls),
                "history line", lines[i]);
    }
    require(shellEverRefused || h.toolkit.trayIconCount() == 5, "an icon went missing");
    // Each digit icon shows the position of its rank on screen, once the program could read it.
    const TraySlots& tray = h.form.tray();
    std::string screen = h.toolkit.screenOrder();
    screen.erase(std::remove(screen.begin(), screen.end(), '5'), screen.end());
    for (int position = 1; position <= 4; ++position) {
        const int slot = tray.slotOfPosition(position);
        require(!h.toolkit.placementKnown() || slot == screen[position - 1] - '0',
                "a position shown out of reading order", screen);
        const auto icon = h.toolkit.trayIcon(slot);
        require(shellEverRefused || (icon && icon->image == tray.shownImage(slot)),
                "an icon shows other than what its position should", std::to_string(slot));
    }
}

MenuCommand decodeCommand(std::uint8_t value) {
    // None, resetAnser .. mnuEnd, then rirekimnu(0..9), then ids that nobody handles.
    constexpr int kNamed[] = {0, 101, 102, 103, 104, 105};
    const int rest = value % 8 == 6 ? 110 + value / 8 % 10 : 100 + value / 8;
    return static_cast<MenuCommand>(value % 8 < 6 ? kNamed[value % 8] : rest);
}

Event decodeEvent(ByteReader& in) {
    const int kind = in.next() % 8;
    const std::uint8_t value = in.next();
    if (kind < 4)
        return Event::mouse(1 + value % 5, 0x200 + static_cast<std::uint32_t>(value / 5 % 7));
    const Event quits[] = {Event::windowClose(), Event::quitButton(),
                           Event::menu(MenuCommand::mnuEnd)};
    const Event others[] = {Event::menu(decodeCommand(value)),
                            value & 2 ? Event::trayRetryTimer() : Event::taskbarCreated(value & 1),
                            Event::okButton(), quits[value % 3]};
    return others[kind - 4];
}

// One run: the game, and what the input has done to the world around it.
struct Run {
    fake::Harness h;
    int scheduled = 0;
    bool shellRefusesNow = false;
    bool shellEverRefused = false;
};

// What happens outside the program: the next draws, the player's own guess, the shell.
void changeTheWorld(Run& run, std::uint8_t what, std::uint8_t value, ByteReader& in) {
    std::string& guess = run.h.toolkit.window().guess;
    switch (what % 6) {
        case 0:
            return run.h.random.queueDraw(static_cast<float>(value) / 256.0f);
        case 1:  // the player read the answer box and stepped the digits to it
            guess = run.h.state().SecretNumber;
            return;
        case 2:
            for (char& digit : guess.assign(4, '0'))
                digit = static_cast<char>('0' + in.next() % 10);
            return;
        case 3:
            run.shellRefusesNow = (value & 1) != 0;
            run.shellEverRefused = run.shellEverRefused || run.shellRefusesNow;
            return run.h.toolkit.setShellRefusesRequests(run.shellRefusesNow);
        case 4:
            return run.h.toolkit.setStartProcessSucceeds((value & 1) != 0);
        default: {  // the shell lays the icons out anew, or the player drags them
            std::string slots = "12345";
            for (std::size_t i = slots.size(); i > 1; --i)
                std::swap(slots[i - 1], slots[in.next() % i]);
            const char* const overflows[] = {"", "", "", "12", "345", "5", "", ""};
            const std::int32_t failure = value >= 0xE0 ? std::int32_t{-2147467259} : 0;  // E_FAIL
            return run.h.toolkit.placeIcons(
                slots,
                value & 1 ? fake::FakeToolkit::Layout::Column : fake::FakeToolkit::Layout::Row,
                overflows[value / 2 % 8], failure);
        }
    }
}

void playStep(Run& run, ByteReader& in) {
    fake::FakeToolkit& toolkit = run.h.toolkit;
    const int op = in.next() % 10;
    const std::uint8_t a = in.next();
    // Every event is scheduled once at most, so the nesting of handlers stays bounded.
    if (op >= 4 && op <= 6 && run.scheduled++ >= 32)
        return;
    if (op < 3)  // any slot, messages 0x1FF..0x207, out-of-table ones included
        return run.h.mouse(a % 7, 0x1FF + static_cast<std::uint32_t>(in.next() % 9));
    switch (op) {
        case 3:
            return toolkit.deliver(Event::menu(decodeCommand(a)));
        case 4:  // not "in the nth doEvents": where a message waits shifts that count
            return toolkit.duringPopup(decodeEvent(in));
        case 5:
            return toolkit.insideTrayRequest(1 + a % 6, decodeEvent(in));
        case 6:
            return toolkit.atTime(toolkit.now() + 350u * (a % 8), decodeEvent(in));
        case 7:
            return toolkit.choosePopupCommand(decodeCommand(a));
        case 8:
            return changeTheWorld(run, a, in.next(), in);
        default:
            return toolkit.deliver(decodeEvent(in));
    }
}

// The end of a run as a player sees it (the submenu mirrors the history, see checkGameState).
std::string outcome(const fake::Harness& h) {
    const PuzzleState& state = h.state();
    const fake::WindowModel& window = h.toolkit.window();
    std::string seen = std::string(h.guess()) + ' ' + state.SecretNumber + ' ' +
                       std::to_string(state.GuessCount) + ' ' + std::to_string(state.VerdictShown) +
                       std::to_string(state.SpinHold) + ' ' + h.toolkit.trayPicture() +
                       (window.visible ? " shown" : " hidden");
    for (const std::string& line : window.rirekiList)
        seen += " [" + line + "]";
    for (const std::string& line : window.rirekilist2)
        seen += " <" + line + ">";
    namespace kind = fake::CallKind;
    for (const std::string& call : h.toolkit.trace(
             {kind::MessageBox, kind::PopupTrayMenu, kind::ShowForm, kind::SetListVisible,
              kind::StartProcess, kind::OpenDocument, kind::EndProcess}))
        seen += "\n" + call;
    return seen;
}

// Plays the input until it is used up (then quits) or the program has quit on its own, with
// the shell delivering its messages inside the tray requests or holding them until after.
std::string play(const std::uint8_t* data, std::size_t size, bool deliverAfterRequests) {
    ByteReader in(data, size);
    Run run;
    run.h.toolkit.setDoEventsLimit(20000);
    run.h.toolkit.setDeliverAfterRequests(deliverAfterRequests);
    // A button the script leaves held is let go after a few steps: a digit stepping on shows.
    run.h.toolkit.setIdleEvent(fake::Event::mouse(1, kLeftButtonUp), 4);
    run.h.start();
    run.h.toolkit.setObserver([&run] { checkGameState(run.h); });
    try {
        for (int step = 0; step < 64 && !in.atEnd(); ++step) {
            checkBetweenEvents(run.h, run.shellEverRefused);
            playStep(run, in);
        }
        checkBetweenEvents(run.h, run.shellEverRefused);
        run.h.form.mnuEnd_Click();
    } catch (const fake::ProcessEnded&) {
        // The quit's own order (five deletes, then the end) is the unit tests' quit table.
        require(run.h.toolkit.callsAfterEnd() == 0 &&
                    (run.shellRefusesNow || run.h.toolkit.trayIconCount() == 0),
                "the program ran on after its end, or left icons behind");
    }
    if (std::getenv("QUOR6_FUZZ_TRACE") != nullptr)  // to read what a failing input did
        for (const std::string& call : run.h.toolkit.traceAll())
            std::fprintf(stderr, "%d %s\n", deliverAfterRequests ? 1 : 0, call.c_str());
    return outcome(run.h);
}

}  // namespace
}  // namespace quor6::fuzz

// The same script twice: where the shell delivers a message (inside the request it fell into,
// as Wine may, or just after it, as Windows does) must not change what the player gets.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quor6::fuzz;
    const std::string inside = play(data, size, false);
    const std::string after = play(data, size, true);
    require(inside == after, "the outcome depends on when the shell delivers its messages",
            "\ninside the requests:\n" + inside + "\n\njust after them:\n" + after);
    return 0;
}
