// "Swap": a variation changes places with its parent line. The moves and comments after the branch point
// are exchanged, the branches that hung on either part move with their moves, and the table is reordered
// so that it stays in depth-first order with every branch keeping its parent and branch point.
#include <algorithm>
#include <vector>

#include "core/engine.h"

namespace quorvel {
namespace {

const char* const kSwapQuestion = " 今の子手順を親手順に置換えますか？";
const char* const kSwapCaption = " Quorvel : 置換えの確認";
const char* const kNoRoom = "メモリーオーバーのため、置換えできません";
const char* const kCannotChange = "Can not change.";

// One branch's row of the table, as much of it as it uses.
struct Row {
    int origin;
    std::vector<int> moves;  // [0] header
    std::vector<CommentRef> comments;
};

bool IsTopLevel(const Engine& e, int j) {
    return j > 0 && OriginParent(e.branchOrigin[j]) == 0 && OriginMove(e.branchOrigin[j]) == e.mainLineOffset;
}

// True when j is b or lies in b's subtree. The alternatives to the main line's first move are roots of their
// own, not part of the main line's subtree.
bool InSubtree(const Engine& e, int j, int b) {
    for (int x = j, guard = 0; guard <= kMaxBranches; ++guard) {
        if (x == b) return true;
        if (x <= 0 || IsTopLevel(e, x)) return false;
        const int parent = OriginParent(e.branchOrigin[x]);
        if (parent >= x) return false;
        x = parent;
    }
    return false;
}

// Rewrites rows from..from + order.size() - 1 with the rows at the old indices `order`, and renumbers every
// parent index of the table through `newIndex` (old index -> new index, identity outside the range).
void Reorder(Engine& e, int from, const std::vector<int>& order, const std::vector<int>& newIndex) {
    std::vector<Row> rows;
    rows.reserve(order.size());
    std::vector<int> oldLengths;
    for (int old : order) {
        const int length = e.BranchLength(old);
        Row r{e.branchOrigin[old], {}, {}};
        r.moves.assign(e.branchMoves[old].begin(), e.branchMoves[old].begin() + length + 1);
        r.comments.assign(e.branchComments[old].begin(), e.branchComments[old].begin() + length + 1);
        rows.push_back(std::move(r));
        oldLengths.push_back(length);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int b = from + static_cast<int>(i);
        const Row& r = rows[i];
        const std::size_t clear = static_cast<std::size_t>(std::max(oldLengths[i], e.BranchLength(b))) + 1;
        std::fill(e.branchMoves[b].begin(),
                  e.branchMoves[b].begin() + std::min(clear, e.branchMoves[b].size()), 0);
        std::fill(e.branchComments[b].begin(),
                  e.branchComments[b].begin() + std::min(clear, e.branchComments[b].size()), CommentRef{});
        std::copy(r.moves.begin(), r.moves.end(), e.branchMoves[b].begin());
        std::copy(r.comments.begin(), r.comments.end(), e.branchComments[b].begin());
        e.branchOrigin[b] = r.origin;
    }
    for (int j = 1; j <= e.branchCount; ++j) {
        const int origin = e.branchOrigin[j];
        const int parent = OriginParent(origin);
        if (parent < static_cast<int>(newIndex.size()) && newIndex[parent] != parent) {
            e.branchOrigin[j] = MakeOrigin(OriginBase(origin), newIndex[parent], OriginMove(origin));
        }
    }
}

// Nesting levels from the parents: the main line 0, its alternatives and children one more than their parent.
void RenewDepths(Engine& e, int from, int to) {
    for (int j = std::max(from, 1); j < to; ++j) {
        const int parent = OriginParent(e.branchOrigin[j]);
        const int depth = IsTopLevel(e, j) || parent == 0 ? 1 : HeaderDepth(e.branchMoves[parent][0]) + 1;
        const int header = e.branchMoves[j][0];
        e.branchMoves[j][0] = MakeHeader(depth, HeaderFirstColour(header), HeaderLength(header));
    }
}

}  // namespace

int Engine::SubtreeEnd(int b) const {
    int j = b + 1;
    while (j <= branchCount && InSubtree(*this, j, b)) ++j;
    return j;
}

bool Engine::SwapVariation() {
    if (!replayMode || autoplayState != 0 || moveLimit != kNormalMoveLimit || mainLineOffset != 0)
        return false;
    if (currentBranch <= 0 || currentBranch > branchCount) return false;
    if (dialogs_.AskYesNo(kSwapQuestion, kSwapCaption) != Answer::Yes) return false;
    const bool swapped =
        variationDepth == 0 ? SwapWithMainLine(currentBranch) : SwapWithParent(currentBranch);
    if (swapped) recordModified = true;
    return swapped;
}

bool Engine::SwapWithMainLine(int d) {
    int e = d + 1;
    while (e <= branchCount && branchOrigin[e] != branchOrigin[0]) ++e;
    const int size = e - d;
    if (kLastBranch - branchCount < size) {
        dialogs_.ShowMessage(kNoRoom);
        return false;
    }
    // The diagram's block goes to the front, the former main line and everything before the block after it.
    std::vector<int> order;
    std::vector<int> newIndex(static_cast<std::size_t>(branchCount) + 1);
    for (int j = 0; j <= branchCount; ++j) newIndex[static_cast<std::size_t>(j)] = j;
    for (int j = d; j < e; ++j) order.push_back(j);
    for (int j = 0; j < d; ++j) order.push_back(j);
    for (int i = 0; i < e; ++i) newIndex[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])] = i;
    // The alternatives to the first move stay alternatives of the new main line: their parent stays 0.
    // The children of the former main line follow it to its new index.
    const int formerMain = newIndex[0];
    const int start = branchOrigin[0];
    for (int j = 1; j < d; ++j) {
        if (!IsTopLevel(*this, j) && OriginParent(branchOrigin[j]) == 0) {
            branchOrigin[j] =
                MakeOrigin(OriginBase(branchOrigin[j]), kDeadParent, OriginMove(branchOrigin[j]));
        }
    }
    newIndex[0] = 0;
    for (int j = d + 1; j < e; ++j) {
        if (OriginParent(branchOrigin[j]) == d) {
            branchOrigin[j] = MakeOrigin(OriginBase(branchOrigin[j]), 0, OriginMove(branchOrigin[j]));
        }
    }
    branchOrigin[d] = start;
    branchOrigin[0] = start;
    Reorder(*this, 0, order, newIndex);
    for (int j = 1; j <= branchCount; ++j) {
        if (OriginParent(branchOrigin[j]) == kDeadParent) {
            branchOrigin[j] =
                MakeOrigin(OriginBase(branchOrigin[j]), formerMain, OriginMove(branchOrigin[j]));
        }
    }
    branchOrigin[0] = start;
    branchOrigin[formerMain] = start;
    const int header = branchMoves[0][0];
    branchMoves[0][0] = MakeHeader(0, HeaderFirstColour(header), HeaderLength(header));
    RenewDepths(*this, 1, e);

    diagramBranch = currentBranch = 0;
    if (gameComment == kNoComment) RebuildSummaryText();
    RecountHints();
    return true;
}

