#include "core/slot_pictures.h"

#include "core/guess.h"

namespace quor6 {

SlotPictures guessPictures(std::string_view guess) {
    return {PictureNum(guessDigit(guess, 1)), PictureNum(guessDigit(guess, 2)),
            PictureNum(guessDigit(guess, 3)), PictureNum(guessDigit(guess, 4))};
}

SlotPictures verdictPictures(const Verdict& verdict, std::int16_t count) {
    switch (verdict.kind) {
        case VerdictKind::Rejected:
            return {IconHolder::PictureSP, IconHolder::PictureN, IconHolder::PictureG,
                    IconHolder::PictureSP};
        case VerdictKind::Scored:
            return {PictureNum(verdict.strikes), IconHolder::PictureS, PictureNum(verdict.balls),
                    IconHolder::PictureB};
        case VerdictKind::Solved:
            break;
    }
    const int lastTwo = (count < 0 ? -count : count) % 100;
    return {IconHolder::PictureO, IconHolder::PictureK, PictureNum(lastTwo / 10),
            PictureNum(lastTwo % 10)};
}

}  // namespace quor6
