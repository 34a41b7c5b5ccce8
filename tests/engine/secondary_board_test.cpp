// The secondary board's engine: where clicks land, building a diagram with moves, setup stones and marks,
// and the picks it hands back to the board window (variation, relocation target, text-board range).
#include <sstream>

#include "auxiliary/secondary_board.h"
#include "engine_fixture.h"

namespace quorvel::test {
namespace {

class SecondaryBoardTest : public EngineTest {
protected:
    SecondaryBoard s;

    PointCode S(const char* letters) const { return SgfLettersToPoint(letters[0], letters[1], s.boardSize); }

    // The board window's position without a record: rows of "X", "O" and ".".
    void SetPosition(const std::vector<std::string>& rows) {
        DrawPosition(e, rows);
    }

    // The secondary board as rows: "X" black, "O" white, "." empty, "k" the ko point.
    std::string Board() const {
        std::string out;
        for (int row = 1; row <= s.boardSize; ++row) {
            for (int col = 1; col <= s.boardSize; ++col) {
                const PointCode p = MakePoint(col, row);
                const int c = s.subBoard[p];
                out += c == kBlack ? 'X' : c == kWhite ? 'O' : (p == s.koPoint ? 'k' : '.');
            }
            out += '\n';
        }
        return out;
    }

    void OpenEmptyCreation(int size) {
        e.ChangeBoardSize(size);
        OpenForCreation(s, e);
        s.role = SecondaryRole::BoardComment;
    }

