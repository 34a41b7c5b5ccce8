#include "formats/nested_variations.h"

#include <algorithm>
#include <vector>

namespace quorvel {
namespace {

struct Branch {
    int parent = 0;
    int move = 0;  // the branch replaces move `move` + 1 of its parent
    bool blackFirst = true;
    std::vector<int> moves;                // 1-based in the table; 0-based here
    std::vector<CommentRef> comments;      // [0] before the first move, then one per move
    bool dead = false;
};

// The first `count` branches of the table, out of their fixed arrays.
std::vector<Branch> TakeBranches(const Engine& e, int count) {
    std::vector<Branch> table(count + 1);
    for (int b = 0; b <= count; ++b) {
        Branch& br = table[b];
        const int header = e.branchMoves[b][0];
        const int length = HeaderLength(header);
        br.parent = b == 0 ? -1 : OriginParent(e.branchOrigin[b]);
        br.move = b == 0 ? 0 : OriginMove(e.branchOrigin[b]);
        br.blackFirst = HeaderBlackFirst(header);
        br.moves.assign(e.branchMoves[b].begin() + 1, e.branchMoves[b].begin() + 1 + length);
        br.comments.assign(e.branchComments[b].begin(), e.branchComments[b].begin() + 1 + length);
    }
    return table;
}

// The continuation of each parent: its child with the lowest index among those that start after the
// parent's last move, alternatives to the very first move of the record excepted. (A child at an earlier
// move is a variation of that move in any layout; appending it would put its moves after the wrong ones.)
std::vector<int> FindContinuations(const std::vector<Branch>& table, bool intoMainLine,
                                   const std::vector<bool>& inlineVariations) {
    const int count = static_cast<int>(table.size()) - 1;
    std::vector<int> continuation(count + 1, 0);
    for (int c = 1; c <= count; ++c) {
        const int p = table[c].parent;
        if (p == 0 && (table[c].move == 0 || !intoMainLine)) continue;
        if (static_cast<std::size_t>(c) < inlineVariations.size() && inlineVariations[static_cast<std::size_t>(c)]) continue;
        if (table[c].move != static_cast<int>(table[p].moves.size())) continue;
        if (continuation[p] == 0) continuation[p] = c;
    }
    return continuation;
}

// Appends each continuation to its parent, as far as the parent's line has room; the branches that
// started inside it move to the parent. Highest index first, so that a continuation has taken in its own
// continuation before it is merged.
void AppendContinuations(Engine& e, std::vector<Branch>& table, const std::vector<int>& continuation, int setupCount) {
    const int count = static_cast<int>(table.size()) - 1;
    // What the line of each branch can hold, counted from the entries before the branch.
    const auto capacity = [&](int b) {
        int base = setupCount;
        for (int k = b; k > 0; k = table[k].parent) base += table[k].move;
        return std::max(kMaxLineEntries - base, 0);
    };
    for (int c = count; c >= 1; --c) {
        const int p = table[c].parent;
        if (continuation[p] != c) continue;
        Branch& parent = table[p];
        Branch& child = table[c];
        const int former = static_cast<int>(parent.moves.size());
        const int room = std::max(capacity(p) - former, 0);
        const int taken = std::min(static_cast<int>(child.moves.size()), room);
        // A comment before the continuation's first move is said after the parent's last one.
        e.JoinNodesBefore(parent.comments[static_cast<std::size_t>(former)], former, child.comments[0]);
        parent.moves.insert(parent.moves.end(), child.moves.begin(), child.moves.begin() + taken);
        parent.comments.insert(parent.comments.end(), child.comments.begin() + 1, child.comments.begin() + 1 + taken);
        for (int g = 1; g <= count; ++g) {
            if (table[g].dead || table[g].parent != c) continue;
            // A branch that started at a move that did not fit is dropped with everything below it.
            if (table[g].move > taken) {
                table[g].dead = true;
                continue;
            }
            table[g].parent = p;
            table[g].move += former;
        }
        child.dead = true;
    }
    // Branches below a dropped one go too; parents come before their children in the table.
    for (int b = 1; b <= count; ++b) {
        if (!table[b].dead && table[table[b].parent].dead) table[b].dead = true;
    }
}

// The surviving branches in depth-first order from the main line (old index by new index), with the
// depth of each old index: each branch's moves from first to last, the children at a move in table
// order, a child's subtree before the walk goes on. Alternatives to the main line's first move (further
// game trees of a collection among them) follow the main line's own subtree, as the inline layout reads
// them and the writers expect them. The depth is at most 149, so the walk may recurse.
std::vector<int> DepthFirstOrder(const std::vector<Branch>& table, std::vector<int>& depthOf) {
    const int count = static_cast<int>(table.size()) - 1;
    std::vector<std::vector<int>> children(count + 1);
    for (int c = 1; c <= count; ++c) {
        if (!table[c].dead) children[table[c].parent].push_back(c);
    }
    for (std::vector<int>& list : children) {
        std::stable_sort(list.begin(), list.end(), [&](int a, int b) { return table[a].move < table[b].move; });
    }
    std::stable_partition(children[0].begin(), children[0].end(), [&](int c) { return table[c].move != 0; });
    std::vector<int> order;
    depthOf.assign(count + 1, 0);
    const auto walk = [&](const auto& self, int b) -> void {
        for (int c : children[b]) {
            depthOf[c] = depthOf[b] + 1;
            order.push_back(c);
            self(self, c);
        }
    };
    order.push_back(0);
    walk(walk, 0);
    return order;
}

// Writes the branches back into the table in their new order, with headers and origins naming the new
// indices.
void StoreBranches(Engine& e, const std::vector<Branch>& table, const std::vector<int>& order,
                   const std::vector<int>& depthOf) {
    const int count = static_cast<int>(table.size()) - 1;
    std::vector<int> newIndex(count + 1, -1);
    for (int n = 0; n < static_cast<int>(order.size()); ++n) newIndex[order[n]] = n;
    std::vector<int> baseOf(count + 1, e.setupCount);
    for (int n = 0; n < static_cast<int>(order.size()); ++n) {
        const int old = order[n];
        const Branch& br = table[old];
        const int length = static_cast<int>(br.moves.size());
        LineArray& moves = e.branchMoves[n];
        moves.fill(0);
        moves[0] = MakeHeader(depthOf[old], br.blackFirst ? kBlack : kWhite, length);
        std::copy(br.moves.begin(), br.moves.end(), moves.begin() + 1);
        CommentArray& comments = e.branchComments[n];
        comments.fill(CommentRef{});
        std::copy(br.comments.begin(), br.comments.end(), comments.begin());
        if (n == 0) continue;
        baseOf[old] = baseOf[br.parent] + br.move;
        e.branchOrigin[n] = MakeOrigin(baseOf[old], newIndex[br.parent], br.move);
    }
    e.branchCount = static_cast<int>(order.size()) - 1;
}

}  // namespace

void MergeNestedVariations(Engine& e, const std::vector<bool>& inlineVariations) {
    MergeContinuations(e, kLastBranch, true, inlineVariations);
}

void MergeContinuations(Engine& e, int branchLimit, bool intoMainLine, const std::vector<bool>& inlineVariations) {
    std::vector<Branch> table = TakeBranches(e, std::min(e.branchCount, branchLimit));
    AppendContinuations(e, table, FindContinuations(table, intoMainLine, inlineVariations), e.setupCount);
    std::vector<int> depthOf;
    const std::vector<int> order = DepthFirstOrder(table, depthOf);
    StoreBranches(e, table, order, depthOf);
}

void PromoteFirstAlternative(Engine& e) {
    if (e.BranchLength(0) > 0) return;
    int first = 0;
    for (int j = 1; j <= e.branchCount && first == 0; ++j) {
        if (OriginParent(e.branchOrigin[j]) == 0) first = j;
    }
    if (first == 0) return;

    e.branchMoves[0] = e.branchMoves[first];
    e.branchMoves[0][0] = MakeHeader(0, HeaderFirstColour(e.branchMoves[first][0]), e.BranchLength(first));
    CommentRef before = e.branchComments[0][0];
    e.JoinNodesBefore(before, 0, e.branchComments[first][0]);
    e.branchComments[0] = e.branchComments[first];
    e.branchComments[0][0] = before;
    for (int k = first + 1; k <= e.branchCount; ++k) {
        const int origin = e.branchOrigin[k];
        int parent = OriginParent(origin);
        if (parent == first) {
            parent = 0;
        } else if (parent > first) {
            parent -= 1;
        }
        e.branchOrigin[k - 1] = MakeOrigin(OriginBase(origin), parent, OriginMove(origin));
        e.branchMoves[k - 1] = e.branchMoves[k];
        e.branchComments[k - 1] = e.branchComments[k];
    }
    e.branchCount -= 1;
    // Depths follow the new parents; parents come before their children in the table.
    std::vector<int> depth(static_cast<std::size_t>(e.branchCount) + 1, 0);
    for (int k = 1; k <= e.branchCount; ++k) {
        const int d = depth[static_cast<std::size_t>(OriginParent(e.branchOrigin[k]))] + 1;
        depth[static_cast<std::size_t>(k)] = d;
        const int header = e.branchMoves[k][0];
        e.branchMoves[k][0] = MakeHeader(d, HeaderFirstColour(header), HeaderLength(header));
    }
}

}  // namespace quorvel
