#include "engine_fixture.h"

#include <sstream>
#include <vector>

namespace quorvel::test {
namespace {

std::vector<std::string> Split(const std::string& moves) {
    std::istringstream in(moves);
    std::vector<std::string> out;
    for (std::string m; in >> m;) out.push_back(m);
    return out;
}

}  // namespace

void EngineTest::PlayAll(const std::string& moves) {
    for (const std::string& m : Split(moves)) {
        if (m == "--") {
            ASSERT_TRUE(e.Pass(e.ColourToMove()));
        } else {
            ASSERT_TRUE(Play(m.c_str())) << "cannot play " << m;
        }
    }
}

void EngineTest::PlayTrial(const char* letters) {
    const PointCode p = P(letters);
    if (e.FollowPoint(p)) return;
    ASSERT_TRUE(e.IsPlayable(p)) << letters;
    ASSERT_TRUE(e.PlayColour(e.ColourToMove()));
    if (e.moveLimit == kNormalMoveLimit) {
        e.moveLimit = e.currentIndex;
        e.hintPosition = e.currentIndex - 1;
    }
    e.recordModified = true;
}

std::string EngineTest::Diagram() const {
    std::string out;
    for (int row = 1; row <= e.boardSize; ++row) {
        for (int col = 1; col <= e.boardSize; ++col) {
            const PointCode p = MakePoint(col, row);
            char c = '.';
            if (e.board[p] == kBlack) c = 'X';
            else if (e.board[p] == kWhite) c = 'O';
            else if (e.groupGrid[p] == kKoMark) c = 'k';
            else if (e.groupGrid[p] == kSuicideMark) c = 's';
            out += c;
        }
        out += '\n';
    }
    return out;
}

void EngineTest::MakeMainLine(const std::string& mainMoves) {
    e.NewRecord();
    const std::vector<std::string> moves = Split(mainMoves);
    for (size_t i = 0; i < moves.size(); ++i) {
        e.branchMoves[0][i + 1] = moves[i] == "--" ? kPass : P(moves[i].c_str());
    }
    e.branchMoves[0][0] = MakeHeader(0, kBlack, static_cast<int>(moves.size()));
    e.branchOrigin[0] = 0;
    e.ReturnToMainLine();
}

int EngineTest::AddBranch(int origin, int firstColour, const std::string& moves, int depth) {
    const int b = ++e.branchCount;
    const std::vector<std::string> list = Split(moves);
    e.branchOrigin[b] = origin;
    e.branchMoves[b][0] = MakeHeader(depth, firstColour, static_cast<int>(list.size()));
    for (size_t i = 0; i < list.size(); ++i) e.branchMoves[b][i + 1] = list[i] == "--" ? kPass : P(list[i].c_str());
    return b;
}

}  // namespace quorvel::test
