// Variation hints: the letters on the continuations of the shown position, following them by key or click,
// and the hint switch.
#include <random>

#include "core/engine.h"

namespace quorvel {
namespace {

// Letters by hint position; there is no "I", so that it cannot be taken for a "1".
constexpr char kHintLetterTable[] = "ABCDEFGHJKLMNOPQRSTA";
constexpr int kHintLetterCount = sizeof(kHintLetterTable) - 1;

}  // namespace

// Branches are numbered 2, 3, ... in table order, skipping 9: the letter at string position 9 is "J",
// the tenth letter of the alphabet, so the key "J" (10) must reach it.
int Engine::RunningNumber(int nthBranch) { return nthBranch + 1 < 9 ? nthBranch + 1 : nthBranch + 2; }

char Engine::HintLetterAt(int k) { return (k >= 1 && k <= kHintLetterCount) ? kHintLetterTable[k - 1] : 0; }

void Engine::RecountHints() {
    if (commentDialogOpen || deletingMoves) return;
    hintCount = BranchesAt(hintPosition);
    hintLetters.clear();
    passHint = false;
    if (!hintsShown) return;
    // A pass continuation is chosen by the hint box; what it chose at another position no longer applies.
    selectedHint = 0;

    const int place = PlaceAt(hintPosition);
    int nth = 0;
    for (int j = 1; j <= branchCount; ++j) {
        if (OriginPlace(branchOrigin[j]) != place) continue;
        ++nth;
        const PointCode first = BranchLength(j) > 0 ? branchMoves[j][1] : kPass;
        if (first == kPass) {
            selectedHint = j;
            passHint = true;
        } else if (const char letter = HintLetterAt(nth + 1)) {
            hintLetters.push_back({first, letter, false});
        }
    }
    const bool lineContinues = hintPosition == currentIndex && currentIndex < lineEnd;
    if (lineContinues && !(settings.noZarnNoHint && hintCount == 0)) {
        const PointCode next = lineMoves[currentIndex + 1];
        if (next == kPass) {
            selectedHint = MakeAlongLineHint(currentBranch);
            passHint = true;
        } else {
            hintLetters.push_back({next, 'A', true});
        }
    }

    // Shuffled letters: deal the numbers count .. 1 to the points still without one, each to the point at
    // (random mod n) among them, and show the letter of the number dealt.
    const int count = static_cast<int>(hintLetters.size());
    if (settings.salala && count >= 2) {
        if (!random) {
            random = [generator = std::mt19937(std::random_device{}())]() mutable { return generator(); };
        }
        std::vector<int> number(count, 0);
        for (int n = count; n >= 1; --n) {
            int position = static_cast<int>(random() % static_cast<unsigned>(n));
            for (int i = 0; i < count; ++i) {
                if (number[i] != 0) continue;
                if (position-- == 0) {
                    number[i] = n;
                    break;
                }
            }
        }
        for (int i = 0; i < count; ++i) hintLetters[i].letter = HintLetterAt(number[i]);
    }
}

bool Engine::FollowHint(int number) {
    if (number <= 0) return false;
    if (BranchesAt(hintPosition) == 0 || currentIndex >= moveLimit - 1) return true;
    if (number == 1) {
        if (currentIndex < lineEnd) StepForward();
        return true;
    }
    const int place = PlaceAt(hintPosition);
    int nth = 0;
    for (int j = 1; j <= branchCount; ++j) {
        if (OriginPlace(branchOrigin[j]) != place) continue;
        if (RunningNumber(++nth) == number) {
            EnterBranch(j);
            return true;
        }
    }
    return true;
}

void Engine::HintBoxClick() {
    if (!hintsShown) {
        if (hintCount <= 0) return;
        const int picked = requests_->ChooseVariation();
        if (picked == kChosenNextMove) {
            StepForward();
        } else if (picked != 0) {
            FollowPoint(picked);
        }
        return;
    }
    if (HintStepsAlongLine(selectedHint)) {
        StepForward();
    } else if (selectedHint > 0) {
        EnterBranch(selectedHint);
    }
}

void Engine::ToggleHints() {
    hintsShown = !hintsShown;
    selectedHint = 0;
    if (hintsShown) settings.showXY = false;
    RecountHints();
    requests_->ShowSwitches(hintsShown, settings.showXY);
}

}  // namespace quorvel
