#include "core/consistency.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace quorvel {
namespace {

constexpr int kMaxReports = 8;

class Report {
public:
    template <typename... Parts>
    void Fault(const Parts&... parts) {
        if (++count_ > kMaxReports) return;
        ((out_ << parts), ...);
        out_ << '\n';
    }
    std::string Text() const { return out_.str(); }

private:
    std::ostringstream out_;
    int count_ = 0;
};

int BranchBase(const Engine& e, int b) { return OriginBase(e.branchOrigin[b]); }

// The colour that played entry k of the current line, from the first colours of the branches the line
// passes through.
int EntryColour(const Engine& e, int k) {
    if (!e.replayMode) {
        // A line being built: its setup stones in editSetupList, then moves alternating from blackFirst.
        if (k <= e.baseIndex) return StoneColour(e.editSetupList[k]);
        const int first = e.blackFirst ? kBlack : kWhite;
        return ((k - e.baseIndex - 1) % 2 == 0) ? first : Opponent(first);
    }
    int b = e.currentBranch;
    int base = e.baseIndex;
    int first = e.blackFirst ? kBlack : kWhite;
    for (int guard = 0; k <= base && b != 0 && guard < kMaxBranches; ++guard) {
        b = OriginParent(e.branchOrigin[b]);
        if (b < 0 || b >= kMaxBranches) return kEmpty;
        base = (b == 0) ? e.setupCount : BranchBase(e, b);
        first = HeaderBlackFirst(e.branchMoves[b][0]) ? kBlack : kWhite;
    }
    if (k <= base) {
        // Background of the main line: AB/AW stones, then moves an AS property hid, alternating up to the
        // first numbered move.
        const int fromMoves = e.mainLineOffset;
        if (k > e.setupCount - fromMoves) return ((e.setupCount - k) % 2 == 0) ? Opponent(first) : first;
        return StoneColour(e.setupList[k]);
    }
    return ((k - base - 1) % 2 == 0) ? first : Opponent(first);
}

struct Replay {
    PointGrid board{};
    int blackCaptured = 0;
    int whiteCaptured = 0;
};

// Collects the group of `start` and counts its liberties, straightforwardly.
int GroupLiberties(const PointGrid& board, PointCode start, std::vector<PointCode>* stones) {
    std::vector<char> seen(kGridCells, 0);
    std::vector<PointCode> todo{start};
    seen[start] = 1;
    int liberties = 0;
    const int colour = board[start];
    while (!todo.empty()) {
        const PointCode p = todo.back();
        todo.pop_back();
        if (stones) stones->push_back(p);
        for (int step : kNeighbourSteps) {
            const PointCode q = p + step;
            if (seen[q]) continue;
            if (board[q] == kEmpty) {
                seen[q] = 1;
                ++liberties;
            } else if (board[q] == colour) {
                seen[q] = 1;
                todo.push_back(q);
            }
        }
    }
    return liberties;
}

Replay ReplayLine(const Engine& e) {
    Replay r;
    for (PointCode p = 0; p < kGridCells; ++p) r.board[p] = e.IsOnBoard(p) ? kEmpty : kBorder;
    // A stone put down, and the groups of the other colour it leaves without a liberty taken off, counted
    // as prisoners when `counted`.
    const auto put = [&r](PointCode p, int colour, bool counted) {
        r.board[p] = colour;
        for (int step : kNeighbourSteps) {
            const PointCode n = p + step;
            if (r.board[n] != Opponent(colour)) continue;
            std::vector<PointCode> stones;
            if (GroupLiberties(r.board, n, &stones) > 0) continue;
            for (PointCode s : stones) {
                if (counted) (r.board[s] == kBlack ? r.blackCaptured : r.whiteCaptured) += 1;
                r.board[s] = kEmpty;
            }
        }
    };
    const int background = std::min(e.replayMode ? e.setupCount : e.baseIndex, e.currentIndex);
    // The moves AS hides end the background; they were played, the setup stones before them were put.
    const int hiddenFrom = background - std::min(e.mainLineOffset, background);
    for (int k = 1; k <= background; ++k) {
        const PointCode p = e.lineMoves[k];
        if (!e.IsOnBoard(p)) continue;
        if (k > hiddenFrom) {
            put(p, EntryColour(e, k), false);
        } else {
            r.board[p] = EntryColour(e, k);
        }
    }
    for (int k = background + 1; k <= e.currentIndex; ++k) {
        const PointCode p = e.lineMoves[k];
        if (e.IsOnBoard(p)) put(p, EntryColour(e, k), true);
    }
    return r;
}

// The order the table keeps: each branch followed by its subtree, children by the move they leave at
// (table order among equals); the alternatives to the main line's first move come after its own subtree.
std::vector<int> DepthFirstOrder(const Engine& e) {
    std::vector<std::vector<int>> children(static_cast<std::size_t>(e.branchCount) + 1);
    for (int j = 1; j <= e.branchCount; ++j) {
        const int parent = OriginParent(e.branchOrigin[j]);
        if (parent >= 0 && parent < j) children[static_cast<std::size_t>(parent)].push_back(j);
    }
    for (std::vector<int>& list : children) {
        std::stable_sort(list.begin(), list.end(), [&](int a, int b) {
            return OriginMove(e.branchOrigin[a]) < OriginMove(e.branchOrigin[b]);
        });
    }
    std::stable_partition(children[0].begin(), children[0].end(),
                          [&](int c) { return OriginMove(e.branchOrigin[c]) != e.mainLineOffset; });
    std::vector<int> order;
    std::vector<std::pair<int, std::size_t>> stack{{0, 0}};
    while (!stack.empty()) {
        auto& [b, next] = stack.back();
        const std::vector<int>& list = children[static_cast<std::size_t>(b)];
        if (next == list.size()) {
            stack.pop_back();
            continue;
        }
        const int c = list[next++];
        order.push_back(c);
        stack.push_back({c, 0});
    }
    return order;
}

}  // namespace

