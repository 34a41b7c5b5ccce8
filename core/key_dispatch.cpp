// The board window's keys and wheel: one dispatch from key codes to engine operations, so that the windows
// only forward what they receive.
#include "core/engine.h"
#include "core/keys.h"

namespace quorvel {

bool Engine::KeyDown(int key, bool ctrlHeld) {
    if (ctrlHeld) {
        // While Ctrl is held no other key acts.
        if (key == kKeyTab) requests_->ActivateNetGameLog();
        return true;
    }
    // Letters and the numeric pad's digits follow continuations while autoplay is idle in replay mode; they
    // are consumed here, so numeric pad 4, 5 and 6 do not reach the autoplay keys below.
    if (replayMode && autoplayState == 0) {
        if (const int number = HintNumberOfKey(key)) return FollowHint(number);
    }
    switch (key) {
        case kKeyNumpad4: StartAutoplayBackward(); return true;
        case kKeyNumpad6: StartAutoplayForward(); return true;
        case kKeyNumpad5: StopAutoplay(); return true;
        case kKeyNumpadPlus: AutoplayIntervalUp(); return true;
        case kKeyNumpadMinus: AutoplayIntervalDown(); return true;
        default: break;
    }
    if (autoplayState != 0) return false;

    if (!replayMode) {
        if (key == kKeyLeft) {
            StepBack();
            return true;
        }
        if (key == kKeyHome) {
            ClearToStart();
            return true;
        }
        return false;
    }
    switch (key) {
        case kKeyPageUp:
            if (variationDepth >= 2) {
                LeaveToParent();
            } else if (variationDepth == 1) {
                ReturnToDiagram();
            }
            return true;
        case kKeyPageDown:
            if (variationDepth > 0) ReturnToDiagram();
            return true;
        case kKeyEnd: GoToEnd(); return true;
        case kKeyUp: BackTen(); return true;
        case kKeyRight: StepForwardWithSound(); return true;
        case kKeyDown: ForwardTen(); return true;
        case kKeyInsert: AddVariationCommand(); return true;
        case kKeyF1: ToggleHints(); return true;
        case kKeyHome: GoToStart(); return true;
        case kKeyLeft: StepBack(); return true;
        default: return false;
    }
}

void Engine::Wheel(bool up) {
    if (autoplayState != 0) return;
    if (up) {
        if (replayMode && currentIndex < moveLimit && baseIndex < lineEnd) StepForwardWithSound();
    } else if (replayMode || !firstColourOpen) {
        StepBack();
    }
}

}  // namespace quorvel
