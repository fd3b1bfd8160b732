#include "shell/win32/tray_menu.h"

#include "resources/resource_ids.h"

namespace quor6::win32 {

namespace {
constexpr int kHistorySubmenuPosition = 6;  // after the five commands and the separator
}

TrayMenu::TrayMenu(HINSTANCE instance)
    : bar_(::LoadMenuW(instance, MAKEINTRESOURCEW(IDR_TRAY_MENU))) {
    history_ = ::GetSubMenu(popup(), kHistorySubmenuPosition);
    rebuildHistory();
}

void TrayMenu::setHistoryCaption(int index, std::wstring caption) {
    if (index < 0 || index >= kHistoryMenuEntries)
        return;
    Entry& entry = entries_[static_cast<std::size_t>(index)];
    entry.caption = std::move(caption);
    if (entry.visible)
        rebuildHistory();
}

void TrayMenu::setHistoryVisible(int index, bool visible) {
    if (index < 0 || index >= kHistoryMenuEntries)
        return;
    Entry& entry = entries_[static_cast<std::size_t>(index)];
    if (entry.visible == visible)
        return;
    entry.visible = visible;
    rebuildHistory();
}

void TrayMenu::rebuildHistory() {
    if (history_ == nullptr)
        return;
    while (::GetMenuItemCount(history_) > 0)
        ::DeleteMenu(history_, 0, MF_BYPOSITION);
    for (int i = 0; i < kHistoryMenuEntries; ++i) {
        const Entry& entry = entries_[static_cast<std::size_t>(i)];
        if (!entry.visible)
            continue;
        ::AppendMenuW(history_, MF_STRING, static_cast<UINT_PTR>(IDM_HISTORY_FIRST + i),
                      entry.caption.c_str());
    }
}

}  // namespace quor6::win32
