// libFuzzer target: plays arbitrary sequences of tray messages, menu commands, window events
// and re-created trays against the window object, with events also arriving inside the
// stepping loops and inside tray requests, and checks the game's invariants after each one.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/byte_reader.h"
#include "tests/fuzz/fuzz_invariants.h"
#include "tests/unit/harness.h"

namespace quor6::fuzz {

namespace {

using fake::Event;

// Bounds that keep one run short: every scheduled event is delivered at most once, so the
// nesting of handlers can never grow deeper than the number of events.
constexpr int kMaxSteps = 64;
constexpr int kMaxScheduled = 32;
constexpr int kDoEventsLimit = 20000;

MenuCommand decodeCommand(std::uint8_t value) {
    switch (value % 8) {
        case 0:
            return MenuCommand::None;
        case 1:
            return MenuCommand::resetAnser;
        case 2:
            return MenuCommand::displayrireki;
        case 3:
            return MenuCommand::diplayHelp;
        case 4:
            return MenuCommand::mnuAbout;
        case 5:
            return MenuCommand::mnuEnd;
        case 6:
            return static_cast<MenuCommand>(110 + value / 8 % 10);  // rirekimnu(0..9)
        default:
            return static_cast<MenuCommand>(100 + value / 8);  // ids nobody handles
    }
}

Event decodeEvent(ByteReader& in) {
    const std::uint8_t kind = in.next();
    const std::uint8_t value = in.next();
    switch (kind % 8) {
        case 0:
        case 1:
        case 2:
        case 3:
            return Event::mouse(1 + value % 5, 0x200 + static_cast<std::uint32_t>(value / 5 % 7));
        case 4:
            return Event::menu(decodeCommand(value));
        case 5:
            return Event::taskbarCreated((value & 1) != 0);
        case 6:
            return Event::okButton();
        default:
            switch (value % 3) {
                case 0:
                    return Event::windowClose();
                case 1:
                    return Event::quitButton();
                default:
                    return Event::menu(MenuCommand::mnuEnd);
            }
    }
}

class Game {
  public:
    Game() {
        h_.toolkit.setDoEventsLimit(kDoEventsLimit);
        h_.toolkit.setDeliverInsideDeletes(false);
        // The player lets go of the button at last, wherever the script leaves it held.
        h_.toolkit.setIdleEvent(Event::mouse(1, 0x202));
        h_.start();
        h_.toolkit.setObserver([this] { checkGameState(h_); });
        checkBetweenEvents(h_, false);
    }

    // Plays the input; returns when it is used up or the program has quit.
    void play(ByteReader& in) {
        try {
            for (int step = 0; step < kMaxSteps && !in.atEnd(); ++step) {
                playStep(in);
                checkBetweenEvents(h_, shellEverRefused_);
            }
            h_.form.mnuEnd_Click();
        } catch (const fake::ProcessEnded&) {
            checkQuit(h_, shellRefusesNow_);
        }
    }

  private:
    void playStep(ByteReader& in) {
        const std::uint8_t op = in.next();
        const std::uint8_t a = in.next();
        switch (op % 10) {
            case 0:
            case 1:
            case 2:  // any slot, messages 0x1FF..0x207, out-of-table ones included
                h_.mouse(a % 7, 0x1FF + static_cast<std::uint32_t>(in.next() % 9));
                return;
            case 3:
                h_.toolkit.deliver(Event::menu(decodeCommand(a)));
                return;
            case 4:
                if (schedule())
                    h_.toolkit.onDoEvents(1 + a % 6, decodeEvent(in));
                return;
            case 5:
                if (schedule())
                    h_.toolkit.insideTrayRequest(1 + a % 6, decodeEvent(in));
                return;
            case 6:
                if (schedule()) {
                    h_.toolkit.atTime(h_.toolkit.now() + 350u * (a % 8), decodeEvent(in));
                }
                return;
            case 7:
                h_.toolkit.choosePopupCommand(decodeCommand(a));
                return;
            case 8:
                changeTheWorld(a, in);
                return;
            default:
                h_.toolkit.deliver(decodeEvent(in));
                return;
        }
    }

    // What happens outside the program: the next draws, the player's own guess, the shell.
    void changeTheWorld(std::uint8_t what, ByteReader& in) {
        const std::uint8_t value = in.next();
        switch (what % 5) {
            case 0:
                h_.random.queueDraw(static_cast<float>(value) / 256.0f);
                return;
            case 1:  // the player read the answer box and stepped the digits to it
                h_.toolkit.window().guess = h_.state().SecretNumber;
                return;
            case 2: {
                std::string guess;
                for (int i = 0; i < 4; ++i)
                    guess.push_back(static_cast<char>('0' + in.next() % 10));
                h_.toolkit.window().guess = guess;
                return;
            }
            case 3:
                shellRefusesNow_ = (value & 1) != 0;
                shellEverRefused_ = shellEverRefused_ || shellRefusesNow_;
                h_.toolkit.setShellRefusesRequests(shellRefusesNow_);
                return;
            default:
                h_.toolkit.setStartProcessSucceeds((value & 1) != 0);
                return;
        }
    }

    bool schedule() { return scheduled_++ < kMaxScheduled; }

    fake::Harness h_;
    int scheduled_ = 0;
    bool shellRefusesNow_ = false;
    bool shellEverRefused_ = false;
};

}  // namespace

}  // namespace quor6::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quor6::fuzz::ByteReader in(data, size);
    quor6::fuzz::Game game;
    game.play(in);
    return 0;
}