    bool Move(const char* letters) { return PlaySecondaryMove(s, S(letters)); }
    void Moves(const std::string& list) {
        std::istringstream in(list);
        for (std::string m; in >> m;) ASSERT_TRUE(Move(m.c_str())) << m;
    }
    SecondaryAction Click(const char* letters, bool left = true) {
        SecondaryClick c;
        c.point = S(letters);
        c.leftButton = left;
        return SecondaryBoardClick(s, e, c);
    }
};

constexpr const char* kEmpty9 = ".........\n";

TEST_F(SecondaryBoardTest, ClicksSnapToTheLinesOfEverySizeAndStayOnTheBoard) {
    struct Case {
        int size;
        int x, y;
        int col, row;  // 0, 0: no point
    };
    const Case cases[] = {
        {19, 11, 11, 1, 1},     {19, 0, 0, 1, 1},     {19, 371, 371, 19, 19}, {19, 381, 200, 19, 10},
        {19, 382, 100, 0, 0},   {19, 100, 382, 0, 0}, {19, 30, 31, 2, 2},     {13, 18, 18, 1, 1},
        // Near the far edge of 13, 7 and 6 lines a click once reached a line beyond the board.
        {13, 381, 381, 13, 13}, {13, 340, 10, 12, 1}, {9, 381, 24, 9, 1},     {7, 375, 375, 7, 7},
        {7, 34, 34, 1, 1},      {6, 370, 370, 6, 6},  {6, 381, 38, 6, 1},
    };
    for (const Case& c : cases) {
        const PointCode p = SecondaryBoardPoint(*GeometryFor(c.size), c.x, c.y);
        EXPECT_EQ(p, c.col == 0 ? 0 : MakePoint(c.col, c.row)) << c.size << " lines at " << c.x << "," << c.y;
    }
}

// ---- Building a diagram ----

TEST_F(SecondaryBoardTest, CreationTakesTheStonesAsSetupAndTheSideToMove) {
    MakeMainLine("cc gg cg");
    e.GoToEnd();
    e.markGrid[P("ee")] = 3;
    OpenForCreation(s, e);
    // Black played last, so White moves first on the diagram; the stones come in point order.
    EXPECT_FALSE(s.blackFirst);
    ASSERT_EQ(s.setupCount, 3);
    EXPECT_EQ(s.shownEntry, 3);
    EXPECT_EQ(s.stoneList[1], P("cc"));
    EXPECT_EQ(s.stoneCodes[1], kBlackSetup);
    EXPECT_EQ(s.stoneList[2], P("cg"));
    EXPECT_EQ(s.stoneList[3], P("gg"));
    EXPECT_EQ(s.stoneCodes[3], kWhiteSetup);
    EXPECT_EQ(s.marks[P("ee")], 3);
    EXPECT_EQ(s.ColourToMove(), kWhite);
    EXPECT_EQ(s.numbers[P("cg")], 0);
}

TEST_F(SecondaryBoardTest, KoSuicideAndTakingBackRestoreTheForbiddenPoints) {
    OpenEmptyCreation(9);
    Moves("ba ca ab cc bc db ee bb cb");
    const std::string ko =
        ".XO......\n"
        "XkXO.....\n"
        ".XO......\n"
        ".........\n"
        "....X....\n" +
        std::string(kEmpty9) + kEmpty9 + kEmpty9 + kEmpty9;
    EXPECT_EQ(Board(), ko);
    EXPECT_EQ(s.numbers[S("cb")], 9);
    EXPECT_EQ(s.numbers[S("bb")], 0);
    EXPECT_FALSE(Move("bb")) << "the ko cannot be taken back at once";
    EXPECT_FALSE(Move("aa")) << "suicide";
    EXPECT_FALSE(Move("cb")) << "occupied";
    EXPECT_EQ(s.shownEntry, 9);

    ASSERT_TRUE(Move("gg"));
    EXPECT_EQ(s.koPoint, 0);
    TakeBackSecondaryMove(s);
    EXPECT_EQ(Board(), ko) << "taking back the next move brings the ko back";
    TakeBackSecondaryMove(s);
    EXPECT_EQ(s.subBoard[S("bb")], kWhite) << "the captured stone returns";
    EXPECT_EQ(s.koPoint, 0);
    EXPECT_EQ(s.ColourToMove(), kBlack);
}

TEST_F(SecondaryBoardTest, ACaptureThatFillsTheLastLibertyIsNoSuicide) {
    OpenEmptyCreation(9);
    // White's three stones in the corner keep one liberty, on bc, where Black would have none.
    Moves("ca aa cb ba ab bb ac ee cc ff bd gg");
    ASSERT_TRUE(Move("bc"));
    EXPECT_EQ(Board(),
              "..X......\n"
              "X.X......\n"
              "XXX......\n"
              ".X.......\n"
              "....O....\n"
              ".....O...\n"
              "......O..\n" +
                  std::string(kEmpty9) + kEmpty9);
}

TEST_F(SecondaryBoardTest, BackToTheStartTwiceClearsTheWholeDiagram) {
    e.ChangeBoardSize(9);
    e.board[P("aa")] = kBlack;
    e.board[P("ba")] = kWhite;
    e.markGrid[P("ee")] = 1;
    OpenForCreation(s, e);
    Moves("cc dd");
    PassOnSecondary(s);
    TakeBackAllSecondaryMoves(s);
    EXPECT_EQ(s.shownEntry, 2);
    EXPECT_EQ(s.setupCount, 2);
    EXPECT_EQ(s.subBoard[S("cc")], kEmpty);
    EXPECT_EQ(s.subBoard[S("aa")], kBlack);
    EXPECT_EQ(s.marks[S("ee")], 1);
    TakeBackAllSecondaryMoves(s);
    EXPECT_EQ(s.shownEntry, 0);
    EXPECT_EQ(s.setupCount, 0);
    EXPECT_EQ(s.subBoard[S("aa")], kEmpty);
    EXPECT_EQ(s.marks[S("ee")], 0);
}

TEST_F(SecondaryBoardTest, SetupClicksPutTurnAndRemoveStonesButLeaveMovesAlone) {
    OpenEmptyCreation(9);
    Moves("ee");
    s.inputMode = 3;
    EXPECT_EQ(Click("cc"), SecondaryAction::Redraw);
    ASSERT_EQ(s.setupCount, 1);
    EXPECT_EQ(s.stoneList[1], S("cc"));
    EXPECT_EQ(s.stoneList[2], S("ee")) << "the move moved up behind the new setup stone";
    EXPECT_EQ(s.numbers[S("ee")], 1);
    Click("cc", false);
    EXPECT_EQ(s.stoneCodes[1], kWhiteSetup);
    EXPECT_EQ(s.subBoard[S("cc")], kWhite);
    Click("cc", false);
    EXPECT_EQ(s.setupCount, 0);
    EXPECT_EQ(s.subBoard[S("cc")], kEmpty);
    Click("ee", false);
    EXPECT_EQ(s.subBoard[S("ee")], kBlack) << "a played move is not a setup stone";
    EXPECT_EQ(s.setupCount, 0);

    // With a palette mark selected the stone gets it; with the space bar held an empty point toggles it.
    SecondaryClick c;
    c.point = S("gg");
    c.paletteMark = 5;
    SecondaryBoardClick(s, e, c);
    EXPECT_EQ(s.marks[S("gg")], 5 + 1000 * kBlack);
    c.point = S("hh");
    c.markKeyHeld = true;
    SecondaryBoardClick(s, e, c);
    EXPECT_EQ(s.marks[S("hh")], 5);
    EXPECT_EQ(s.subBoard[S("hh")], kEmpty);
    SecondaryBoardClick(s, e, c);
    EXPECT_EQ(s.marks[S("hh")], 0);
}

TEST_F(SecondaryBoardTest, AFullStoneListTakesNoMorePassesMovesOrSetupStones) {
    OpenEmptyCreation(9);
    while (!s.Full()) ASSERT_TRUE(PassOnSecondary(s));
    EXPECT_EQ(s.shownEntry, kStoneListEntries);
    EXPECT_FALSE(PassOnSecondary(s));
    EXPECT_FALSE(Move("cc"));
    s.inputMode = 3;
    Click("cc");
    EXPECT_EQ(s.subBoard[S("cc")], kEmpty);
    EXPECT_EQ(s.shownEntry, kStoneListEntries);
}

TEST_F(SecondaryBoardTest, DesignatingThePositionKeepsTheSideToMove) {
    OpenEmptyCreation(9);
    Moves("cc gg cg");
    ASSERT_EQ(s.ColourToMove(), kWhite);
    DesignatePosition(s);
    EXPECT_EQ(s.setupCount, 3);
    EXPECT_EQ(s.shownEntry, 3);
    EXPECT_FALSE(s.blackFirst);
    EXPECT_EQ(s.ColourToMove(), kWhite);
    EXPECT_EQ(s.stoneCodes[2], kBlackSetup);  // cg comes before gg in point order
    EXPECT_EQ(s.stoneCodes[3], kWhiteSetup);
    EXPECT_EQ(s.numbers[S("cg")], 0);
    // An even number of moves keeps the first colour.
    Moves("dd ee");
    DesignatePosition(s);
    EXPECT_FALSE(s.blackFirst);
}

// ---- Picks for the board window ----

TEST_F(SecondaryBoardTest, TheVariationChooserAnswersByPointAndByHintNumber) {
    MakeMainLine("dd pp dp");
    e.hintsShown = false;
    // Nine branches at the start: running numbers 2..8, 10, 11.
    const char* firsts[] = {"cc", "cd", "ce", "cf", "cg", "ch", "ci", "cj", "ck"};
    for (const char* f : firsts) AddBranch(MakeOrigin(0, 0, 0), kBlack, f);
    e.RecountHints();
    CopyPosition(s, e);
    EXPECT_EQ(ChooseVariationAt(e, P("dd")), P("dd"));
    EXPECT_EQ(ChooseVariationAt(e, P("cf")), P("cf"));
    EXPECT_EQ(ChooseVariationAt(e, P("ee")), 0);
    EXPECT_EQ(ChooseVariationByNumber(e, 1), P("dd"));
    EXPECT_EQ(ChooseVariationByNumber(e, 2), P("cc"));
    EXPECT_EQ(ChooseVariationByNumber(e, 8), P("ci"));
    EXPECT_EQ(ChooseVariationByNumber(e, 9), 0);
    EXPECT_EQ(ChooseVariationByNumber(e, 10), P("cj"));  // "J"
    EXPECT_EQ(ChooseVariationByNumber(e, 11), P("ck"));
    EXPECT_EQ(ChooseVariationByNumber(e, 12), 0);
    const std::vector<Continuation> shown = ContinuationsOf(e);
    ASSERT_EQ(shown.size(), 10u);
    EXPECT_EQ(shown[0].letter, 'A');
    EXPECT_EQ(shown[8].letter, 'J');

    // At the end of the line a pass as the next move answers 555.
    MakeMainLine("dd --");
    e.StepForward();
    EXPECT_EQ(ChooseVariationByNumber(e, 1), kChosenNextMove);
}

TEST_F(SecondaryBoardTest, ACountShownHandsClicksToTheVariationChoice) {
    MakeMainLine("dd pp");
    StartCounting(s, e);
    s.role = SecondaryRole::Counting;
    EXPECT_EQ(Click("dd"), SecondaryAction::Redraw);
    EXPECT_EQ(s.subBoard[S("dd")], kProvisionalBlack);
    RunCount(s, "0");
    EXPECT_EQ(Click("ee"), SecondaryAction::None);
    EXPECT_EQ(Click("dd"), SecondaryAction::CloseOk);
    EXPECT_EQ(s.selectedPoint, P("dd"));
    // The next role shows nothing of the count.
    ASSERT_FALSE(s.count.squares.empty());
    CopyPosition(s, e);
    EXPECT_TRUE(s.count.squares.empty());
    EXPECT_FALSE(s.count.resultShown);
    OpenForCreation(s, e);
    EXPECT_TRUE(s.count.squares.empty());
}

TEST_F(SecondaryBoardTest, ARelocationTargetMustNotCaptureNorBeSuicide) {
    // The white stone on ba is in atari; the corner ii is surrounded by white stones with liberties.
    e.ChangeBoardSize(9);
    PlayAll("ca ba bb ih ge hi");
    CopyPosition(s, e);
    s.role = SecondaryRole::StoneRelocation;
    const PointCode from = S("ge");
    s.relocationFrom = from;
    EXPECT_FALSE(IsRelocationTarget(e, from, S("aa"))) << "it would take the white stone";
    EXPECT_FALSE(IsRelocationTarget(e, from, S("ii"))) << "suicide";
    EXPECT_FALSE(IsRelocationTarget(e, from, S("bb"))) << "occupied";
    EXPECT_TRUE(IsRelocationTarget(e, from, S("gf"))) << "next to its old point, which it leaves";
    EXPECT_TRUE(IsRelocationTarget(e, from, S("ff")));

    EXPECT_EQ(Click("ii"), SecondaryAction::None);
    EXPECT_EQ(Click("ff"), SecondaryAction::RelocationPicked);
    EXPECT_EQ(s.selectedPoint, S("ff"));
    EXPECT_EQ(s.subBoard[S("ff")], kBlack);
    EXPECT_EQ(s.numbers[S("ff")], 5);
    EXPECT_EQ(s.subBoard[S("ge")], kEmpty);
    EXPECT_EQ(Click("hh"), SecondaryAction::None) << "only the first valid click counts";
    EXPECT_EQ(s.selectedPoint, S("ff"));
}

TEST_F(SecondaryBoardTest, APassIsReplacedOnlyByAnEmptyPoint) {
    MakeMainLine("dd pp --");
    e.GoToEnd();
    CopyPosition(s, e);
    s.role = SecondaryRole::PassReplacement;
    EXPECT_EQ(Click("pp"), SecondaryAction::None);
    EXPECT_EQ(Click("qq"), SecondaryAction::CloseOk);
    EXPECT_EQ(s.selectedPoint, P("qq"));
    // Deleting moves hands every click to the board window's deletion.
    s.role = SecondaryRole::SequenceDeletion;
    EXPECT_EQ(Click("pp"), SecondaryAction::DeletePoint);
    EXPECT_EQ(s.selectedPoint, P("pp"));
}

TEST_F(SecondaryBoardTest, TextBoardRangesNeedACornerAndAnEmptyFarPoint) {
    SetPosition({".........", ".........", "..X......", ".........", ".........",
                 ".........", ".........", ".........", "........."});
    CopyPosition(s, e);
    s.role = SecondaryRole::TextBoardRange;
    struct Case {
        const char* first;
        const char* second;
        SecondaryAction outcome;
        const char* anchor;
        const char* far;
    };
    const Case cases[] = {
        {"aa", "dd", SecondaryAction::RangeOutlined, "aa", "dd"},
        {"dd", "aa", SecondaryAction::RangeOutlined, "aa", "dd"},  // the far point first
        {"ii", "ef", SecondaryAction::RangeOutlined, "ii", "ef"},
        {"ai", "ia", SecondaryAction::RangeOutlined, "ai", "ia"},
        {"bb", "dd", SecondaryAction::RangeInvalid, "", ""},  // no corner
        {"aa", "ad", SecondaryAction::RangeInvalid, "", ""},  // same column
        {"aa", "ea", SecondaryAction::RangeInvalid, "", ""},  // same row
        {"aa", "cc", SecondaryAction::RangeInvalid, "", ""},  // a stone on the far point
    };
    for (const Case& c : cases) {
        ForgetRange(s);
        EXPECT_EQ(Click(c.first), SecondaryAction::RangeFirst);
        EXPECT_EQ(Click(c.first), SecondaryAction::None) << "the same point again";
        EXPECT_EQ(Click(c.second), c.outcome) << c.first << " " << c.second;
        if (c.outcome == SecondaryAction::RangeOutlined) {
            EXPECT_EQ(s.range.anchor, S(c.anchor));
            EXPECT_EQ(s.range.far, S(c.far));
            EXPECT_EQ(Click("ee"), SecondaryAction::None) << "an outlined range waits for the question";
        } else {
            EXPECT_EQ(s.range.first, 0);
            EXPECT_EQ(Click("bb"), SecondaryAction::RangeFirst) << "the choice starts again";
        }
    }
    // Small boards have corners too.
    e.ChangeBoardSize(7);
    CopyPosition(s, e);
    s.role = SecondaryRole::TextBoardRange;
    Click("gg");
    EXPECT_EQ(Click("cc"), SecondaryAction::RangeOutlined);
}

}  // namespace
}  // namespace quorvel::test
