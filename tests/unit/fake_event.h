#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "shell/frm_quor6.h"
#include "tests/unit/fake_trace.h"

namespace quor6::fake {

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
