#include "tray/tray_slots.h"

#include <cstddef>

namespace quor6 {

namespace {
bool validSlot(int slot) {
    return slot >= 1 && slot <= kSlotCount;
}
}  // namespace

bool TraySlots::addTrayIcon(int slot, Handle32 host, IconHolder image) {
    if (validSlot(slot))
        shown_[static_cast<std::size_t>(slot - 1)] = image;
    return request(kNimAdd, slot, host, image);
}

bool TraySlots::changeTrayIcon(int slot, Handle32 host, IconHolder image) {
    if (validSlot(slot))
        shown_[static_cast<std::size_t>(slot - 1)] = image;
    return request(kNimModify, slot, host, image);
}

bool TraySlots::deleteTrayIcon(int slot, Handle32 host, IconHolder image) {
    if (validSlot(slot))
        shown_[static_cast<std::size_t>(slot - 1)].reset();
    return request(kNimDelete, slot, host, image);
}

std::optional<IconHolder> TraySlots::shownImage(int slot) const {
    if (!validSlot(slot))
        return std::nullopt;
    return shown_[static_cast<std::size_t>(slot - 1)];
}

void TraySlots::centreForm() {
    // Vertical first, each half taken in floating point.
    const double height = toolkit_.formHeight();
    const double screenHeight = toolkit_.screenHeight();
    toolkit_.setFormTop(static_cast<float>(screenHeight / 2.0 - height / 2.0));
    const double width = toolkit_.formWidth();
    const double screenWidth = toolkit_.screenWidth();
    toolkit_.setFormLeft(static_cast<float>(screenWidth / 2.0 - width / 2.0));
}

bool TraySlots::request(std::uint32_t code, int slot, Handle32 host, IconHolder image) {
    centreForm();
    NotifyIconRecord_.cbSize = kRecordSize;
    NotifyIconRecord_.hWnd = host;
    NotifyIconRecord_.uID = static_cast<std::uint32_t>(slot);
    NotifyIconRecord_.uFlags = kRecordFlags;
    NotifyIconRecord_.uCallbackMessage = kCallbackMessage;
    NotifyIconRecord_.hIcon = toolkit_.iconHandle(image);
    // The shell may run our handlers before it returns, and they rewrite the shared record;
    // hand it a copy so that this request goes out exactly as filled in here.
    const NotifyIconRecord outgoing = NotifyIconRecord_;
    return toolkit_.shellNotifyIcon(code, outgoing);
}

}  // namespace quor6
