// New puzzles, judging a guess and the guess history.
#include "core/guess.h"
#include "core/history_line.h"
#include "core/slot_pictures.h"
#include "core/verdict.h"
#include "shell/frm_quor6.h"

namespace quor6 {

void frmQuor6::newSecret() {
    quor6::newSecret(state_, random_);
}

void frmQuor6::showSlots(IconHolder slot1, IconHolder slot2, IconHolder slot3, IconHolder slot4) {
    tray_.showAtPosition(1, slot1);
    tray_.showAtPosition(2, slot2);
    tray_.showAtPosition(3, slot3);
    tray_.showAtPosition(4, slot4);
}

void frmQuor6::resetAnser_Click() {
    uninterrupted([this] { startNewPuzzle(); });
}

void frmQuor6::startNewPuzzle() {
    newSecret();
    toolkit_.setGuessText(kFirstGuess);
    showSlots(PictureNum(1), PictureNum(2), PictureNum(3), PictureNum(4));
    state_.VerdictShown = kFalse;
    clearHistory(true);
}

void frmQuor6::judgeGuess() {
    uninterrupted([this] { showJudgement(); });
}

void frmQuor6::showJudgement() {
    if (state_.VerdictShown == kTrue) {
        const SlotPictures guess = guessPictures(toolkit_.guessText());
        showSlots(guess[0], guess[1], guess[2], guess[3]);
        state_.VerdictShown = kFalse;
        return;
    }
    const std::string guess = toolkit_.guessText();
    const Verdict verdict = scoreGuess(guess, state_.DigitUseTable);
    switch (verdict.kind) {
        case VerdictKind::Rejected: {
            const SlotPictures shown = verdictPictures(verdict, state_.GuessCount);
            showSlots(shown[0], shown[1], shown[2], shown[3]);
            state_.VerdictShown = kTrue;
            return;
        }
        case VerdictKind::Solved: {
            state_.GuessCount = nextGuessCount(state_.GuessCount);
            const SlotPictures shown = verdictPictures(verdict, state_.GuessCount);
            showSlots(shown[0], shown[1], shown[2], shown[3]);
            state_.VerdictShown = kTrue;
            newSecret();
            clearHistory(false);
            return;
        }
        case VerdictKind::Scored: {
            state_.GuessCount = nextGuessCount(state_.GuessCount);
            addHistory(historyLine(state_.GuessCount, guess, verdict.strikes, verdict.balls));
            const SlotPictures shown = verdictPictures(verdict, state_.GuessCount);
            showSlots(shown[0], shown[1], shown[2], shown[3]);
            state_.VerdictShown = kTrue;
            return;
        }
    }
}

void frmQuor6::fillWindowListFromStore() {
    toolkit_.listClear(ListBox::rirekilist2);
    for (int i = toolkit_.listCount(ListBox::rirekiList) - 1; i >= 0; --i) {
        toolkit_.listAppend(ListBox::rirekilist2, toolkit_.listItem(ListBox::rirekiList, i));
    }
}

void frmQuor6::addHistory(std::string_view line) {
    toolkit_.listAppend(ListBox::rirekiList, line);
    fillWindowListFromStore();
    for (int i = 0; i < kHistoryMenuEntries; ++i)
        toolkit_.setHistoryEntryVisible(i, false);
    const int lines = toolkit_.listCount(ListBox::rirekilist2);
    const int shown = lines < kHistoryMenuEntries ? lines : kHistoryMenuEntries;
    for (int i = 0; i < shown; ++i) {
        toolkit_.setHistoryEntryCaption(i, toolkit_.listItem(ListBox::rirekilist2, i));
        toolkit_.setHistoryEntryVisible(i, true);
    }
}

void frmQuor6::clearHistory(bool withWindowList) {
    toolkit_.listClear(ListBox::rirekiList);
    if (withWindowList)
        toolkit_.listClear(ListBox::rirekilist2);
    for (int i = 0; i < kHistoryMenuEntries; ++i) {
        toolkit_.setHistoryEntryVisible(i, false);
        toolkit_.setHistoryEntryCaption(i, "");
    }
}

}  // namespace quor6
