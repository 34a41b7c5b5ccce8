#include "support/record_builder.h"

#include <sstream>

namespace quorvel::test {

PointCode PointOf(const Engine& e, const std::string& letters) {
    if (letters.size() != 2 || letters == "--") return kPass;
    return SgfLettersToPoint(letters[0], letters[1], e.boardSize);
}

std::vector<std::string> SplitMoves(const std::string& moves) {
    std::istringstream in(moves);
    std::vector<std::string> out;
    for (std::string m; in >> m;) out.push_back(m);
    return out;
}

void BuildMainLine(Engine& e, const std::string& moves) {
    e.NewRecord();
    const std::vector<std::string> list = SplitMoves(moves);
    for (size_t i = 0; i < list.size(); ++i) e.branchMoves[0][i + 1] = PointOf(e, list[i]);
    e.branchMoves[0][0] = MakeHeader(0, kBlack, static_cast<int>(list.size()));
    e.branchOrigin[0] = 0;
    e.ReturnToMainLine();
}

int BuildBranch(Engine& e, int origin, int firstColour, const std::string& moves, int depth) {
    const int b = ++e.branchCount;
    const std::vector<std::string> list = SplitMoves(moves);
    e.branchOrigin[b] = origin;
    e.branchMoves[b][0] = MakeHeader(depth, firstColour, static_cast<int>(list.size()));
    for (size_t i = 0; i < list.size(); ++i) e.branchMoves[b][i + 1] = PointOf(e, list[i]);
    return b;
}

std::string BoardDiagram(const Engine& e) {
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

void DrawPosition(Engine& e, const std::vector<std::string>& rows) {
    const int size = static_cast<int>(rows.size());
    e.ChangeBoardSize(size);
    for (int row = 1; row <= size; ++row) {
        for (int col = 1; col <= size; ++col) {
            const char c = rows[row - 1][col - 1];
            e.board[MakePoint(col, row)] = c == 'X' ? kBlack : (c == 'O' ? kWhite : kEmpty);
        }
    }
}

void SetUpDiagram(Engine& e, const std::vector<std::string>& rows, int toMove) {
    e.NewRecord();
    for (size_t r = 0; r < rows.size() && static_cast<int>(r) < e.boardSize; ++r) {
        for (size_t c = 0; c < rows[r].size() && static_cast<int>(c) < e.boardSize; ++c) {
            const int colour = rows[r][c] == 'X' ? kBlack : rows[r][c] == 'O' ? kWhite : kEmpty;
            if (colour == kEmpty) continue;
            const PointCode p = MakePoint(static_cast<int>(c) + 1, static_cast<int>(r) + 1);
            const int k = ++e.setupCount;
            e.lineMoves[k] = p;
            e.setupList[k] = MakeStone(colour, p);
        }
    }
    // An empty main line whose first move is `toMove`'s; rebuilding it places the setup stones.
    e.branchMoves[0][0] = MakeHeader(0, toMove, 0);
    e.ReturnToMainLine();
}

}  // namespace quorvel::test
