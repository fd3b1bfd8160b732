#include "tray/tray_slots.h"

#include <cstddef>

namespace quor6 {

namespace {
bool validSlot(int slot) {
    return slot >= 1 && slot <= kSlotCount;
}
bool validPosition(int position) {
    return position >= 1 && position <= kDigitIcons;
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

int TraySlots::slotOfPosition(int position) const {
    return validPosition(position) ? slotOfPosition_[static_cast<std::size_t>(position - 1)]
                                   : position;
}

int TraySlots::positionOfSlot(int slot) const {
    for (int position = 1; position <= kDigitIcons; ++position) {
        if (slotOfPosition(position) == slot)
            return position;
    }
    return slot;
}

bool TraySlots::showAtPosition(int position, IconHolder image) {
    const int slot = slotOfPosition(position);
    return changeTrayIcon(slot, toolkit_.textBoxHandle(slot), image);
}

void TraySlots::followScreenOrder() {
    DigitIconPlaces places;
    for (int slot = 1; slot <= kDigitIcons; ++slot) {
        ScreenRect place;
        const Handle32 host = toolkit_.textBoxHandle(slot);
        if (askShell([&] {
                return toolkit_.trayIconPlace(host, static_cast<std::uint32_t>(slot), place);
            }) >= 0)
            places[static_cast<std::size_t>(slot - 1)] = place;
    }
    const std::optional<std::array<int, kDigitIcons>> ranking = readingOrder(places);
    if (!ranking || *ranking == slotOfPosition_)
        return;
    std::array<std::optional<IconHolder>, kDigitIcons> shownAtPosition;
    for (int position = 1; position <= kDigitIcons; ++position)
        shownAtPosition[static_cast<std::size_t>(position - 1)] =
            shownImage(slotOfPosition(position));
    slotOfPosition_ = *ranking;
    for (int position = 1; position <= kDigitIcons; ++position) {
        const std::optional<IconHolder>& image =
            shownAtPosition[static_cast<std::size_t>(position - 1)];
        if (image)
            showAtPosition(position, *image);
    }
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
    // Should the shell run a handler of ours before it returns, that handler would rewrite the
    // shared record; it gets a copy, so this request goes out exactly as filled in here.
    const NotifyIconRecord outgoing = NotifyIconRecord_;
    return askShell([&] { return toolkit_.shellNotifyIcon(code, outgoing); });
}

}  // namespace quor6