bool Engine::SwapWithParent(int c) {
    const int origin = branchOrigin[c];
    const int p = OriginParent(origin);
    const int m = OriginMove(origin);
    const int cEnd = SubtreeEnd(c);
    int sEnd = cEnd;
    while (sEnd <= branchCount && OriginPlace(branchOrigin[sEnd]) == OriginPlace(origin))
        sEnd = SubtreeEnd(sEnd);
    int kEnd = sEnd;
    while (kEnd <= branchCount && InSubtree(*this, kEnd, p)) ++kEnd;
    const int d = cEnd - c - 1;
    const int k = kEnd - sEnd;
    if (d > 0 && k > 0 && sEnd > cEnd) {
        messages_.SetText(kCannotChange);
        return false;
    }

    // Exchange the moves after move m of p with the moves of c, comments with them.
    const int pLength = BranchLength(p);
    const int cLength = BranchLength(c);
    const std::vector<int> tailMoves(branchMoves[p].begin() + m + 1, branchMoves[p].begin() + pLength + 1);
    const std::vector<CommentRef> tailComments(branchComments[p].begin() + m + 1,
                                               branchComments[p].begin() + pLength + 1);
    for (int i = m + 1; i <= std::max(pLength, m + cLength); ++i) {
        branchMoves[p][i] = i - m <= cLength ? branchMoves[c][i - m] : 0;
        branchComments[p][i] = i - m <= cLength ? branchComments[c][i - m] : CommentRef{};
    }
    for (int i = 1; i <= std::max(cLength, pLength - m); ++i) {
        const bool kept = i <= pLength - m;
        branchMoves[c][i] = kept ? tailMoves[static_cast<std::size_t>(i - 1)] : 0;
        branchComments[c][i] = kept ? tailComments[static_cast<std::size_t>(i - 1)] : CommentRef{};
    }
    // The comment before c's first moves goes with them. In p they follow move m at once, and what is said
    // between two moves of a line is said after the first of them, as a reading puts a comment there.
    JoinNodesBefore(branchComments[p][m], m, branchComments[c][0]);
    branchComments[c][0] = CommentRef{};
    const int pHeader = branchMoves[p][0];
    const int cHeader = branchMoves[c][0];
    branchMoves[p][0] = MakeHeader(HeaderDepth(pHeader), HeaderFirstColour(pHeader), m + cLength);
    branchMoves[c][0] = MakeHeader(HeaderDepth(cHeader), HeaderFirstColour(cHeader), pLength - m);

    // The branches on p after move m now hang on c, those on c on p; their bases stay as they are.
    for (int j = c + 1; j < cEnd; ++j) {
        const int o = branchOrigin[j];
        if (OriginParent(o) == c) branchOrigin[j] = MakeOrigin(OriginBase(o), p, OriginMove(o) + m);
    }
    for (int j = sEnd; j < kEnd; ++j) {
        const int o = branchOrigin[j];
        if (OriginParent(o) == p) branchOrigin[j] = MakeOrigin(OriginBase(o), c, OriginMove(o) - m);
    }
    // Table order: c, the branches now on c, c's later siblings, then c's former descendants.
    std::vector<int> order{c};
    for (int j = sEnd; j < kEnd; ++j) order.push_back(j);
    for (int j = cEnd; j < sEnd; ++j) order.push_back(j);
    for (int j = c + 1; j < cEnd; ++j) order.push_back(j);
    std::vector<int> newIndex(static_cast<std::size_t>(branchCount) + 1);
    for (int j = 0; j <= branchCount; ++j) newIndex[static_cast<std::size_t>(j)] = j;
    for (std::size_t i = 0; i < order.size(); ++i)
        newIndex[static_cast<std::size_t>(order[i])] = c + static_cast<int>(i);
    Reorder(*this, c, order, newIndex);
    RenewDepths(*this, c, kEnd);

    currentBranch = p;
    variationDepth = std::max(variationDepth - 1, 0);
    baseIndex = p == 0 ? setupCount : OriginBase(branchOrigin[p]);
    LoadBranchIntoLine(p);
    if (p == 0 && gameComment == kNoComment) RebuildSummaryText();
    StepBack();
    StepForward();
    return true;
}

}  // namespace quorvel
