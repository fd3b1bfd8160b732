#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quor6 {

// The tray request record in the shell's first ANSI layout, but with a 65-byte tip buffer and
// a size of 89. Packed: every field sits at its documented offset with no gaps.
#pragma pack(push, 1)
struct NotifyIconRecord {
    std::uint32_t cbSize = 0;
    std::uint32_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uint32_t hIcon = 0;
    std::array<char, 65> szTip{};
};
#pragma pack(pop)

static_assert(sizeof(NotifyIconRecord) == 89, "the tray record is exactly 89 bytes");
static_assert(offsetof(NotifyIconRecord, hIcon) == 20, "hIcon at offset 20");
static_assert(offsetof(NotifyIconRecord, szTip) == 24, "szTip at offset 24");

inline constexpr std::uint32_t kRecordSize = 89;
inline constexpr std::uint32_t kRecordFlags = 7;          // NIF_MESSAGE | NIF_ICON | NIF_TIP
inline constexpr std::uint32_t kCallbackMessage = 0x200;  // WM_MOUSEMOVE

}  // namespace quor6
