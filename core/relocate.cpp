// Changing moves already on the board: relocating the stone of a numbered move, replacing a pass of the
// main line by a stone, and making a position of the main line the start of the record. Changed moves are
// played through the rules again, so that captures and the saved record agree with the board.
#include <algorithm>
#include <vector>

#include "core/engine.h"
#include "core/sgf_text.h"
#include "platform/text_codec.h"

namespace quorvel {
namespace {

// Removes the list of a setup property ("AB" or "AW") with its items, and the line break before it.
void EraseSetupList(std::string& head, const char* name) {
    const std::size_t at = head.find(std::string(name) + "[");
    if (at == std::string::npos) return;
    std::size_t end = at + 2;
    while (true) {
        std::size_t next = end;
        while (next < head.size() && (head[next] == '\r' || head[next] == '\n' || head[next] == ' ')) ++next;
        if (next >= head.size() || head[next] != '[') break;
        const std::size_t close = head.find(']', next);
        if (close == std::string::npos) break;
        end = close + 1;
    }
    std::size_t from = at;
    if (from >= 2 && head.compare(from - 2, 2, "\r\n") == 0) from -= 2;
    head.erase(from, end - from);
}

// The head cut back to its root node, without the AS property: moves that AS hid stand in the head as
// nodes of their own, and become setup stones when a later position is made the start.
std::string RootNodeWithoutAs(const std::string& head) {
    const std::size_t root = FindSgfChar(head, ';');
    if (root == std::string::npos) return head;
    std::string out = head.substr(0, root + 1);
    std::size_t nameStart = std::string::npos;  // of the property whose values follow
    bool inValue = false;
    bool dropping = false;
    for (std::size_t i = root + 1; i < head.size(); ++i) {
        const char c = head[i];
        if (inValue) {
            const bool pair = (IsCp932LeadByte(static_cast<unsigned char>(c)) || c == '\\') && i + 1 < head.size();
            if (!dropping) out += pair ? head.substr(i, 2) : std::string(1, c);
            if (pair) ++i;
            if (!pair && c == ']') inValue = false;
            continue;
        }
        if (c == ';' || c == '(' || c == ')') break;  // the next node: the first hidden move
        if (c == '[') {
            inValue = true;
            if (nameStart != std::string::npos) {
                dropping = head.compare(nameStart, 2, "AS") == 0 && i - nameStart == 2;
                if (dropping) out.erase(out.size() - 2);
                nameStart = std::string::npos;
            }
            if (!dropping) out += c;
            continue;
        }
        if (c >= 'A' && c <= 'Z') {
            if (nameStart == std::string::npos) nameStart = i;
        } else {
            nameStart = std::string::npos;
        }
        out += c;
    }
    while (!out.empty() && (out.back() == '\r' || out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

}  // namespace

int Engine::NumberedEntryAt(PointCode point) const {
    if (!IsOnBoard(point) || (board[point] != kBlack && board[point] != kWhite)) return 0;
    for (int k = currentIndex; k > baseIndex; --k) {
        if (lineMoves[k] == point) return k;
    }
    return 0;
}

void Engine::ReplayFromEntry(int entry, int target) {
    while (currentIndex >= entry) TakeBack();
    while (currentIndex < target) ApplyNextEntry();
    hintPosition = currentIndex;
    if (variationDepth == 0) mainLinePosition = currentIndex;
    RecountHints();
}

bool Engine::PlayedLaterInLine(int entry, PointCode target) const {
    for (int k = entry + 1; k <= lineEnd; ++k) {
        if (lineMoves[k] == target) return true;
    }
    // Beyond trial moves, the record's own moves of the branch go on after the entry.
    const int move = entry - baseIndex + LineOffset();
    if (!replayMode || entry >= moveLimit) return false;
    for (int m = move + 1; m <= LineOffset() + BranchLength(currentBranch) && m < kLineSlots; ++m) {
        if (branchMoves[currentBranch][m] == target) return true;
    }
    return false;
}

bool Engine::ReplaceEntryStone(int entry, PointCode target, int shown) {
    // The position before the entry, analysed for its colour: the target must be a point it may play,
    // and one that no later move of the line plays on (the record would hold two moves on one point).
    bool legal = IsPlayable(target);
    if (legal && PlayedLaterInLine(entry, target)) {
        messages_.SetText(kNotPlayable);
        legal = false;
    }
    if (legal) {
        lineMoves[entry] = target;
        // A trial move (from moveLimit on) is not the record's: the stored move at its place stays.
        const int move = entry - baseIndex + LineOffset();
        if (replayMode && entry < moveLimit && move < kLineSlots) branchMoves[currentBranch][move] = target;
        recordModified = true;
        messages_.Clear();
    }
    ReplayFromEntry(entry, shown);
    return legal;
}

bool Engine::RelocateStone(int entry, PointCode target) {
    if (entry <= baseIndex || entry > currentIndex || lineMoves[entry] == kPass || !IsOnBoard(target))
        return false;
    const int shown = currentIndex;
    while (currentIndex >= entry) TakeBack();
    return ReplaceEntryStone(entry, target, shown);
}

bool Engine::ReplacePass(PointCode target) {
    if (autoplayState != 0 || currentBranch != 0 || !PassSignShown() || !IsOnBoard(target)) return false;
    const int entry = currentIndex;
    TakeBack();
    return ReplaceEntryStone(entry, target, entry);
}

bool Engine::MakePositionTheStart(PointCode point) {
    if (currentBranch != 0) return false;
    const int i = NumberedEntryAt(point);
    if (i == 0) return false;
    const int steps = currentIndex - i;
    while (currentIndex > i) StepBack();

    // The rest of the line with its comments and times. Trial moves on the board are not the record's: in
    // replay mode the line goes on with its stored moves, and after a trial stone with none.
    const int off = replayMode ? LineOffset() : 0;
    int last = lineEnd;
    if (replayMode) last = i >= moveLimit ? i : BranchLength(0) + baseIndex;
    std::vector<int> rest;
    std::vector<CommentRef> restComments;
    std::vector<std::pair<int, int>> restTimes;
    for (int k = i + 1; k <= last && k < kLineSlots; ++k) {
        const int slot = k - baseIndex + off;
        rest.push_back(replayMode ? branchMoves[0][slot] : lineMoves[k]);
        restComments.push_back(replayMode && slot < kLineSlots ? branchComments[0][slot] : CommentRef{});
        restTimes.push_back({timeUsed[k], timeLeft[k]});
    }
    blackFirst = board[lineMoves[i]] == kWhite ? 1 : 0;
    if (!replayMode) {
        // Comments written while building follow their moves to the new numbering; the one at the start
        // stays there, as the root comment does in replay mode.
        const std::size_t shift = static_cast<std::size_t>(i - baseIndex);
        auto& comments = editing.createdComments;
        for (std::size_t j = 1; j < comments.size(); ++j) {
            comments[j] = j + shift < comments.size() ? std::move(comments[j + shift]) : std::string();
        }
    }

    // Every stone of the position becomes a setup entry.
    std::vector<int> stones;
    for (PointCode p = MakePoint(1, 1); p <= MakePoint(19, 19); ++p) {
        if (IsOnBoard(p) && (board[p] == kBlack || board[p] == kWhite))
            stones.push_back(MakeStone(board[p], p));
    }
    const int n = static_cast<int>(stones.size());
    const int moves = std::min(static_cast<int>(rest.size()), kMaxLineEntries - n);
    LineArray& setup = replayMode ? setupList : editSetupList;
    setup.fill(0);
    lineMoves.fill(0);
    timeUsed.fill(0);
    timeLeft.fill(0);
    for (int k = 1; k <= n; ++k) {
        setup[k] = stones[static_cast<std::size_t>(k - 1)];
        lineMoves[k] = StonePoint(setup[k]);
    }
    for (int j = 1; j <= moves; ++j) {
        lineMoves[n + j] = rest[static_cast<std::size_t>(j - 1)];
        timeUsed[n + j] = restTimes[static_cast<std::size_t>(j - 1)].first;
        timeLeft[n + j] = restTimes[static_cast<std::size_t>(j - 1)].second;
    }
    captureLog.clear();
    replacedStone_.fill(kEmpty);
    blackCaptured = whiteCaptured = 0;
    baseIndex = currentIndex = n;
    lineEnd = n + moves;
    moveLimit = kNormalMoveLimit;

    if (replayMode) {
        if (mainLineOffset > 0) headerText = RootNodeWithoutAs(headerText);
        for (int b = 0; b <= branchCount && b < kMaxBranches; ++b) {
            if (b > 0) branchMoves[b].fill(0);
            if (b > 0) branchComments[b].fill(CommentRef{});
        }
        const CommentRef before = branchComments[0][0];
        branchComments[0].fill(CommentRef{});
        branchComments[0][0] = before;
        branchMoves[0].fill(0);
        branchMoves[0][0] = MakeHeader(0, blackFirst ? kBlack : kWhite, moves);
        for (int j = 1; j <= moves; ++j) {
            branchMoves[0][j] = rest[static_cast<std::size_t>(j - 1)];
            branchComments[0][j] = restComments[static_cast<std::size_t>(j - 1)];
        }
        branchCount = 0;
        mainLineOffset = 0;
        setupCount = n;
        branchOrigin[0] = MakeOrigin(n, 0, 0);
        diagramBranch = variationDepth = 0;
        std::string black;
        std::string white;
        for (int k = 1; k <= n; ++k) {
            (StoneColour(setup[k]) == kBlack ? black : white) +=
                "[" + SgfPointText(StonePoint(setup[k])) + "]";
        }
        EraseSetupList(headerText, "AB");
        EraseSetupList(headerText, "AW");
        if (!black.empty()) headerText += "\r\nAB" + black;
        if (!white.empty()) headerText += "\r\nAW" + white;
        summaryText = summaryPrefix + "\r\n++ " + (blackFirst ? "●" : "○") + " ++ | AdvanceMoves：" +
                      std::to_string(setupCount) + " | MainMoves：" + std::to_string(moves);
    }
    AnalyseForColourToMove();
    hintPosition = mainLinePosition = currentIndex;
    for (int k = 0; k < steps; ++k) StepForward();
    RecountHints();
    recordModified = true;
    return true;
}

}  // namespace quorvel
