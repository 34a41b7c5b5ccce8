// Stepping along the current line: one entry forward or back, with the messages, the comment of the
// position and the variation hints kept in step.
#include <algorithm>

#include "core/engine.h"
#include "core/sgf_text.h"

namespace quorvel {
namespace {

// "1分5秒", or "45秒" below a minute.
std::string MinutesSeconds(int seconds) {
    if (seconds < 60) return std::to_string(seconds) + "秒";
    return std::to_string(seconds / 60) + "分" + std::to_string(seconds % 60) + "秒";
}

}  // namespace

bool Engine::ApplyNextEntry() {
    const PointCode p = lineMoves[currentIndex + 1];
    if (p != kPass && IsOnBoard(p)) {
        lastPoint = p;
        if (ColourToMove() == kBlack) {
            PlayBlack();
        } else {
            PlayWhite();
        }
        return false;
    }
    // A recorded pass: no new analysis, so no ko or suicide mark stands after it.
    ClearForbiddenMarks();
    currentIndex += 1;
    lastPoint = 0;
    return true;
}

void Engine::StepForward() {
    if (currentIndex >= lineEnd || currentIndex > moveLimit - 2) return;
    messages_.Clear();
    if (ApplyNextEntry()) messages_.SetText(" PASS！");
    if (currentIndex == lineEnd) {
        messages_.SetText(" No more moves.");
    } else if (autoplayState == 1) {
        messages_.SetText("自動再生中");
    }
    hintPosition = currentIndex;
    if (variationDepth == 0) mainLinePosition = currentIndex;
    ShowPositionComment();
    RecountHints();
}

void Engine::StepBack() {
    if (currentIndex <= baseIndex) return;
    if (lineMoves[currentIndex] != kPass) messages_.Clear();
    TakeBack();
    if (currentIndex == baseIndex) {
        if (!replayMode) {
            firstColourOpen = true;
        } else if (currentBranch == 0) {
            messages_.SetText(summaryText);
        }
    }
    hintPosition = currentIndex;
    if (variationDepth == 0) mainLinePosition = currentIndex;
    if (autoplayState == 2 && currentIndex > baseIndex) messages_.SetText("自動後退中");
    if (currentIndex < moveLimit) {
        RecountHints();
        if (currentBranch != 0 || currentIndex > baseIndex) ShowPositionComment();
    }
}

void Engine::ShowPositionComment() {
    if (!replayMode || deletingMoves) return;
    const int slot = CurrentMoveSlot();
    if (slot < 0 || slot >= kLineSlots) return;
    const CommentRef r = branchComments[currentBranch][slot];
    const bool timed = currentIndex > 0 && (timeUsed[currentIndex] != 0 || timeLeft[currentIndex] != 0);
    if (r.IsSet()) {
        messages_.SetText(CommentText(r));
    } else if (!timed) {
        const bool onStone = lineMoves[currentIndex] != kPass;
        if (variationDepth > 0 && currentIndex > baseIndex && currentIndex != lineEnd && onStone) {
            messages_.Clear();
        } else if (currentBranch == 0 && currentIndex == baseIndex) {
            messages_.SetText(summaryText);
        }
    }
    if (timed && currentBranch == 0) {
        std::string text = messages_.Text();
        if (!text.empty()) text += "\r\n";
        if (timeUsed[currentIndex] != 0) text += "消費時間：" + MinutesSeconds(timeUsed[currentIndex]);
        if (timeLeft[currentIndex] != 0) {
            text += "  |  残り時間：" + MinutesSeconds(timeLeft[currentIndex] / 100);
            const int overtimeMoves = timeLeft[currentIndex] % 100;
            if (overtimeMoves != 0) text += " / " + std::to_string(overtimeMoves) + "手";
        }
        messages_.SetText(text);
    }
    // Stones a node sets up or takes away in the middle of a line are kept with it but not shown: say so.
    if (currentIndex > baseIndex && currentIndex < moveLimit) {
        std::string setup;
        VisitNodeValues(KeptText(r), [&setup](const std::string& name, const std::string& value) {
            if (name == "AB" || name == "AW" || name == "AE") setup += name + "[" + value + "]";
        });
        if (!setup.empty()) {
            const std::string text = messages_.Text();
            messages_.SetText(text + (text.empty() ? "" : "\r\n") + kSetupNotShown + setup);
        }
    }
}

void Engine::ForwardTen() {
    const int steps = std::min(10, lineEnd - currentIndex);
    for (int k = 0; k < steps; ++k) StepForward();
}

void Engine::BackTen() {
    const int steps = std::min(10, currentIndex - baseIndex);
    for (int k = 0; k < steps; ++k) StepBack();
}

void Engine::GoToEnd() {
    // Stepping stops early at the move limit of trial moves; stop with it.
    for (int before = -1; currentIndex < lineEnd && currentIndex != before;) {
        before = currentIndex;
        StepForward();
    }
}

void Engine::GoToStart() {
    while (currentIndex > baseIndex) StepBack();
}

void Engine::BackToStone(PointCode point) {
    for (int k = currentIndex; k > baseIndex; --k) {
        if (lineMoves[k] == point) {
            while (currentIndex > k) StepBack();
            return;
        }
    }
}

bool Engine::PassSignShown() const {
    return currentBranch == 0 && currentIndex > baseIndex && lineMoves[currentIndex] == kPass;
}

void Engine::StepForwardWithSound() {
    const int before = currentIndex;
    StepForward();
    if (settings.stoneSound && currentIndex != before) requests_->PlayStoneSound();
}

}  // namespace quorvel
