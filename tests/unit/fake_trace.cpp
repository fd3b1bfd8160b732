#include "tests/unit/fake_trace.h"

#include <algorithm>
#include <cstdio>

namespace quor6::fake {

namespace {

constexpr std::array<std::string_view, 18> kIconHolderNames = {
    "PictureNum0", "PictureNum1", "PictureNum2", "PictureNum3", "PictureNum4", "PictureNum5",
    "PictureNum6", "PictureNum7", "PictureNum8", "PictureNum9", "PictureS",    "PictureB",
    "PictureO",    "PictureK",    "PictureN",    "PictureG",    "PictureSP",   "PictureSW",
};
static_assert(kIconHolderNames.size() == static_cast<std::size_t>(kIconHolderCount));

// In the order of CallKind; ShellNotifyIcon and SleepMilliseconds read shorter in traces.
constexpr std::array<std::string_view, 38> kCallKindNames = {
    "formLeft",
    "formTop",
    "formWidth",
    "formHeight",
    "setFormLeft",
    "setFormTop",
    "screenWidth",
    "screenHeight",
    "showForm",
    "hideForm",
    "formHandle",
    "textBoxHandle",
    "guessText",
    "setGuessText",
    "iconHandle",
    "tray",
    "listClear",
    "listAppend",
    "listCount",
    "listItem",
    "setListVisible",
    "setMenuRootVisible",
    "setHistoryEntryCaption",
    "setHistoryEntryVisible",
    "setForegroundWindow",
    "popupTrayMenu",
    "closeTrayMenu",
    "doEvents",
    "sleep",
    "messageBox",
    "previousInstanceRunning",
    "endProcess",
    "executableDirectory",
    "windowsDirectory",
    "startProcess",
    "fileMajorVersion",
    "openDocument",
    "deliver",
};

constexpr Handle32 kIconHandleBase = 0x00200000;
constexpr Handle32 kIconHandleStep = 0x10;

std::string_view requestName(std::uint32_t request) {
    switch (request) {
        case kNimAdd:
            return "add";
        case kNimModify:
            return "modify";
        case kNimDelete:
            return "delete";
        default:
            return "request?";
    }
}

}  // namespace

// --- Names -------------------------------------------------------------------------------

std::string_view callKindName(CallKind kind) {
    static_assert(kCallKindNames.size() == static_cast<std::size_t>(CallKind::Deliver) + 1);
    return kCallKindNames[static_cast<std::size_t>(kind)];
}

std::string iconHolderName(IconHolder holder) {
    const auto index = static_cast<std::size_t>(holder);
    if (index < kIconHolderNames.size())
        return std::string(kIconHolderNames[index]);
    return "IconHolder?" + std::to_string(index);
}

std::string menuCommandName(MenuCommand command) {
    const int id = static_cast<int>(command);
    switch (command) {
        case MenuCommand::None:
            return "None";
        case MenuCommand::resetAnser:
            return "resetAnser";
        case MenuCommand::displayrireki:
            return "displayrireki";
        case MenuCommand::diplayHelp:
            return "diplayHelp";
        case MenuCommand::mnuAbout:
            return "mnuAbout";
        case MenuCommand::mnuEnd:
            return "mnuEnd";
        default:
            break;
    }
    if (id >= static_cast<int>(MenuCommand::rirekimnuFirst) &&
        id <= static_cast<int>(MenuCommand::rirekimnuLast)) {
        return "rirekimnu(" + std::to_string(id - static_cast<int>(MenuCommand::rirekimnuFirst)) +
               ")";
    }
    return "command " + std::to_string(id);
}

std::string_view listBoxName(ListBox list) {
    return list == ListBox::rirekiList ? "rirekiList" : "rirekilist2";
}

Handle32 fakeTextBoxHandle(int slot) {
    return kFormHandle + 0x100u * static_cast<Handle32>(slot);
}

Handle32 fakeIconHandle(IconHolder holder) {
    return kIconHandleBase + kIconHandleStep * static_cast<Handle32>(holder);
}

std::string hexText(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

std::optional<IconHolder> holderOfIconHandle(Handle32 handle) {
    for (int i = 0; i < kIconHolderCount; ++i) {
        const auto holder = static_cast<IconHolder>(i);
        if (fakeIconHandle(holder) == handle)
            return holder;
    }
    return std::nullopt;
}

// --- Records ------------------------------------------------------------------

std::uint32_t TrayRequest::field(std::size_t offset) const {
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

bool TrayRequest::tipIsZero() const {
    return std::all_of(bytes.begin() + 24, bytes.end(), [](std::uint8_t b) { return b == 0; });
}

std::string TrayRequest::describe() const {
    std::string text(requestName(request));
    text += ' ';
    text += std::to_string(uID());
    text += ' ';
    text += image ? iconHolderName(*image) : "icon?" + hexText(hIcon());
    return text;
}

std::string Call::describe() const {
    std::string text(callKindName(kind));
    if (!detail.empty()) {
        text += ' ';
        text += detail;
    }
    return text;
}

}  // namespace quor6::fake
