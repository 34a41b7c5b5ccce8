// Cost of one territory count of a finished 19-line game: dead stones removed, every region tested and
// filled, komi and result worded, and the marked board restored for the next count.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "auxiliary/secondary_board.h"

namespace quorvel {
namespace {

// A finished game with ragged borders: Black holds the left, White the right, the border zigzags, and each
// side has dead chains and single stones inside the other's area, with dame where the walls meet.
std::vector<std::string> FinishedGame() {
    std::vector<std::string> rows;
    for (int row = 0; row < 19; ++row) {
        const int wall = 8 + (row % 4 == 1 ? 1 : row % 4 == 3 ? -1 : 0);
        std::string r(19, '.');
        r[wall] = 'X';
        r[wall + 2] = 'O';
        if (row % 6 == 0) r[wall + 1] = 'X';  // a black stone on the dame line
        rows.push_back(r);
    }
    const int deadWhite[][2] = {{2, 2}, {2, 3}, {3, 3}, {14, 3}, {15, 4}, {9, 5}};
    const int deadBlack[][2] = {{3, 15}, {4, 15}, {15, 15}, {16, 16}, {10, 14}};
    for (const auto& d : deadWhite) rows[d[0]][d[1]] = 'O';
    for (const auto& d : deadBlack) rows[d[0]][d[1]] = 'X';
    return rows;
}

void BM_CountNineteenLines(benchmark::State& state) {
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    Engine e(messages, dialogs);
    const std::vector<std::string> rows = FinishedGame();
    for (int row = 1; row <= 19; ++row) {
        for (int col = 1; col <= 19; ++col) {
            const char c = rows[row - 1][col - 1];
            e.board[MakePoint(col, row)] = c == 'X' ? kBlack : (c == 'O' ? kWhite : kEmpty);
        }
    }
    SecondaryBoard s;
    StartCounting(s, e);
    // Mark the dead stones: every stone on the wrong side of its wall.
    for (PointCode p = 22; p <= 418; ++p) {
        const bool wrongSide = (s.subBoard[p] == kWhite && PointCol(p) < 8) ||
                               (s.subBoard[p] == kBlack && PointCol(p) > 13);
        if (wrongSide) CountPress(s, p, true);
    }
    for (auto _ : state) {
        RunCount(s, "6.5");
        benchmark::DoNotOptimize(s.count.title.data());
        UndoCount(s);
    }
    state.counters["black"] = s.count.blackTotal;
    RunCount(s, "6.5");
    state.counters["squares"] = static_cast<double>(s.count.squares.size());
}
BENCHMARK(BM_CountNineteenLines)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvel
