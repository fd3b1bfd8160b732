#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/toolkit.h"
#include "tests/unit/fake_trace.h"

namespace quor6::fake {

// Something the window system hands to the program.
struct Event {
    enum class Kind { TrayMouse, Menu, WindowClose, TaskbarCreated, OkButton, QuitButton };

    Kind kind = Kind::TrayMouse;
    int slot = 0;
    std::uint32_t message = 0;
    MenuCommand command = MenuCommand::None;
    bool trayRecreated = true;  // TaskbarCreated: the new tray knows none of the icons

    static Event mouse(int slot, std::uint32_t message) { return {Kind::TrayMouse, slot, message}; }
    static Event menu(MenuCommand command) { return {Kind::Menu, 0, 0, command}; }
    static Event windowClose() { return {Kind::WindowClose}; }
    // With `trayRecreated` false the broadcast comes while the icons are still in place.
    static Event taskbarCreated(bool trayRecreated = true) {
        return {Kind::TaskbarCreated, 0, 0, MenuCommand::None, trayRecreated};
    }
    static Event okButton() { return {Kind::OkButton}; }
    static Event quitButton() { return {Kind::QuitButton}; }

    std::string describe() const {
        constexpr std::array<std::string_view, 6> kNames = {
            "mouse", "menu", "close", "TaskbarCreated", "Command1", "Command2"};
        std::string text(kNames[static_cast<std::size_t>(kind)]);
        if (kind == Kind::TrayMouse)
            text += ' ' + std::to_string(slot) + ' ' + hexText(message);
        if (kind == Kind::Menu)
            text += ' ' + menuCommandName(command);
        return kind == Kind::TaskbarCreated && !trayRecreated ? text + " (icons kept)" : text;
    }
};

}  // namespace quor6::fake
