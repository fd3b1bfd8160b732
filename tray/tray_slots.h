#pragma once

#include <cstdint>

#include "core/icon_holder.h"
#include "platform/toolkit.h"
#include "tray/notify_icon_record.h"

namespace quor6 {

inline constexpr int kSlotCount = 5;
inline constexpr int kMenuSlot = 5;

// The five tray slots and the one request record shared by every request. Each request first
// centres the form on the screen, then rewrites the record and hands it to the shell.
class TraySlots {
  public:
    explicit TraySlots(Toolkit& toolkit) : toolkit_(toolkit) {}

    bool addTrayIcon(int slot, Handle32 host, IconHolder image);
    bool changeTrayIcon(int slot, Handle32 host, IconHolder image);
    bool deleteTrayIcon(int slot, Handle32 host, IconHolder image);

    const NotifyIconRecord& record() const { return NotifyIconRecord_; }

  private:
    bool request(std::uint32_t code, int slot, Handle32 host, IconHolder image);
    void centreForm();

    Toolkit& toolkit_;
    NotifyIconRecord NotifyIconRecord_{};
};

}  // namespace quor6
