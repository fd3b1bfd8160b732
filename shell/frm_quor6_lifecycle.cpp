// Start-up, the single-instance rule, quitting and the tray's re-creation.
#include "core/guess.h"
#include "core/icon_holder.h"
#include "shell/frm_quor6.h"

namespace quor6 {

namespace {
constexpr IconHolder startImage(int slot) {
    return slot == kMenuSlot ? IconHolder::PictureSW : PictureNum(slot);
}
}  // namespace

void frmQuor6::Form_Load() {
    if (toolkit_.previousInstanceRunning()) {
        toolkit_.messageBox(kAlreadyRunningText);
        toolkit_.endProcess();
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        tray_.addTrayIcon(slot, host(slot), startImage(slot));
    }
    toolkit_.hideForm();
    toolkit_.setMenuRootVisible(false);
    newSecret();
    toolkit_.setGuessText(kFirstGuess);
    state_.VerdictShown = kFalse;
    toolkit_.listClear(ListBox::rirekiList);
}

void frmQuor6::Form_Unload(std::int16_t& /*Cancel*/) {
    // An unload is never refused: the icons always go.
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        tray_.deleteTrayIcon(slot, host(slot), startImage(slot));
    }
}

void frmQuor6::quit() {
    std::int16_t cancel = 1;
    Form_Unload(cancel);
    toolkit_.endProcess();
}

void frmQuor6::Command2_Click() {
    quit();
}

void frmQuor6::mnuEnd_Click() {
    quit();
}

void frmQuor6::closeByWindowSystem() {
    // Ending at once, as the quit commands do, so that no handler suspended below (a digit
    // being stepped) resumes and touches the tray after its icons are gone.
    std::int16_t cancel = 0;
    Form_Unload(cancel);
    toolkit_.endProcess();
}

void frmQuor6::onTaskbarCreated() {
    // A new tray knows none of our icons. Where an icon survived (the broadcast came without
    // a restart), the add is refused and the image is brought up to date instead.
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const IconHolder image = slot == kMenuSlot
                                     ? IconHolder::PictureSW
                                     : PictureNum(guessDigit(toolkit_.guessText(), slot));
        if (!tray_.addTrayIcon(slot, host(slot), image)) {
            tray_.changeTrayIcon(slot, host(slot), image);
        }
    }
    state_.VerdictShown = kFalse;
}

}  // namespace quor6
