#include "tests/unit/fake_event.h"

#include "tests/unit/fake_trace.h"

namespace quor6::fake {

Event Event::mouse(int slot, std::uint32_t message) {
    Event event;
    event.kind = Kind::TrayMouse;
    event.slot = slot;
    event.message = message;
    return event;
}

Event Event::menu(MenuCommand command) {
    Event event;
    event.kind = Kind::Menu;
    event.command = command;
    return event;
}

Event Event::windowClose() {
    Event event;
    event.kind = Kind::WindowClose;
    return event;
}

Event Event::taskbarCreated(bool trayRecreated) {
    Event event;
    event.kind = Kind::TaskbarCreated;
    event.trayRecreated = trayRecreated;
    return event;
}

Event Event::okButton() {
    Event event;
    event.kind = Kind::OkButton;
    return event;
}

Event Event::quitButton() {
    Event event;
    event.kind = Kind::QuitButton;
    return event;
}

std::string Event::describe() const {
    switch (kind) {
        case Kind::TrayMouse:
            return "mouse " + std::to_string(slot) + " " + hexText(message);
        case Kind::Menu:
            return "menu " + menuCommandName(command);
        case Kind::WindowClose:
            return "close";
        case Kind::TaskbarCreated:
            return trayRecreated ? "TaskbarCreated" : "TaskbarCreated (icons kept)";
        case Kind::OkButton:
            return "Command1";
        case Kind::QuitButton:
            return "Command2";
    }
    return "?";
}

}  // namespace quor6::fake
