#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/puzzle_state.h"
#include "core/random_source.h"
#include "platform/toolkit.h"
#include "tray/held_presses.h"
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
class frmQuor6 final : private TrayPressSink {
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
    // Runs at once, or after the handler that is putting a verdict or a new puzzle into the
    // tray has finished (the shell can deliver a message while that handler waits on it).
    void onTrayMouse(int slot, std::uint32_t message) { heldPresses_.receive(slot, message); }

    // The shell's tray was (re)created: put the five icons back.
    void onTaskbarCreated();
    // Icons the shell refused at start-up are offered again until it has taken them all.
    void onTrayRetryTimer();

    const PuzzleState& state() const { return state_; }

    // The help command line for an executable directory, exactly as it is started.
    static std::string helpCommandLine(std::string_view executableDirectory);

  private:
    void handleTrayPress(int slot, std::uint32_t message) override;
    // Runs `body` so that no tray message cuts into it; those that arrive wait until it ends.
    template <typename Body>
    void uninterrupted(Body body) {
        heldPresses_.begin();
        body();
        heldPresses_.end();
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
    void quit();
    void showSlots(IconHolder slot1, IconHolder slot2, IconHolder slot3, IconHolder slot4);
    Handle32 host(int slot) const { return toolkit_.textBoxHandle(slot); }

    Toolkit& toolkit_;
    RandomSource& random_;
    PuzzleState state_;
    TraySlots tray_{toolkit_};
    HeldPresses heldPresses_{*this};
    // While the tray menu is being opened or is open, a right double-click that the shell
    // reports closes it, and the answer is shown once the menu is gone.
    bool trayMenuOpen_ = false;
    bool answerAfterTrayMenu_ = false;
};

}  // namespace quor6