std::string CheckBranchTable(const Engine& e) {
    Report report;
    if (e.branchCount < 0 || e.branchCount > kLastBranch) {
        report.Fault("branchCount ", e.branchCount, " out of range");
        return report.Text();
    }
    const std::vector<int> order = DepthFirstOrder(e);
    for (std::size_t n = 0; n < order.size(); ++n) {
        if (order[n] != static_cast<int>(n) + 1) {
            report.Fault("branch ", order[n], " stands where depth-first order puts branch ", n + 1);
            break;
        }
    }
    for (int b = 0; b <= e.branchCount; ++b) {
        const int header = e.branchMoves[b][0];
        const int length = HeaderLength(header);
        const int colour = HeaderFirstColour(header);
        const int off = (b == 0) ? e.mainLineOffset : 0;
        if (colour != kBlack && colour != kWhite) report.Fault("branch ", b, ": first colour ", colour);
        if (off + length > kMaxLineEntries) report.Fault("branch ", b, ": ", length, " moves past the limit");
        const int base = (b == 0) ? e.setupCount : BranchBase(e, b);
        if (base + length > kMaxLineEntries) report.Fault("branch ", b, ": line of ", base + length, " entries");
        for (int k = 1; k <= off + length && k < kLineSlots; ++k) {
            const PointCode p = e.branchMoves[b][k];
            if (p != kPass && !e.IsOnBoard(p)) report.Fault("branch ", b, " move ", k, ": point ", p, " off the board");
        }
        for (int k = 0; k <= off + length && k < kLineSlots; ++k) {
            const CommentRef& r = e.branchComments[b][k];
            if (r.IsSet() && !e.HoldsComment(r)) {
                report.Fault("branch ", b, " comment ", k, " outside the pool");
            }
        }
        if (b == 0) continue;
        const int origin = e.branchOrigin[b];
        const int parent = OriginParent(origin);
        if (parent >= b) {
            report.Fault("branch ", b, ": parent ", parent, " does not come before it");
            continue;
        }
        const int parentOff = (parent == 0) ? e.mainLineOffset : 0;
        const int parentLength = HeaderLength(e.branchMoves[parent][0]) + parentOff;
        const int move = OriginMove(origin);
        if (move < parentOff || move >= parentLength + (parent == 0 ? 1 : 0) || (parent != 0 && move < 1)) {
            report.Fault("branch ", b, ": branches at move ", move, " of branch ", parent, " with ",
                         parentLength, " moves");
        }
        const int parentBase = (parent == 0) ? e.setupCount : BranchBase(e, parent);
        if (OriginBase(origin) != parentBase + move - parentOff) {
            report.Fault("branch ", b, ": base ", OriginBase(origin), ", expected ", parentBase + move - parentOff);
        }
    }
    return report.Text();
}

