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
    static Event menu(MenuCommand command) {
        return {"menu " + menuCommandName(command),
                [=](frmQuor6& form) { form.runMenuCommand(command); }};
    }
    static Event windowClose() { return {"close", &frmQuor6::closeByWindowSystem}; }
    // With `trayRecreated` false the broadcast comes while the icons are still in place.
    static Event taskbarCreated(bool trayRecreated = true) {
        return {trayRecreated ? "TaskbarCreated" : "TaskbarCreated (icons kept)",
                &frmQuor6::onTaskbarCreated, trayRecreated, true};
    }
    static Event trayRetryTimer() {
        return {"tray retry timer", &frmQuor6::onTrayRetryTimer, false, true};
    }
    static Event okButton() { return {"Command1", &frmQuor6::Command1_Click}; }
    static Event quitButton() { return {"Command2", &frmQuor6::Command2_Click}; }

    const std::string& describe() const { return name; }
};

}  // namespace quor6::fake
