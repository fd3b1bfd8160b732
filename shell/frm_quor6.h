#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/puzzle_state.h"
#include "core/random_source.h"
#include "platform/toolkit.h"
#include "tray/held_messages.h"
#include "tray/tray_slots.h"

namespace quor6 {

// Texts the program shows in message boxes (UTF-8).
inline constexpr std::string_view kAlreadyRunningText = "既に起動されています";
inline constexpr std::string_view kHelpViewerFailedText =
    "ヘルプを開けませんでした。ヘルプ ビューア (Winhlp32.exe) も、"
    "quor6.html を表示するブラウザーも起動できませんでした。\n"
    "ゲームはそのまま続けられます。";
inline constexpr std::string_view kHelpFileName = "quor6.hlp";
inline constexpr std::string_view kHelpPageName = "quor6.html";
inline constexpr std::string_view kHelpViewerName = "Winhlp32.exe";

// The one window object of the program: it owns the puzzle state and the tray record for the
// whole run, and its members are the event handlers. Everything it shows or asks of the
// window system goes through the toolkit.
class frmQuor6 final : private MessageSink {
  public:
    frmQuor6(Toolkit& toolkit, RandomSource& random) : toolkit_(toolkit), random_(random) {}

    frmQuor6(const frmQuor6&) = delete;
    frmQuor6& operator=(const frmQuor6&) = delete;

    // Life cycle.
    void Form_Load();
    void Form_Unload(std::int16_t& Cancel);
    void Command2_Click();
    void mnuEnd_Click();
    // The window system closes the window (close command, log-off, shutdown).
    void closeByWindowSystem();
    // The message loop, after Form_Load; gives back the exit code if something else ends it.
    int runMessageLoop();

    // Tray menu and window commands.
    void resetAnser_Click();
    void mnuAbout_Click();
    void displayrireki_Click();
    void diplayHelp_Click();
    void Command1_Click();
    void runMenuCommand(MenuCommand command);

    // Tray mouse messages, already recovered to their message number.
    void text1_MouseMove(std::uint32_t message) { onTrayMouse(1, message); }
    void text2_MouseMove(std::uint32_t message) { onTrayMouse(2, message); }
    void text3_MouseMove(std::uint32_t message) { onTrayMouse(3, message); }
    void text4_MouseMove(std::uint32_t message) { onTrayMouse(4, message); }
    void text5_MouseMove(std::uint32_t message) { onTrayMouse(5, message); }
    void onTrayMouse(int slot, std::uint32_t message) {
        receive({WindowMessage::Kind::TrayMouse, slot, message});
    }
    // Everything the window system hands over comes in here. It runs at once, or, while the
    // program waits on the tray or older messages still wait, just after them.
    void receive(const WindowMessage& message) { heldMessages_.receive(message); }

    // The shell's tray was (re)created: put the five icons back.
    void onTaskbarCreated();
    // Icons the shell refused at start-up are offered again until it has taken them all.
    void onTrayRetryTimer();

    const PuzzleState& state() const { return state_; }
    const TraySlots& tray() const { return tray_; }

    // The help command line for an executable directory, exactly as it is started.
    static std::string helpCommandLine(std::string_view executableDirectory);

  private:
    void handleMessage(const WindowMessage& message) override;
    void handleTrayPress(int slot, std::uint32_t message);
    void actOnTrayPress(int slot, const int& position, std::uint32_t message);
    // Runs `body` so that no tray message cuts into it; those that arrive wait until it ends.
    template <typename Body>
    void uninterrupted(Body body) {
        heldMessages_.begin();
        body();
        heldMessages_.end();
    }
    void loadForm();
    // Every icon the program shows, offered to the tray again; true once the tray has them all.
    bool putIconsBack();
    void startNewPuzzle();
    void showJudgement();
    void newSecret();
    void judgeGuess();
    void addHistory(std::string_view line);
    void clearHistory(bool withWindowList);
    void fillWindowListFromStore();
    void spinDigitUp(const int& position);
    void spinDigitDown(const int& position);
    void openTrayMenu();
    void showAnswer();
    void showMessageBox(std::string_view text);
    void quit();
    // Shows four pictures at guess positions 1..4, position 1 first.
    void showSlots(IconHolder slot1, IconHolder slot2, IconHolder slot3, IconHolder slot4);
    Handle32 host(int slot) const { return toolkit_.textBoxHandle(slot); }

    Toolkit& toolkit_;
    RandomSource& random_;
    PuzzleState state_;
    HeldMessages heldMessages_{*this};
    TraySlots tray_{toolkit_, heldMessages_};
    // While the tray menu is being opened or is open, a right double-click that the shell
    // reports closes it, and the answer is shown once the menu is gone.
    bool trayMenuOpen_ = false;
    bool answerAfterTrayMenu_ = false;
};

}  // namespace quor6
