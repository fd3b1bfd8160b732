#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/icon_holder.h"
#include "platform/toolkit.h"
#include "tray/notify_icon_record.h"

namespace quor6 {

inline constexpr int kSlotCount = 5;
inline constexpr int kMenuSlot = 5;

// The five tray slots and the one request record shared by every request. Each request first
// centres the form on the screen, then rewrites the record and hands it to the shell. The
// slots remember what they show, so that a tray created anew can be given the same pictures.
class TraySlots {
  public:
    explicit TraySlots(Toolkit& toolkit) : toolkit_(toolkit) {}

    bool addTrayIcon(int slot, Handle32 host, IconHolder image);
    bool changeTrayIcon(int slot, Handle32 host, IconHolder image);
    bool deleteTrayIcon(int slot, Handle32 host, IconHolder image);

    // The image last put into `slot` by an add or a change, whether the shell took it or not;
    // nothing once the slot was deleted or before it was first added. A new tray gets these.
    std::optional<IconHolder> shownImage(int slot) const;

  private:
    bool request(std::uint32_t code, int slot, Handle32 host, IconHolder image);
    void centreForm();

    Toolkit& toolkit_;
    NotifyIconRecord NotifyIconRecord_{};
    std::array<std::optional<IconHolder>, kSlotCount> shown_{};
};

}  // namespace quor6
