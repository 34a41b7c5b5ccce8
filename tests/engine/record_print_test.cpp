// The printed pages as drawing lists: what stands where on the full-record pages and on the numbered
// diagram pages.
#include "app/record_print.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "formats/board_diagram.h"
#include "formats/diagram_pages.h"
#include "formats/sgf_reader.h"

namespace quorvel::test {
namespace {

const SheetItem* TextAt(const Sheet& s, const std::string& text) {
    for (const SheetItem& item : s.items) {
        if (item.kind == SheetItem::Kind::Text && item.text == text) return &item;
    }
    return nullptr;
}

// The stones (circles of radius 49) centred on (x, y), in drawing order, with the number written on each.
struct Stone {
    bool white;
    std::string number;
};
std::vector<Stone> StonesAt(const Sheet& s, int x, int y) {
    std::vector<Stone> out;
    for (std::size_t i = 0; i < s.items.size(); ++i) {
        const SheetItem& c = s.items[i];
        if (c.kind != SheetItem::Kind::Circle || c.x2 != 49 || c.x != x || c.y != y) continue;
        const bool numbered = i + 1 < s.items.size() && s.items[i + 1].kind == SheetItem::Kind::Text &&
                              std::abs(s.items[i + 1].x - x) < 50 && std::abs(s.items[i + 1].y - y) < 50;
        out.push_back({c.white, numbered ? s.items[i + 1].text : ""});
    }
    return out;
}

// "aa -- ab -- ..." : `n` black stones down the first columns, each answered by a white pass.
std::string StonesAndPasses(int n) {
    std::string moves;
    for (int k = 0; k < n; ++k) {
        moves += std::string(1, static_cast<char>('a' + k / 19)) + static_cast<char>('a' + k % 19) + " -- ";
    }
    return moves;
}

class RecordPrintTest : public EngineTest {};

TEST_F(RecordPrintTest, HeaderTitleAndTheDateOfToday) {
    ASSERT_TRUE(LoadRecordText(e, "(;SZ[19]PB[本因坊]PW[名人]RE[B+R];B[pd];W[dp])"));
    e.GoToEnd();
    const PrintJob job = FullRecordPrint(e, PrintedDate(2026, 12, 8));
    EXPECT_EQ(job.title, "Quorvel  棋譜印刷");
    ASSERT_EQ(job.sheets.size(), 1u);
    const Sheet& s = job.sheets[0];
    const SheetItem* date = TextAt(s, "2026年12月8日");
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(std::make_tuple(date->x, date->y, date->fontSize), std::make_tuple(200, 50, 18));
    const SheetItem* black = TextAt(s, "黒番 ： 本因坊");
    ASSERT_NE(black, nullptr);
    EXPECT_EQ(std::make_tuple(black->x, black->y, black->fontSize), std::make_tuple(200, 165, 16));
    EXPECT_NE(TextAt(s, "白番 ： 名人"), nullptr);
    const SheetItem* title = TextAt(s, "総譜 ( 1 - 2 )");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(std::make_tuple(title->x, title->y, title->fontSize), std::make_tuple(1000, 430, 14));
    // Q16 (pd) is column 16, row 4: a black stone numbered 1.
    const std::vector<Stone> first = StonesAt(s, 16 * 100 + 250, 4 * 100 + 550);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_FALSE(first[0].white);
    EXPECT_EQ(first[0].number, "1");
}

TEST_F(RecordPrintTest, ABoardPrintsWithItsOwnLines) {
    // Labels up to the board's size and a frame around its grid alone, whatever the size.
    for (const auto& [size, right] : {std::pair{19, 2150}, {13, 1550}, {9, 1150}, {7, 950}, {6, 850}}) {
        ASSERT_TRUE(LoadRecordText(e, "(;SZ[" + std::to_string(size) + "];B[aa];W[bb])"));
        e.GoToEnd();
        const PrintJob job = FullRecordPrint(e, PrintedDate(2026, 12, 8));
        const Sheet& s = job.sheets.at(0);
        EXPECT_NE(TextAt(s, std::to_string(size)), nullptr) << size;
        EXPECT_EQ(TextAt(s, std::to_string(size + 1)), nullptr) << size;
        int widest = 0;
        for (const SheetItem& item : s.items) {
            if (item.kind == SheetItem::Kind::Line) widest = std::max(widest, item.x2);
        }
        EXPECT_EQ(widest, right) << size;
    }
}

TEST_F(RecordPrintTest, ListContinuesOnPagesOfItsOwn) {
    struct Case {
        int passes;
        std::size_t sheets;
    };
    for (const Case c : {Case{30, 1}, Case{31, 2}, Case{150, 2}, Case{151, 3}}) {
        MakeMainLine(StonesAndPasses(c.passes) + "ss");
        e.GoToEnd();
        const PrintJob job = FullRecordPrint(e, "today");
        ASSERT_EQ(job.sheets.size(), c.sheets) << c.passes;
        // Thirty under the board, a hundred and twenty on each page after.
        EXPECT_EQ(TextAt(job.sheets[0], "棋譜ページ２に続く.....") != nullptr, c.passes > 30) << c.passes;
        EXPECT_EQ(TextAt(job.sheets[0], "パス")->y, ListPosition(1, 2620).y - 22);
        if (c.sheets >= 2) {
            const int onPage2 = std::min(c.passes - 30, 120);
            const int lastY = ListPosition(onPage2, 200).y;
            const SheetItem* footer =
                TextAt(job.sheets[1], "----------------- 棋譜ページ ２ -----------------");
            ASSERT_NE(footer, nullptr) << c.passes;
            EXPECT_EQ(footer->y, lastY + 200) << c.passes;
            // The first item of a continuation page: the 31st pass, white, numbered 62.
            const std::vector<Stone> item = StonesAt(job.sheets[1], 340, 200);
            ASSERT_EQ(item.size(), 1u);
            EXPECT_TRUE(item[0].white);
            EXPECT_EQ(item[0].number, "62");
        }
        EXPECT_EQ(c.sheets == 3 && TextAt(job.sheets[1], "棋譜ページ３に続く.....") != nullptr,
                  c.sheets == 3);
    }
}

TEST_F(RecordPrintTest, RepeatedPointsFromTheNinthEntryAreListedWithTheFirstStone) {
    // Entries 1..8 fill a ko shape; entry 9 retakes at a point played before.
    ASSERT_TRUE(LoadRecordText(e, "(;SZ[19];B[cb];W[db];B[ba];W[ea];B[ca];W[da];B[jj];W[jk];B[da])"));
    e.GoToEnd();
    ASSERT_EQ(e.currentIndex, 9);
    const PrintJob job = FullRecordPrint(e, "today");
    const Sheet& s = job.sheets[0];
    // Listed as item 1: black 9, then in brackets the white stone 6 first played there.
    const ListPlace at = ListPosition(1, 2620);
    const std::vector<Stone> item = StonesAt(s, at.x, at.y);
    ASSERT_EQ(item.size(), 1u);
    EXPECT_EQ(item[0].number, "9");
    const std::vector<Stone> inside = StonesAt(s, at.x + 130, at.y);
    ASSERT_EQ(inside.size(), 1u);
    EXPECT_TRUE(inside[0].white);
    EXPECT_EQ(inside[0].number, "6");
    EXPECT_NE(TextAt(s, "["), nullptr);
}

TEST_F(RecordPrintTest, CapturedSetupStoneKeepsItsColour) {
    // Black's setup stone in the corner is captured, and White plays on its point later.
    ASSERT_TRUE(LoadRecordText(e, "(;SZ[19]AB[aa]AW[ba]PL[W];W[ab];B[dd];W[aa])"));
    e.GoToEnd();
    ASSERT_EQ(e.board[P("aa")], kWhite);
    for (const PrintJob& job : {FullRecordPrint(e, "today")}) {
        const std::vector<Stone> corner = StonesAt(job.sheets[0], 350, 650);
        ASSERT_EQ(corner.size(), 2u);
        EXPECT_FALSE(corner[0].white);
        EXPECT_EQ(corner[0].number, "");
        EXPECT_TRUE(corner[1].white);
        EXPECT_EQ(corner[1].number, "3");
    }
    // The pictures: White's later stone on that point is numbered; the start holds the black setup stone.
    const DiagramGrid d = LineDiagram(e);
    EXPECT_EQ(d[P("ba")].colour, kWhite);
    EXPECT_EQ(d[P("aa")].colour, kWhite);
    EXPECT_EQ(d[P("aa")].entry, 5);
    EXPECT_EQ(PositionAfterEntries(e, 2)[P("aa")], kBlack);
    EXPECT_EQ(PositionAfterEntries(e, 3)[P("aa")], kEmpty);
}

TEST_F(RecordPrintTest, DiagramPagesSplitLikeTheTextBoard) {
    std::string moves;
    for (int k = 0; k < 150; ++k)
        moves += std::string(1, static_cast<char>('a' + k / 19)) + static_cast<char>('a' + k % 19) + " ";
    MakeMainLine(moves);
    e.GoToEnd();
    ASSERT_EQ(e.currentIndex, 150);
    const PrintJob job = DiagramPagesPrint(e, "today");
    ASSERT_EQ(job.sheets.size(), 2u);
    EXPECT_NE(TextAt(job.sheets[0], "第 1 譜   ( 1 - 99 )"), nullptr);
    EXPECT_NE(TextAt(job.sheets[1], "第 2 譜   ( 100 - 150 )"), nullptr);
    EXPECT_NE(TextAt(job.sheets[0], "today"), nullptr);
    EXPECT_EQ(TextAt(job.sheets[1], "today"), nullptr);
    // Page 2 begins from the position after 99 moves, unnumbered; its own moves are numbered by their last
    // two digits, the hundredth keeping its 100.
    const std::array<int, kGridCells> start = PositionAfterEntries(e, 99);
    int background = 0;
    for (PointCode p = 0; p < kGridCells; ++p) {
        if (start[p] != kBlack && start[p] != kWhite) continue;
        const std::vector<Stone> there = StonesAt(job.sheets[1], BoardPointX(p), BoardPointY(p));
        ASSERT_EQ(there.size(), 1u) << p;
        EXPECT_EQ(there[0].white, start[p] == kWhite);
        EXPECT_EQ(there[0].number, "");
        ++background;
    }
    EXPECT_GT(background, 40);
    for (const auto& [letters, number] :
         {std::pair<const char*, const char*>{"fe", "100"}, {"ff", "1"}, {"hq", "50"}}) {
        const std::vector<Stone> s =
            StonesAt(job.sheets[1], BoardPointX(P(letters)), BoardPointY(P(letters)));
        ASSERT_EQ(s.size(), 1u) << letters;
        EXPECT_EQ(s[0].number, number) << letters;
    }
}

TEST_F(RecordPrintTest, DiagramFootnotesBeyondThirtyGoOnASheetOfTheirOwn) {
    MakeMainLine(StonesAndPasses(40) + "ss");
    e.GoToEnd();
    e.settings.textUseNew = true;
    const PrintJob job = DiagramPagesPrint(e, "today");
    ASSERT_EQ(job.sheets.size(), 2u);
    EXPECT_NE(TextAt(job.sheets[0], "第 1 譜の続き....."), nullptr);
    // The 31st footnote, the pass of entry 62, heads the extra sheet.
    const std::vector<Stone> item = StonesAt(job.sheets[1], 340, 200);
    ASSERT_EQ(item.size(), 1u);
    EXPECT_EQ(item[0].number, "62");
    EXPECT_NE(TextAt(job.sheets[1], "パス"), nullptr);
}

TEST(PrintedDateTest, NoLeadingZeros) {
    EXPECT_EQ(PrintedDate(2027, 1, 5), "2027年1月5日");
}

}  // namespace
}  // namespace quorvel::test
