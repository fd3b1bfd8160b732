#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "core/history_line.h"
#include "shell/win32/scoped_handle.h"

namespace quor6::win32 {

// The menu tree loaded from the resources: one top-level menu whose popup is the tray menu.
// Win32 menus have no hidden items, so the ten history entries are kept here with their
// caption and visibility, and the submenu holds exactly the visible ones in index order.
class TrayMenu {
  public:
    explicit TrayMenu(HINSTANCE instance);

    HMENU bar() const { return bar_.get(); }
    HMENU popup() const { return ::GetSubMenu(bar_.get(), 0); }

    void setHistoryCaption(int index, std::wstring caption);
    void setHistoryVisible(int index, bool visible);

  private:
    struct Entry {
        std::wstring caption;
        bool visible = false;
    };
    void rebuildHistory();

    ScopedMenu bar_;
    HMENU history_ = nullptr;
    std::array<Entry, kHistoryMenuEntries> entries_{};
};

}  // namespace quor6::win32
