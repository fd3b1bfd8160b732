#include "tray/tray_dispatch.h"

#include "tray/tray_slots.h"

namespace quor6 {

TrayAction trayAction(int slot, std::uint32_t message) {
    if (slot < 1 || slot > kSlotCount)
        return TrayAction::None;
    if (message == kLeftButtonUp || message == kRightButtonUp)
        return TrayAction::Release;
    if (slot == kMenuSlot) {
        switch (message) {
            case kLeftButtonDown:
                return TrayAction::Judge;
            case kRightButtonDown:
                return TrayAction::OpenMenu;
            case kRightButtonDoubleClick:
                return TrayAction::ShowAnswer;
            default:
                return TrayAction::None;
        }
    }
    switch (message) {
        case kLeftButtonDown:
            return TrayAction::SpinUp;
        case kRightButtonDown:
            return TrayAction::SpinDown;
        default:
            return TrayAction::None;
    }
}

std::optional<std::uint32_t> trayCallbackMessage(int slot, std::uintptr_t wParam,
                                                 std::uintptr_t lParam) {
    if (slot < 1 || slot > kSlotCount || wParam != static_cast<std::uintptr_t>(slot)) {
        return std::nullopt;
    }
    if (lParam < kMouseMove || lParam > kRightButtonDoubleClick)
        return std::nullopt;
    return static_cast<std::uint32_t>(lParam);
}

}  // namespace quor6
