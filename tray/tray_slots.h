#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/icon_holder.h"
#include "core/reading_order.h"
#include "platform/toolkit.h"
#include "tray/held_messages.h"
#include "tray/notify_icon_record.h"

namespace quor6 {

inline constexpr int kSlotCount = 5;
inline constexpr int kMenuSlot = 5;

// The five tray slots and the one request record shared by every request. Each request first
// centres the form on the screen, then rewrites the record and hands it to the shell. The
// slots remember what they show, so that a tray created anew can be given the same pictures.
//
// Slots are the icons' identities towards the shell; positions are the characters of the guess.
// The shell, not the program, decides where each icon stands (since XP a new icon goes to the
// far end, and players drag them), so guess position k is shown on the k-th digit icon in
// reading order on the screen, as far as the shell says where its icons are; until it does,
// position k is slot k. The menu icon is slot 5 wherever it stands.
class TraySlots {
  public:
    // Messages the shell delivers while a request waits on it are held in `held` until the
    // program next yields or its handler finishes.
    TraySlots(Toolkit& toolkit, HeldMessages& held) : toolkit_(toolkit), held_(held) {}

    bool addTrayIcon(int slot, Handle32 host, IconHolder image);
    bool changeTrayIcon(int slot, Handle32 host, IconHolder image);
    bool deleteTrayIcon(int slot, Handle32 host, IconHolder image);

    // The image last put into `slot` by an add or a change, whether the shell took it or not;
    // nothing once the slot was deleted or before it was first added. A new tray gets these.
    std::optional<IconHolder> shownImage(int slot) const;

    // The digit icon that shows guess position 1..4, and back; other numbers map to themselves.
    int slotOfPosition(int position) const;
    int positionOfSlot(int slot) const;
    // Shows `image` for a guess position on the icon that stands at that rank.
    bool showAtPosition(int position, IconHolder image);

    // Asks the shell where the four digit icons stand. When they rank differently from before,
    // what each position showed is put on its new icon, one request per position, position 1
    // first. Where the shell cannot tell, the ranking stays as it was.
    void followScreenOrder();

  private:
    bool request(std::uint32_t code, int slot, Handle32 host, IconHolder image);
    // A call to the shell, during which the shell may deliver messages: they wait for the
    // handler that made the call (or the program's next yield), as they would on Windows.
    template <typename Call>
    auto askShell(Call call) {
        held_.begin();
        const auto answer = call();
        held_.close();
        return answer;
    }
    void centreForm();

    Toolkit& toolkit_;
    HeldMessages& held_;
    NotifyIconRecord NotifyIconRecord_{};
    std::array<std::optional<IconHolder>, kSlotCount> shown_{};
    std::array<int, kDigitIcons> slotOfPosition_ = {1, 2, 3, 4};
};

}  // namespace quor6
