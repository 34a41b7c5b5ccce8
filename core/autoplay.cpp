// Autoplay: the board window's timer steps the line forward or back at the chosen interval, with the
// navigation commands disabled while it runs.
#include "core/engine.h"

namespace quorvel {

bool Engine::StartAutoplayForward() {
    if (baseIndex >= lineEnd || currentIndex >= lineEnd) return false;
    if (autoplayState == 0) requests_->SetNavigationEnabled(false);
    autoplayState = 1;
    return true;
}

bool Engine::StartAutoplayBackward() {
    if (baseIndex >= lineEnd || currentIndex <= baseIndex) return false;
    if (autoplayState == 0) requests_->SetNavigationEnabled(false);
    autoplayState = 2;
    return true;
}

void Engine::StopAutoplay() {
    if (autoplayState == 0) return;
    autoplayState = 0;
    requests_->SetNavigationEnabled(true);
    if (messages_.Text().compare(0, 4, "自動") == 0) messages_.Clear();
}

void Engine::EndAutoplayWhen(bool reachedEnd) {
    if (!reachedEnd) return;
    autoplayState = 0;
    requests_->SetNavigationEnabled(true);
}

void Engine::AutoplayTick() {
    const int before = currentIndex;
    if (autoplayState == 1) {
        StepForwardWithSound();
        // Trial moves hold stepping at their limit: autoplay ends there as at the end of the line.
        EndAutoplayWhen(currentIndex == lineEnd || currentIndex == before);
    } else if (autoplayState == 2) {
        StepBack();
        EndAutoplayWhen(currentIndex == baseIndex || currentIndex == before);
    }
}

void Engine::AutoplayIntervalUp() {
    if (autoplayInterval < 9000) autoplayInterval += 1000;
    requests_->ShowAutoplayInterval(autoplayInterval / 1000);
}

void Engine::AutoplayIntervalDown() {
    if (autoplayInterval > 1000) autoplayInterval -= 1000;
    requests_->ShowAutoplayInterval(autoplayInterval / 1000);
}

}  // namespace quorvel
