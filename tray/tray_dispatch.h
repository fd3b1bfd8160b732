#pragma once

#include <cstdint>
#include <optional>

namespace quor6 {

// Mouse message numbers as the tray reports them.
inline constexpr std::uint32_t kMouseMove = 0x200;
inline constexpr std::uint32_t kLeftButtonDown = 0x201;
inline constexpr std::uint32_t kLeftButtonUp = 0x202;
inline constexpr std::uint32_t kLeftButtonDoubleClick = 0x203;
inline constexpr std::uint32_t kRightButtonDown = 0x204;
inline constexpr std::uint32_t kRightButtonUp = 0x205;
inline constexpr std::uint32_t kRightButtonDoubleClick = 0x206;

enum class TrayAction { None, SpinUp, SpinDown, Release, Judge, OpenMenu, ShowAnswer };

// What a mouse message on a slot does: digit slots 1..4 step on a press, slot 5 judges,
// opens the menu or shows the answer; a release anywhere ends stepping.
TrayAction trayAction(int slot, std::uint32_t message);

// The mouse message carried by a tray callback to the host of `slot`, or nothing when the
// callback is not one the shell would send for that slot: the shell puts the icon's id in
// wParam and the message number alone in lParam, so anything else is ignored.
std::optional<std::uint32_t> trayCallbackMessage(int slot, std::uintptr_t wParam,
                                                 std::uintptr_t lParam);

}  // namespace quor6
