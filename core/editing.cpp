// Record editing in both modes: stones and passes by input, trial moves, the first colour and the input
// mode, clearing to the start, the switches between replay and creation mode ("Make", "CALL", "Show"),
// and the comment of a position ("EditC").
#include <algorithm>

#include "core/engine.h"
#include "core/marks.h"
#include "core/sgf_text.h"

namespace quorvel {
namespace {

const char* const kProductName = "Quorvel";

}  // namespace

void Engine::NoteEnteredEntry() {
    // In creation mode the line ends at what was just entered (entries after it were taken back), and the
    // comments of the entries it replaced go with them; in replay mode an entry beyond the stored line
    // extends it.
    if (!replayMode) ForgetCreatedComments(currentIndex - baseIndex);
    if (!replayMode || currentIndex > lineEnd) lineEnd = currentIndex;
    recordModified = true;
}

void Engine::ForgetCreatedComments(int from) {
    for (int slot = std::max(from, 0); slot < kLineSlots; ++slot) {
        editing.createdComments[static_cast<std::size_t>(slot)].clear();
    }
}

void Engine::AnalyseForColourToMove() {
    ClearForbiddenMarks();
    AnalyseGroups();
    MarkSuicidePoints(ColourToMove(), Opponent(ColourToMove()));
}

bool Engine::PutStone(PointCode point) {
    if (replayMode || !IsOnBoard(point) || !IsPlayable(point)) return false;
    messages_.Clear();
    if (currentIndex == baseIndex) firstColourOpen = false;
    if (!PlayColour(ColourToMove())) return false;
    NoteEnteredEntry();
    return true;
}

bool Engine::PlayTrialMove(PointCode point) {
    if (!replayMode || !IsOnBoard(point)) return false;
    if (FollowPoint(point)) return true;
    if (!hintsShown || !IsPlayable(point)) return false;
    messages_.Clear();
    if (!PlayColour(ColourToMove())) return false;
    if (settings.stoneSound) requests_->PlayStoneSound();
    if (moveLimit == kNormalMoveLimit) {
        // Stepping forward stops before the first trial move, and the hints stay those of the position
        // the trial moves left.
        moveLimit = currentIndex;
        hintPosition = currentIndex - 1;
    }
    NoteEnteredEntry();
    RecountHints();
    return true;
}

bool Engine::PassCommand() {
    if (!replayMode && inputMode != 1) return false;
    const int passer = ColourToMove();
    if (!Pass(passer)) return false;
    messages_.SetText(passer == kBlack ? " 黒 が パ ス !" : " 白 が パ ス !");
    if (replayMode) {
        // The pass overwrites the next entry of the stored line, like any trial move.
        if (moveLimit == kNormalMoveLimit) {
            moveLimit = currentIndex;
            hintPosition = currentIndex - 1;
        }
    } else if (currentIndex == baseIndex + 1) {
        firstColourOpen = false;
    }
    NoteEnteredEntry();
    return true;
}

void Engine::SwitchFirstColour() {
    if (replayMode || !firstColourOpen) return;
    blackFirst = blackFirst ? 0 : 1;
    AnalyseForColourToMove();
}

void Engine::SetInputMode(int mode) {
    if (replayMode || (mode != 1 && mode != 3)) return;
    inputMode = mode;
    editing.markMode = false;
}

void Engine::ClearToStart() {
    if (replayMode) return;
    if (currentIndex > baseIndex) {
        while (currentIndex > baseIndex) StepBack();
    } else {
        // Only setup stones were left; the comment at the start stays, as the record's root comment.
        ResetBoard();
        baseIndex = 0;
        lineEnd = 0;
        ForgetCreatedComments(1);
    }
    firstColourOpen = true;
    messages_.Clear();
}

void Engine::RebuildSummaryText() {
    std::string text = summaryPrefix;
    if (baseIndex > 0) {
        text += "\r\n++" + std::string(blackFirst ? "●" : "○") + "++ |  AdvanceMoves：" +
                std::to_string(baseIndex) + "  |  MainMoves：" + std::to_string(lineEnd - baseIndex);
    } else {
        text += "\r\n MainMoves : " + std::to_string(lineEnd);
    }
    summaryText = text;
}

void Engine::SwitchToCreationMode() {
    if (!replayMode) return;
    editing.savedBlackName = memos.blackName;
    editing.savedWhiteName = memos.whiteName;
    editing.savedInfo = memos.info;
    memos = Memos{};
    editing.storedBlackFirst = ((currentIndex - baseIndex) % 2 == 0) ? blackFirst : (blackFirst ? 0 : 1);

    storedPosition.clear();
    for (PointCode p = MakePoint(1, 1); p <= MakePoint(19, 19); ++p) {
        if (board[p] == kBlack || board[p] == kWhite) storedPosition.push_back(MakeStone(board[p], p));
    }
    storedStoneCount = static_cast<int>(storedPosition.size());
    storedMoves.clear();
    editing.storedMoveComments.clear();
    editing.storedMoveKept.clear();
    for (int k = currentIndex + 1; k <= lineEnd && k < kLineSlots; ++k) {
        storedMoves.push_back(lineMoves[k]);
        const int slot = k - baseIndex + LineOffset();
        const bool inBranch = slot > 0 && slot < kLineSlots;
        editing.storedMoveComments.push_back(inBranch ? CommentText(branchComments[currentBranch][slot])
                                                      : "");
        editing.storedMoveKept.push_back(inBranch ? KeptText(branchComments[currentBranch][slot]) : "");
    }
    storedMoveCount = static_cast<int>(storedMoves.size());

    editing.savedMarks = markGrid;
    markGrid.fill(0);
    for (std::string& c : editing.createdComments) c.clear();
    replayMode = false;
    inputMode = 1;
    firstColourOpen = true;
    editing.markMode = false;
    moveLimit = kNormalMoveLimit;
    selectedHint = diagramBranch = hintCount = variationDepth = currentBranch = 0;
    hintLetters.clear();
    passHint = false;
    ResetBoard();
    baseIndex = 0;
    lineEnd = 0;
    messages_.Clear();
}

void Engine::CallStoredPosition() {
    if (replayMode || storedStoneCount <= 0) return;
    if (currentIndex >= 1) {
        messages_.SetText("CALL NG ( You have to clear the board )");
        return;
    }
    blackFirst = editing.storedBlackFirst;
    const int count = std::min(storedStoneCount, kMaxLineEntries);
    for (int k = 1; k <= count; ++k) {
        const int stone = storedPosition[static_cast<std::size_t>(k - 1)];
        lineMoves[k] = StonePoint(stone);
        editSetupList[k] = stone;
        board[StonePoint(stone)] = StoneColour(stone);
    }
    baseIndex = currentIndex = lineEnd = count;
    markGrid = editing.savedMarks;
    recordModified = true;
    AnalyseForColourToMove();
}

void Engine::SwitchToReplayMode() {
    if (replayMode) return;
    replayMode = true;
    inputMode = 1;
    editing.markMode = false;

    if (currentIndex > 0) {
        // The stones on the board are those "Make" kept, and nothing was played: the kept rest of the
        // line follows them again, with its comments.
        std::vector<int> shown;
        for (int k = 1; k <= baseIndex; ++k) shown.push_back(editSetupList[k]);
        std::vector<int> kept = storedPosition;
        std::sort(shown.begin(), shown.end());
        std::sort(kept.begin(), kept.end());
        const bool giveBack = currentIndex == baseIndex && shown == kept;

        for (int b = 0; b <= branchCount && b < kMaxBranches; ++b) branchComments[b].fill(CommentRef{});
        commentPool = kProductName;
        ClearKeptNodes();
        commentPoolBase = 0;
        branchCount = 0;
        mainLineOffset = 0;
        branchOrigin[0] = MakeOrigin(baseIndex, 0, 0);
        lineEnd = currentIndex;
        timeUsed.fill(0);
        timeLeft.fill(0);
        setupList = editSetupList;
        setupCount = baseIndex;

        int moves = currentIndex - baseIndex;
        std::vector<std::string> keptAt(kLineSlots);
        if (giveBack) {
            for (std::size_t i = 0; i < storedMoves.size() && lineEnd < kMaxLineEntries; ++i) {
                lineMoves[++lineEnd] = storedMoves[i];
                editing.createdComments[static_cast<std::size_t>(lineEnd - baseIndex)] =
                    i < editing.storedMoveComments.size() ? editing.storedMoveComments[i] : "";
                if (i < editing.storedMoveKept.size()) keptAt[static_cast<std::size_t>(lineEnd - baseIndex)] = editing.storedMoveKept[i];
            }
            moves = lineEnd - baseIndex;
        }
        storedLineEnd = lineEnd;
        branchMoves[0].fill(0);
        branchMoves[0][0] = MakeHeader(0, blackFirst ? kBlack : kWhite, moves);
        for (int k = 1; k <= moves; ++k) {
            branchMoves[0][k] = lineMoves[baseIndex + k];
            const std::string& comment = editing.createdComments[static_cast<std::size_t>(k)];
            if (!comment.empty()) branchComments[0][k] = AppendComment(comment);
            SetKeptText(branchComments[0][k], keptAt[static_cast<std::size_t>(k)]);
        }

        std::string header = "(;GM[1]FF[1]";
        if (moves == 0 && !blackFirst) header += "NE[W]";
        std::string black;
        std::string white;
        for (int k = 1; k <= baseIndex; ++k) {
            const std::string item = "[" + SgfPointText(StonePoint(editSetupList[k])) + "]";
            (StoneColour(editSetupList[k]) == kBlack ? black : white) += item;
        }
        if (!black.empty()) header += "\r\nAB" + black;
        if (!white.empty()) header += "\r\nAW" + white;
        for (const std::string& list : MarkPropertyLists(markGrid)) {
            if (!list.empty()) header += "\r\n" + list;
        }
        headerText = header;
        // A comment written at the start of the created line is the record's root comment.
        if (!editing.createdComments[0].empty()) gameComment = editing.createdComments[0];
        RebuildSummaryText();
        hintPosition = mainLinePosition = currentIndex;
        RecountHints();
    } else {
        // Nothing was created: the record of the branch table is shown again at its start.
        markGrid = editing.savedMarks;
        memos.blackName = editing.savedBlackName;
        memos.whiteName = editing.savedWhiteName;
        memos.info = editing.savedInfo;
        mainLinePosition = setupCount;
        RebuildLine();
    }
    if (summaryText == kNoComment) summaryText.clear();
    messages_.SetText(summaryText);
}

bool Engine::BeginCommentEdit(std::string& text) {
    if (currentIndex >= moveLimit) return false;
    const int slot = currentIndex - baseIndex;
    if (!replayMode) {
        if (slot < 0 || slot >= kLineSlots) return false;
        text = editing.createdComments[static_cast<std::size_t>(slot)];
    } else if (currentBranch == 0 && currentIndex == baseIndex) {
        text = gameComment == kNoComment ? std::string() : gameComment;
    } else {
        const int at = CurrentMoveSlot();
        if (at < 0 || at >= kLineSlots) return false;
        text = CommentText(branchComments[currentBranch][at]);
    }
    messages_.SetText(text);
    return true;
}

void Engine::FinishCommentEdit(const std::string& text) {
    if (!replayMode) {
        const int slot = currentIndex - baseIndex;
        if (slot < 0 || slot >= kLineSlots) return;
        editing.createdComments[static_cast<std::size_t>(slot)] = ProtectSgfText(text);
        messages_.SetText(editing.createdComments[static_cast<std::size_t>(slot)]);
        recordModified = true;
        return;
    }
    StoreComment(text);
    recordModified = true;
    if (currentBranch == 0 && currentIndex == baseIndex) {
        messages_.SetText(summaryText == kNoComment ? std::string() : summaryText);
    } else {
        messages_.SetText(CommentText(branchComments[currentBranch][CurrentMoveSlot()]));
    }
}

}  // namespace quorvel
