// Seeded random games: every take-back must give back exactly the position before the move.
#include <random>
#include <vector>

#include "engine_fixture.h"

namespace quorvel::test {
namespace {

class RandomPlayTest : public EngineTest, public ::testing::WithParamInterface<int> {};

struct Snapshot {
    PointGrid board;
    PointGrid groupGrid;
    PointGrid libertyGrid;
    int blackCaptured;
    int whiteCaptured;
};

Snapshot Take(const Engine& e) { return {e.board, e.groupGrid, e.libertyGrid, e.blackCaptured, e.whiteCaptured}; }

TEST_P(RandomPlayTest, TakeBackRestoresEveryEarlierPosition) {
    const int size = GetParam();
    e.ChangeBoardSize(size);
    e.NewRecord();
    std::mt19937 random(1234u + static_cast<unsigned>(size));
    std::vector<Snapshot> before;
    int captures = 0;
    while (e.currentIndex < kMaxLineEntries) {
        before.push_back(Take(e));
        // Mostly moves, sometimes a pass; a point that is not playable is simply tried again elsewhere.
        if (random() % 25 == 0) {
            ASSERT_TRUE(e.Pass(e.ColourToMove()));
        } else {
            PointCode p = 0;
            for (int tries = 0; tries < 200 && p == 0; ++tries) {
                const PointCode q = MakePoint(1 + random() % size, 1 + random() % size);
                if (e.board[q] == kEmpty && e.groupGrid[q] != kKoMark && e.groupGrid[q] != kSuicideMark) p = q;
            }
            if (p == 0) {
                ASSERT_TRUE(e.Pass(e.ColourToMove()));
            } else {
                const int prisoners = e.blackCaptured + e.whiteCaptured;
                ASSERT_TRUE(e.IsPlayable(p));
                ASSERT_TRUE(e.PlayColour(e.ColourToMove()));
                if (e.blackCaptured + e.whiteCaptured > prisoners) ++captures;
                // A move never leaves its own stone without liberties: suicide points were forbidden.
                ASSERT_GT(e.libertyGrid[p] + (e.board[p] == kEmpty ? 1 : 0), 0) << "suicide at " << p;
            }
        }
        ASSERT_EQ(CheckPosition(e), "") << "after entry " << e.currentIndex;
    }
    EXPECT_GT(captures, 20);
    e.lineEnd = e.currentIndex;

    while (e.currentIndex > 0) {
        e.TakeBack();
        const Snapshot& s = before[static_cast<size_t>(e.currentIndex)];
        ASSERT_EQ(e.board, s.board) << "entry " << e.currentIndex;
        ASSERT_EQ(e.libertyGrid, s.libertyGrid) << "entry " << e.currentIndex;
        ASSERT_EQ(e.blackCaptured, s.blackCaptured);
        ASSERT_EQ(e.whiteCaptured, s.whiteCaptured);
        // Ko and suicide marks for the side to move are the same as when that side was to move before.
        for (PointCode p = 0; p < kGridCells; ++p) {
            if (e.board[p] == kEmpty) {
                ASSERT_EQ(e.groupGrid[p], s.groupGrid[p]) << "entry " << e.currentIndex;
            }
        }
    }
    // And forward again through the recorded line.
    for (int k = 1; k <= e.lineEnd; ++k) {
        e.StepForward();
        ASSERT_EQ(CheckPosition(e), "") << "replayed entry " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, RandomPlayTest, ::testing::Values(6, 9, 13, 19));

}  // namespace
}  // namespace quorvel::test
