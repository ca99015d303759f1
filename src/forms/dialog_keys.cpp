#include "forms/dialog_keys.h"

namespace vantor {

namespace {
constexpr int kVkTab = 0x09, kVkReturn = 0x0D, kVkEscape = 0x1B, kVkPrior = 0x21, kVkNext = 0x22,
              kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28, kVkF1 = 0x70;
}  // namespace

DialogKeyAction PlanDialogKey(int key, bool shift, unsigned dlgCode) {
    using A = DialogKeyAction;
    const bool wantsAll = (dlgCode & kDlgcWantAllKeys) != 0;
    const bool wantsArrows = wantsAll || (dlgCode & kDlgcWantArrows) != 0;
    switch (key) {
        case kVkTab:
            if (dlgCode & kDlgcWantTab) return A::kNone;
            return shift ? A::kPrevious : A::kNext;
        case kVkLeft:
        case kVkUp:
        case kVkPrior:
            return wantsArrows ? A::kNone : A::kPrevious;
        case kVkRight:
        case kVkDown:
        case kVkNext:
            return wantsArrows ? A::kNone : A::kNext;
        case kVkReturn:
            if (wantsAll) return A::kNone;
            if (dlgCode & (kDlgcDefPushButton | kDlgcUndefPushButton)) return A::kPressFocused;
            return A::kPressDefault;
        case kVkEscape:
            return wantsAll ? A::kNone : A::kPressCancel;
        case kVkF1:
            return A::kHelp;
        default:
            return A::kNone;
    }
}

int NextFocusIndex(std::span<const bool> canFocus, int current, bool backward) {
    const int count = static_cast<int>(canFocus.size());
    if (count == 0) return -1;
    if (current < 0 || current >= count) current = backward ? 0 : count - 1;
    for (int step = 1; step <= count; ++step) {
        const int i = ((backward ? current - step : current + step) % count + count) % count;
        if (canFocus[static_cast<std::size_t>(i)]) return i;
    }
    return -1;
}

}  // namespace vantor
