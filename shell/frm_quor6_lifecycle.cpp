// Start-up, the single-instance rule, quitting and the tray's re-creation.
#include <optional>

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
    // A press that the shell delivers while the icons are being added waits for the puzzle.
    uninterrupted([this] { loadForm(); });
}

void frmQuor6::loadForm() {
    if (toolkit_.previousInstanceRunning()) {
        toolkit_.messageBox(kAlreadyRunningText);
        toolkit_.endProcess();
    }
    bool allAdded = true;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        allAdded = tray_.addTrayIcon(slot, host(slot), startImage(slot)) && allAdded;
    }
    // A tray that is not up yet (Wine starts its desktop and tray along with the first
    // program; Windows may start us at log-on before its shell) refuses the adds, and Wine
    // never announces its tray: keep offering the icons until it takes them.
    if (!allAdded)
        toolkit_.setTrayRetryTimer(true);
    tray_.followScreenOrder();
    toolkit_.hideForm();
    toolkit_.setMenuRootVisible(false);
    newSecret();
    toolkit_.setGuessText(kFirstGuess);
    state_.VerdictShown = kFalse;
    toolkit_.listClear(ListBox::rirekiList);
}

void frmQuor6::Form_Unload(std::int16_t& /*Cancel*/) {
    // An unload is never refused: the icons always go, and no tray message runs after that,
    // neither one that waits nor one the shell delivers during the deletes.
    heldMessages_.stop();
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

int frmQuor6::runMessageLoop() {
    const int exitCode = toolkit_.runMessageLoop();
    // Something else ended the loop (a quit message posted from outside, the system failing
    // us). The icons go all the same: the tray would otherwise keep five with nobody behind.
    std::int16_t cancel = 0;
    Form_Unload(cancel);
    return exitCode;
}

void frmQuor6::onTaskbarCreated() {
    uninterrupted([this] {
        // Windows makes its tray anew after a change of scaling too: icons of the size now
        // drawn.
        toolkit_.chooseTrayIconFrames();
        if (putIconsBack())
            toolkit_.setTrayRetryTimer(false);
    });
}

void frmQuor6::onTrayRetryTimer() {
    onTaskbarCreated();  // the same work: offer what the tray lacks, stop once it has it all
}

bool frmQuor6::putIconsBack() {
    // A new tray knows none of our icons: each slot is added again with the picture it showed,
    // a verdict included. Where an icon survived (Windows also broadcasts on a change of
    // display scaling), the add is refused and the same picture is shown again instead. Slots
    // the program never put up, or already took down, stay away: a copy that is ending (a
    // refused second copy saying so) adds nothing.
    bool allInTray = true;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const std::optional<IconHolder> image = tray_.shownImage(slot);
        if (!image)
            continue;
        if (!tray_.addTrayIcon(slot, host(slot), *image) &&
            !tray_.changeTrayIcon(slot, host(slot), *image))
            allInTray = false;
    }
    // A new tray, or a new scaling, may lay the icons out anew.
    tray_.followScreenOrder();
    return allInTray;
}

}  // namespace quor6
