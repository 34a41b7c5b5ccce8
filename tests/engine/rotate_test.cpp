// Turning a record and saving it: what is saved must read back as the board that was shown.
#include "engine_fixture.h"
#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"

namespace quorvel::test {
namespace {

class RotateSaveTest : public EngineTest {
protected:
    // The point a point turns to on the engine's board, worked out from the letters.
    std::string Turned(const char* letters) const {
        const char last = static_cast<char>('a' + e.boardSize - 1);
        return {static_cast<char>(last - (letters[0] - 'a')), static_cast<char>(last - (letters[1] - 'a'))};
    }
    // Every position of the line from its start to its end, as diagrams.
    static std::vector<std::string> Positions(Engine& engine) {
        std::vector<std::string> out;
        engine.GoToStart();
        for (;;) {
            std::string rows;
            for (int row = 1; row <= engine.boardSize; ++row) {
                for (int col = 1; col <= engine.boardSize; ++col) {
                    const int stone = engine.board[MakePoint(col, row)];
                    rows += stone == kBlack ? 'X' : stone == kWhite ? 'O' : '.';
                }
                rows += '\n';
            }
            out.push_back(rows);
            if (engine.currentIndex >= engine.lineEnd) return out;
            engine.StepForward();
        }
    }
    static std::string Upside(const std::string& diagram) {
        // Turned by 180 degrees: rows from the bottom, each read from the right.
        std::string rows(diagram.rbegin() + 1, diagram.rend());
        return rows + '\n';
    }
};

// A record with setup stones, marks of several kinds and two moves hidden by AS, and a variation.
const char* const kRecord =
    "(;GM[1]FF[4]SZ[9]AS[5,1]AB[cc][gc]AW[cg]SQ[de]TR[bb]LB[gh:A];B[ge];W[ec]"
    ";B[gg]TR[gg]LB[ce:x]N[mid];W[dd](;B[fc];W[cf])(;B[ff]))";

TEST_F(RotateSaveTest, RotateSaveReloadShowsTheTurnedBoardAndTurningTwiceSavesTheSameBytes) {
    ASSERT_TRUE(LoadRecordText(e, kRecord));
    ASSERT_EQ(e.baseIndex, 5);  // three setup stones and two moves in the background
    const std::vector<std::string> before = Positions(e);
    const std::string unturned = WholeRecordText(e);

    e.GoToStart();
    e.StepForward();
    e.RotateRecord();
    ExpectConsistent();
    const std::string saved = WholeRecordText(e);
    // What a move's node keeps turns with it.
    EXPECT_NE(saved.find(";B[cc]TR[cc]LB[ge:x]N[mid];"), std::string::npos) << saved;

    MemoryMessageArea otherMessages;
    MemoryDialogs otherDialogs;
    Engine reloaded(otherMessages, otherDialogs);
    ASSERT_TRUE(LoadRecordText(reloaded, saved)) << saved;
    EXPECT_EQ(reloaded.baseIndex, 5) << saved;
    const std::vector<std::string> after = Positions(reloaded);
    ASSERT_EQ(after.size(), before.size()) << saved;
    for (std::size_t k = 0; k < before.size(); ++k) EXPECT_EQ(after[k], Upside(before[k])) << "position " << k;
    // SQ is kind 1, TR kind 5 and the label "A" kind 9; each stands on the turned point alone.
    const std::pair<const char*, int> marks[] = {{"de", 1}, {"bb", 5}, {"gh", 9}};
    for (const auto& [point, kind] : marks) {
        EXPECT_EQ(reloaded.markGrid[P(Turned(point).c_str())] % 1000, kind) << point;
        EXPECT_EQ(reloaded.markGrid[P(point)], 0) << point;
    }

    e.RotateRecord();
    EXPECT_EQ(WholeRecordText(e), unturned);
}

TEST_F(RotateSaveTest, TheHeadTurnsPointsLabelsRectanglesAndArrowsButNothingElse) {
    e.ChangeBoardSize(9);
    struct Case {
        const char* head;
        const char* turned;
    };
    const Case cases[] = {
        {"(;SZ[9]AB[aa][ib]AW[ca:db]", "(;SZ[9]AB[ii][ah]AW[fh:gi]"},  // a rectangle keeps ul:lr
        {"(;LB[bc:Ab][ia:9]SQ[ab]", "(;LB[hg:Ab][ai:9]SQ[ih]"},
        {"(;AR[aa:bb]LN[cc:dd]", "(;AR[ii:hh]LN[gg:ff]"},             // from and to stay in order
        {"(;C[AB[aa\\]] x]GN[aa]PB[ア]", "(;C[AB[aa\\]] x]GN[aa]PB[ア]"},  // other values are text
        {"(;B[tt];W[];B[jj];W[aa]", "(;B[tt];W[];B[jj];W[ii]"},        // passes and points off the board
        {"(;AddBlack[aa]AB\r\n[bb] [cc]", "(;AddBlack[ii]AB\r\n[hh] [gg]"},
    };
    for (const Case& c : cases) {
        e.headerText = c.head;
        e.RotateRecord();
        EXPECT_EQ(e.headerText, c.turned) << c.head;
        e.RotateRecord();
        EXPECT_EQ(e.headerText, c.head);
    }
}

}  // namespace
}  // namespace quorvel::test