std::string CheckPosition(const Engine& e) {
    Report report;
    const Replay r = ReplayLine(e);
    for (PointCode p = 0; p < kGridCells; ++p) {
        if (e.board[p] != r.board[p]) {
            report.Fault("point ", PointCol(p), "-", PointRow(p), ": board ", e.board[p], ", replay ", r.board[p]);
        }
        if (e.visitGrid[p] != 0) report.Fault("visit mark left on ", p);
        if (e.board[p] == kEmpty && e.groupGrid[p] != 0 && e.groupGrid[p] != kKoMark &&
            e.groupGrid[p] != kSuicideMark) {
            report.Fault("empty point ", p, " has group value ", e.groupGrid[p]);
        }
    }
    if (e.blackCaptured != r.blackCaptured || e.whiteCaptured != r.whiteCaptured) {
        report.Fault("prisoners ", e.blackCaptured, "/", e.whiteCaptured, ", replay ", r.blackCaptured, "/",
                     r.whiteCaptured);
    }
    for (PointCode p = 0; p < kGridCells; ++p) {
        if (e.board[p] != kBlack && e.board[p] != kWhite) continue;
        const int liberties = GroupLiberties(e.board, p, nullptr);
        if (liberties > 0 && e.libertyGrid[p] != liberties) {
            report.Fault("stone ", p, ": ", e.libertyGrid[p], " liberties recorded, ", liberties, " counted");
        }
    }
    return report.Text();
}

std::string DescribeRecord(const Engine& e, RecordParts parts) {
    const bool all = parts == RecordParts::kAll;
    std::ostringstream out;
    out << e.branchCount;
    if (all) out << "|" << e.lineEnd << "|" << e.headerText;
    out << "\n";
    out << "size " << e.boardSize << " setup " << e.setupCount << " offset " << e.mainLineOffset << " first "
        << e.firstMoveNumber << "\nstones";
    for (int k = 1; k <= e.setupCount - e.mainLineOffset && k < kLineSlots; ++k) out << " " << e.setupList[k];
    const GameInfo& i = e.info;
    out << "\ninfo " << i.blackPlayer << "|" << i.whitePlayer << "|" << i.blackRank << "|" << i.whiteRank << "|"
        << i.komi << "|" << i.date << "|" << i.gameName << "|" << i.place << "|" << i.handicap << "\ncomment "
        << e.gameComment << "\n";
    for (int b = 0; b <= e.branchCount; ++b) {
        out << e.branchOrigin[b] << ":";
        const int length = (b == 0 ? e.mainLineOffset : 0) + e.BranchLength(b);
        for (int k = 0; k <= length && k < kLineSlots; ++k) {
            out << " " << e.branchMoves[b][k];
            const CommentRef& r = e.branchComments[b][k];
            if (r.IsSet()) out << "[" << e.CommentText(r) << "]";
        }
        out << "\n";
    }
    for (int k = 1; all && k <= e.lineEnd && k < kLineSlots; ++k) {
        out << e.timeUsed[k] << "," << e.timeLeft[k] << " ";
    }
    out << "\nmarks";
    for (PointCode p = 0; p < kGridCells; ++p) {
        if (e.markGrid[p] != 0) out << " " << p << "=" << e.markGrid[p];
    }
    return out.str();
}

}  // namespace quorvel
