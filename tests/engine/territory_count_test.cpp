// Territory counting on fixed final positions: marking and reviving chains, provisional stones, the count
// of prisoners, dead stones and regions, the komi forms and the result texts.
#include "auxiliary/secondary_board.h"
#include "engine_fixture.h"

namespace quorvel::test {
namespace {

class TerritoryCountTest : public EngineTest {
protected:
    SecondaryBoard s;

    PointCode S(const char* letters) const { return SgfLettersToPoint(letters[0], letters[1], s.boardSize); }

    // Opens the count on a position of rows of "X", "O" and "."; the board window's prisoners as given.
    void Open(const std::vector<std::string>& rows, int capturedByBlack = 0, int capturedByWhite = 0) {
        DrawPosition(e, rows);
        e.whiteCaptured = capturedByBlack;
        e.blackCaptured = capturedByWhite;
        StartCounting(s, e);
    }

    bool Press(const char* letters, bool left = true) { return CountPress(s, S(letters), left); }

    // Who gains each point in the count shown: "b" Black, "w" White, "." nobody or a stone.
    std::string Gains() const {
        std::vector<char> cells(kGridCells, '.');
        for (const CountSquare& q : s.count.squares) cells[q.point] = q.side == kBlack ? 'b' : 'w';
        std::string out;
        for (int row = 1; row <= s.boardSize; ++row) {
            for (int col = 1; col <= s.boardSize; ++col) out += cells[MakePoint(col, row)];
            out += '\n';
        }
        return out;
    }
};

// Black's wall on column d, White's on column f, the column between them dame. A white stone lies dead in
// Black's area, a black chain of two in White's.
const std::vector<std::string> kNine = {
    "...X.O...",  //
    "...X.O.X.",  //
    "...X.O.X.",  //
    "...X.O...",  //
    ".O.X.O...",  //
    "...X.O...",  //
    "...X.O...",  //
    "...X.O...",  //
    "...X.O...",  //
};

TEST_F(TerritoryCountTest, ANineLineGameCountsDeadStonesRegionsAndKomi) {
    Open(kNine, 11, 0);
    EXPECT_EQ(s.count.blackTotal, 11);
    ASSERT_TRUE(Press("be"));
    ASSERT_TRUE(Press("hb"));  // one click marks the whole chain
    EXPECT_EQ(s.subBoard[S("hc")], kDeadBlack);
    EXPECT_EQ(s.count.blackTotal, 12);
    EXPECT_EQ(s.count.whiteTotal, 2);

    RunCount(s, "6.5");
    // Black: 11 prisoners + 1 dead stone marked + its point + 26 empty points = 39.
    // White: 2 dead stones marked + their points + 25 empty points = 29, and 6 of komi.
    EXPECT_EQ(s.count.shownBlack, 39);
    EXPECT_EQ(s.count.shownWhite, 29);
    EXPECT_EQ(s.count.title, " Quorvel : 地の計算  [ コミ ： 6.5 ]    黒 3 目半勝ち");
    // The dead stones' points go to the side that took them; the dame column scores for nobody.
    EXPECT_EQ(Gains(), [] {
        std::string all;
        for (int row = 0; row < 9; ++row) all += "bbb...www\n";
        return all;
    }());
    // The dead stones are gone from the board; the running totals are back to the marked state.
    EXPECT_EQ(s.subBoard[S("be")], kEmpty);
    EXPECT_EQ(s.subBoard[S("ea")], kEmpty);
    EXPECT_EQ(s.count.blackTotal, 12);
    EXPECT_EQ(s.count.whiteTotal, 2);
    for (PointCode p = 0; p < kGridCells; ++p) EXPECT_EQ(s.count.regionVisit[p], 0);
}

TEST_F(TerritoryCountTest, EqualTotalsWithoutKomiAreAJigo) {
    Open(kNine, 1, 0);
    Press("be");
    Press("hb");
    RunCount(s, "0");
    EXPECT_EQ(s.count.shownBlack, 29);
    EXPECT_EQ(s.count.shownWhite, 29);
    EXPECT_EQ(s.count.title, " Quorvel : 地の計算    持 碁 で す！");
}

TEST_F(TerritoryCountTest, RecountingRestoresTheMarksAndCountsTheSame) {
    Open(kNine, 11, 0);
    Press("be");
    Press("hb");
    Press("ea");  // a provisional black stone in the dame column
    RunCount(s, "6.5");
    const std::string gains = Gains();
    const std::string title = s.count.title;
    UndoCount(s);
    EXPECT_FALSE(s.count.resultShown);
    EXPECT_EQ(s.count.title, kCountingTitle);
    EXPECT_TRUE(s.count.squares.empty());
    EXPECT_EQ(s.subBoard[S("be")], kDeadWhite);
    EXPECT_EQ(s.subBoard[S("ea")], kProvisionalBlack);
    RunCount(s, "6.5");
    EXPECT_EQ(Gains(), gains);
    EXPECT_EQ(s.count.title, title);
}

TEST_F(TerritoryCountTest, MarkingRevivingAndProvisionalStones) {
    Open({".XX.O....", "XOX.O....", ".X..O....", "....O....", "OOOOO....", ".........", ".........",
          ".........", "........."});
    // A chain is its exact code: the provisional black stone next to it stays.
    ASSERT_TRUE(Press("aa"));
    EXPECT_EQ(s.subBoard[S("aa")], kProvisionalBlack);
    Press("ba");
    EXPECT_EQ(s.subBoard[S("ca")], kDeadBlack);
    EXPECT_EQ(s.subBoard[S("aa")], kProvisionalBlack);
    EXPECT_EQ(s.subBoard[S("cb")], kDeadBlack);
    EXPECT_EQ(s.subBoard[S("ab")], kBlack) << "not connected to the marked chain";
    EXPECT_EQ(s.count.whiteTotal, 3);
    Press("ca");
    EXPECT_EQ(s.subBoard[S("ba")], kBlack);
    EXPECT_EQ(s.count.whiteTotal, 0);

    // A press on a provisional stone removes it and erases while the button is held.
    Press("da", false);
    EXPECT_EQ(s.subBoard[S("da")], kProvisionalWhite);
    CountDragTo(s, S("db"));
    EXPECT_EQ(s.subBoard[S("db")], kProvisionalWhite);
    CountDragTo(s, S("eb"));
    EXPECT_EQ(s.subBoard[S("eb")], kWhite) << "stones are left alone";
    CountRelease(s);
    Press("da");
    EXPECT_EQ(s.subBoard[S("da")], kEmpty);
    CountDragTo(s, S("db"));
    EXPECT_EQ(s.subBoard[S("db")], kEmpty);
    CountDragTo(s, S("dc"));
    EXPECT_EQ(s.subBoard[S("dc")], kEmpty) << "erasing places nothing";
    CountRelease(s);
    EXPECT_FALSE(CountDragTo(s, S("dc")));
}

TEST_F(TerritoryCountTest, ProvisionalStonesCloseBordersAndSpoilTheOtherSidesTerritory) {
    // Black's wall is open at the bottom: the region reaches White and is nobody's.
    const std::vector<std::string> open = {"..X.O", "..X.O", "..X.O", "..X.O", "....O"};
    // Five lines have no geometry; seven do.
    std::vector<std::string> rows;
    for (const std::string& r : open) rows.push_back(r + "..");
    rows.push_back("....O..");
    rows.push_back("....O..");
    Open(rows);
    RunCount(s, "0");
    EXPECT_EQ(s.count.shownBlack, 0);
    EXPECT_EQ(s.count.shownWhite, 14);
    UndoCount(s);
    Press("ce");
    Press("cf");
    Press("cg");
    RunCount(s, "0");
    // Closed by three provisional stones: Black has its two columns; the column between the walls is dame.
    EXPECT_EQ(s.count.shownBlack, 14);
    EXPECT_EQ(s.count.shownWhite, 14);
    UndoCount(s);
    Press("aa", false);
    RunCount(s, "0");
    EXPECT_EQ(s.count.shownBlack, 0) << "a white provisional stone inside spoils the region";
}

TEST_F(TerritoryCountTest, KomiForms) {
    struct Case {
        const char* text;
        int points;
        bool half;
        const char* bracket;
    };
    const Case cases[] = {
        {"0", 0, false, ""},
        {"不明", 0, false, "  [ コミ ： 不明 ]"},
        {"", 0, false, "  [ コミ ：  ]"},
        {"6.5", 6, true, "  [ コミ ： 6.5 ]"},
        {"5目半", 5, true, "  [ コミ ： 5目半 ]"},
        {"0.5", 0, true, "  [ コミ ： 0.5 ]"},
        {".5", 0, true, "  [ コミ ： .5 ]"},
        {"-5", -5, false, "  [ コミ ： -5 ]"},
        {"-5目半", -6, true, "  [ コミ ： -5目半 ]"},
        {"-5.5", -6, true, "  [ コミ ： -5.5 ]"},
        {"-0.5", -1, true, "  [ コミ ： -0.5 ]"},
        {"360", 360, false, "  [ コミ ： 360 ]"},
        {"361", 0, false, "  [ コミ ： 361 ]"},
        {"-99999999999", 0, false, "  [ コミ ： -99999999999 ]"},
        {"2147483648", 0, false, "  [ コミ ： 2147483648 ]"},
        {"7目", 7, false, "  [ コミ ： 7目 ]"},
    };
    for (const Case& c : cases) {
        const Komi k = ReadKomi(c.text, 19);
        EXPECT_EQ(k.points, c.points) << c.text;
        EXPECT_EQ(k.halfPoint, c.half) << c.text;
        EXPECT_EQ(KomiBracket(c.text), c.bracket);
    }
    EXPECT_EQ(ReadKomi("81", 9).points, 0);
    EXPECT_EQ(ReadKomi("80", 9).points, 80);
}

TEST_F(TerritoryCountTest, ResultTexts) {
    struct Case {
        int black, white;
        bool half;
        const char* text;
    };
    const Case cases[] = {
        {70, 70, true, "    白 半目勝ち"},  {71, 70, true, "    黒 半目勝ち"}, {75, 70, true, "    黒 4 目半勝ち"},
        {75, 70, false, "    黒 5 目勝ち"}, {70, 73, true, "    白 3 目半勝ち"}, {70, 73, false, "    白 3 目勝ち"},
        {70, 70, false, "    持 碁 で す！"},
    };
    for (const Case& c : cases) EXPECT_EQ(ResultText(c.black, c.white, c.half), c.text);
    EXPECT_EQ(TotalLabel(true, 39), "黒 : 39");
    EXPECT_EQ(TotalLabel(false, -2), "白 : -2");
}

TEST_F(TerritoryCountTest, ANineteenLineGame) {
    // Walls on columns 9 (Black) and 11 (White), the column between them dame. A white chain of three lies
    // dead in Black's area and a single black stone in White's.
    std::vector<std::string> rows(19, std::string(8, '.') + "X.O" + std::string(8, '.'));
    rows[2][2] = 'O';
    rows[3][2] = 'O';
    rows[3][3] = 'O';
    rows[14][14] = 'X';
    Open(rows, 3, 5);
    Press("cc");
    Press("oo");
    EXPECT_EQ(s.count.blackTotal, 6);
    EXPECT_EQ(s.count.whiteTotal, 6);
    RunCount(s, "6.5");
    // Black: 3 prisoners + 3 marked + 3 points + 149 empty = 158; White: 5 + 1 + 1 + 151 = 158, then komi.
    EXPECT_EQ(s.count.shownBlack, 158);
    EXPECT_EQ(s.count.shownWhite, 158);
    EXPECT_EQ(s.count.title, " Quorvel : 地の計算  [ コミ ： 6.5 ]    白 6 目半勝ち");
    int dame = 0;
    for (int row = 1; row <= 19; ++row) {
        for (const CountSquare& q : s.count.squares) dame += q.point == MakePoint(10, row);
    }
    EXPECT_EQ(dame, 0);
}

}  // namespace
}  // namespace quorvel::test
