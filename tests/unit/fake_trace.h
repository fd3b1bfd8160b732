#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/icon_holder.h"
#include "platform/toolkit.h"

namespace quor6::fake {

// One kind per Toolkit member, plus Deliver for an event handed to the program.
enum class CallKind {
    FormLeft,
    FormTop,
    FormWidth,
    FormHeight,
    SetFormLeft,
    SetFormTop,
    ScreenWidth,
    ScreenHeight,
    ShowForm,
    HideForm,
    FormHandle,
    TextBoxHandle,
    GuessText,
    SetGuessText,
    IconHandle,
    ShellNotifyIcon,
    ListClear,
    ListAppend,
    ListCount,
    ListItem,
    SetListVisible,
    SetMenuRootVisible,
    SetHistoryEntryCaption,
    SetHistoryEntryVisible,
    SetForegroundWindow,
    PopupTrayMenu,
    CloseTrayMenu,
    DoEvents,
    SleepMilliseconds,
    MessageBox,
    PreviousInstanceRunning,
    EndProcess,
    ExecutableDirectory,
    WindowsDirectory,
    StartProcess,
    FileMajorVersion,
    OpenDocument,
    Deliver,
};

std::string_view callKindName(CallKind kind);
std::string iconHolderName(IconHolder holder);
std::string menuCommandName(MenuCommand command);
std::string_view listBoxName(ListBox list);
std::string hexText(std::uint32_t value);

inline constexpr std::size_t kRecordBytes = 89;

// Handles the fake hands out; all distinct and non-zero so that a mixed-up handle shows.
inline constexpr Handle32 kFormHandle = 0x00010000;
Handle32 fakeTextBoxHandle(int slot);
Handle32 fakeIconHandle(IconHolder holder);
// The holder whose image has this handle, if any.
std::optional<IconHolder> holderOfIconHandle(Handle32 handle);

// A tray request exactly as the shell received it. The fields are decoded from the raw bytes
// (little-endian), not from the program's struct, so a layout fault shows up here.
struct TrayRequest {
    std::uint32_t request = 0;
    std::array<std::uint8_t, kRecordBytes> bytes{};
    std::optional<IconHolder> image;  // the holder whose handle is hIcon, if any
    bool accepted = false;

    std::uint32_t field(std::size_t offset) const;
    std::uint32_t cbSize() const { return field(0); }
    std::uint32_t hWnd() const { return field(4); }
    std::uint32_t uID() const { return field(8); }
    std::uint32_t uFlags() const { return field(12); }
    std::uint32_t uCallbackMessage() const { return field(16); }
    std::uint32_t hIcon() const { return field(20); }
    bool tipIsZero() const;
    // "add 1 PictureNum1", as it appears in a trace.
    std::string describe() const;
};

struct Call {
    CallKind kind;
    std::string detail;
    std::uint64_t atMilliseconds = 0;
    std::optional<TrayRequest> tray;  // ShellNotifyIcon only

    // "tray modify 2 PictureNum3", "sleep 700", "doEvents".
    std::string describe() const;
};

}  // namespace quor6::fake
