#pragma once

#include <cstdint>
#include <string>

#include "platform/toolkit.h"

namespace quor6::fake {

// Something the window system hands to the program.
struct Event {
    enum class Kind { TrayMouse, Menu, WindowClose, TaskbarCreated, OkButton, QuitButton };

    Kind kind = Kind::TrayMouse;
    int slot = 0;
    std::uint32_t message = 0;
    MenuCommand command = MenuCommand::None;
    bool trayRecreated = true;  // TaskbarCreated: the new tray knows none of the icons

    static Event mouse(int slot, std::uint32_t message);
    static Event menu(MenuCommand command);
    static Event windowClose();
    // With `trayRecreated` false the broadcast comes while the icons are still in place.
    static Event taskbarCreated(bool trayRecreated = true);
    static Event okButton();
    static Event quitButton();

    std::string describe() const;
};

}  // namespace quor6::fake
