#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "core/icon_holder.h"
#include "platform/toolkit.h"
#include "shell/frm_quor6.h"

namespace quor6::fake {

// The name of each logged call: one per Toolkit member the program uses, but for the queries of
// the window's own state (shellNotifyIcon and sleepMilliseconds read shorter), plus "deliver"
// for an event handed to the program. A trace line is the name, then its detail, as in
// "tray modify 2 PictureNum3".
namespace CallKind {
inline constexpr std::string_view FormWidth = "formWidth";
inline constexpr std::string_view FormHeight = "formHeight";
inline constexpr std::string_view SetFormLeft = "setFormLeft";
inline constexpr std::string_view SetFormTop = "setFormTop";
inline constexpr std::string_view ScreenWidth = "screenWidth";
inline constexpr std::string_view ScreenHeight = "screenHeight";
inline constexpr std::string_view ShowForm = "showForm";
inline constexpr std::string_view HideForm = "hideForm";
inline constexpr std::string_view FormHandle = "formHandle";
inline constexpr std::string_view SetGuessText = "setGuessText";
inline constexpr std::string_view ShellNotifyIcon = "tray";
inline constexpr std::string_view TrayIconPlace = "trayPlace";
inline constexpr std::string_view SetTrayRetryTimer = "setTrayRetryTimer";
inline constexpr std::string_view ChooseTrayIconFrames = "chooseTrayIconFrames";
inline constexpr std::string_view RunMessageLoop = "runMessageLoop";
inline constexpr std::string_view ListClear = "listClear";
inline constexpr std::string_view ListAppend = "listAppend";
inline constexpr std::string_view SetListVisible = "setListVisible";
inline constexpr std::string_view SetMenuRootVisible = "setMenuRootVisible";
inline constexpr std::string_view SetHistoryEntryCaption = "setHistoryEntryCaption";
inline constexpr std::string_view SetHistoryEntryVisible = "setHistoryEntryVisible";
inline constexpr std::string_view SetForegroundWindow = "setForegroundWindow";
inline constexpr std::string_view PopupTrayMenu = "popupTrayMenu";
inline constexpr std::string_view CloseTrayMenu = "closeTrayMenu";
inline constexpr std::string_view DoEvents = "doEvents";
inline constexpr std::string_view SleepMilliseconds = "sleep";
inline constexpr std::string_view MessageBox = "messageBox";
inline constexpr std::string_view PreviousInstanceRunning = "previousInstanceRunning";
inline constexpr std::string_view EndProcess = "endProcess";
inline constexpr std::string_view StartProcess = "startProcess";
inline constexpr std::string_view OpenDocument = "openDocument";
inline constexpr std::string_view Deliver = "deliver";
}  // namespace CallKind

struct Call {
    std::string_view kind;  // one of CallKind
    std::string detail;

    std::string describe() const {
        return detail.empty() ? std::string(kind) : std::string(kind) + ' ' + detail;
    }
};

inline std::string iconHolderName(IconHolder holder) {
    // The digits' holders come first, as PictureNum0..9.
    constexpr std::array<std::string_view, 8> kOthers = {"S", "B", "O", "K", "N", "G", "SP", "SW"};
    const auto index = static_cast<std::size_t>(holder);
    if (index < 10)
        return "PictureNum" + std::to_string(index);
    return "Picture" + std::string(kOthers.at(index - 10));
}

inline std::string menuCommandName(MenuCommand command) {
    constexpr std::array<std::string_view, 5> kNames = {"resetAnser", "displayrireki", "diplayHelp",
                                                        "mnuAbout", "mnuEnd"};
    const int index = static_cast<int>(command) - static_cast<int>(MenuCommand::resetAnser);
    if (index >= 0 && index < static_cast<int>(kNames.size()))
        return std::string(kNames[static_cast<std::size_t>(index)]);
    return command == MenuCommand::None ? "None" : std::to_string(static_cast<int>(command));
}

inline std::string listName(ListBox list) {
    return list == ListBox::rirekiList ? "rirekiList" : "rirekilist2";
}

inline std::string hexText(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

// Handles the fake hands out; all distinct and non-zero so that a mixed-up handle shows.
inline constexpr Handle32 kFormHandle = 0x00010000;
constexpr Handle32 fakeTextBoxHandle(int slot) {
    return kFormHandle + 0x100u * static_cast<Handle32>(slot);
}
// The frame of the holder's image drawn for a tray icon size (16 x 16 unless said).
constexpr Handle32 fakeIconHandle(IconHolder holder, int frame = 16) {
    return 0x00200000 + 0x1000u * static_cast<Handle32>(frame - 16) +
           0x10u * static_cast<Handle32>(holder);
}

// Something the window system hands to the program: its name in traces and the handler it runs.
struct Event {
    std::string name;
    std::function<void(frmQuor6&)> run;
    bool newTray = false;          // the shell's tray was created anew and knows none of the icons
    bool readsIconPlaces = false;  // the program asks the shell where its icons stand

    static Event mouse(int slot, std::uint32_t message) {
        return {
            "mouse " + std::to_string(slot) + ' ' + hexText(message),
            [=](frmQuor6& form) {
                constexpr std::array<void (frmQuor6::*)(std::uint32_t), 5> kHosts = {
                    &frmQuor6::text1_MouseMove, &frmQuor6::text2_MouseMove,
                    &frmQuor6::text3_MouseMove, &frmQuor6::text4_MouseMove,
                    &frmQuor6::text5_MouseMove};
                if (slot >= 1 && slot <= 5)
                    (form.*kHosts[static_cast<std::size_t>(slot - 1)])(message);
                else
                    form.onTrayMouse(slot, message);
            },
            false,
            slot >= 1 && slot <= 5 && (message == 0x201 || message == 0x204 || message == 0x206)};
    }
    // The window system's other messages, handed over as the window would.
    static Event message(std::string name, WindowMessage::Kind kind, std::uint32_t value = 0,
                         bool newTray = false) {
        const bool putsIconsBack = kind == WindowMessage::Kind::TaskbarCreated ||
                                   kind == WindowMessage::Kind::TrayRetryTimer;
        return {std::move(name),
                [=](frmQuor6& form) {
                    form.receive({kind, 0, value});
                },
                newTray, putsIconsBack};
    }
    static Event menu(MenuCommand command) {
        return message("menu " + menuCommandName(command), WindowMessage::Kind::MenuCommand,
                       static_cast<std::uint32_t>(command));
    }
    static Event windowClose() { return message("close", WindowMessage::Kind::Close); }
    // With `trayRecreated` false the broadcast comes while the icons are still in place.
    static Event taskbarCreated(bool trayRecreated = true) {
        return message(trayRecreated ? "TaskbarCreated" : "TaskbarCreated (icons kept)",
                       WindowMessage::Kind::TaskbarCreated, 0, trayRecreated);
    }
    static Event trayRetryTimer() {
        return message("tray retry timer", WindowMessage::Kind::TrayRetryTimer);
    }
    static Event okButton() { return message("Command1", WindowMessage::Kind::OkButton); }
    static Event quitButton() { return message("Command2", WindowMessage::Kind::QuitButton); }

    const std::string& describe() const { return name; }
};

}  // namespace quor6::fake
