// The record preview's own scan: memo lines, the final position of the main line, the limits of a file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "auxiliary/record_preview.h"
#include "engine/engine_fixture.h"
#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

std::string WithoutLineEnds(std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }), text.end());
    return text;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(RecordPreview, ResultTexts) {
    const struct {
        const char* value;
        const char* line;
    } cases[] = {
        {"B+R", "黒中押勝"},       {"W+Resign", "白中押勝"}, {"W+3.5", "白 3 目半勝"}, {"B+0.5", "黒 半目勝"},
        {"W+12", "白 12 目勝"},    {"B+", "黒勝"},           {"W+", "白勝"},           {"B", "黒勝"},
        {"0", "持碁"},             {"BW", "持碁"},           {"-", "勝負不明"},         {"Void", "Void"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(PreviewResultText(c.value), c.line) << c.value;
}

TEST(RecordPreview, MemoLinesInOrder) {
    const RecordPreview p = ScanRecordPreview(
        "(;GM[1]FF[4]SZ[19]RE[W+3.5]DT[2024-05-01]PW[白石 次郎]PB[黒田 一郎]AB[pd][dp]\r\n;W[dd];B[pp];W[tt])");
    const std::vector<std::string> expected = {"● 黒田 一郎", "○ 白石 次郎", "日付 ： 2024-05-01",
                                               "結果 ： 白 3 目半勝", "手数 ： 2  |  前配置 ： 2"};
    EXPECT_EQ(p.lines, expected);
    EXPECT_FALSE(p.blackFirst);  // the first move is White's
    EXPECT_EQ(p.setupCount, 2);
    EXPECT_EQ(p.moveCount, 2);  // the trailing pass is dropped from the count
}

TEST(RecordPreview, NoRecordGivesNothing) {
    for (const char* text : {"", "(;B[", "hello world, no record here", "SZ[9];B[aa]"}) {
        const RecordPreview p = ScanRecordPreview(text);
        EXPECT_TRUE(p.lines.empty()) << text;
        EXPECT_EQ(p.board, EmptyBoardGrid(19)) << text;
    }
}

// The stones of a preview, as rows of "X", "O" and ".".
std::vector<std::string> Rows(const RecordPreview& p) {
    std::vector<std::string> rows;
    for (int row = 1; row <= p.boardSize; ++row) {
        std::string r;
        for (int col = 1; col <= p.boardSize; ++col) {
            const int v = p.board[MakePoint(col, row)];
            r += v == kBlack ? 'X' : v == kWhite ? 'O' : '.';
        }
        rows.push_back(r);
    }
    return rows;
}

TEST(RecordPreview, MainLineWithCapturesSkippingVariationsCommentsAndTerritory) {
    // White's stone at b1 is taken by b2... then the variation and the comment's move-like text stay out.
    const RecordPreview p = ScanRecordPreview(
        "(;SZ[6]PB[B[ab]]C[;B[ff]]\n;B[ba]C[W[ee] is \\] bad];W[aa];B[ab]TB[cc]TW[dd]"
        "(;W[cc];B[dd](;W[ee])(;W[ef]))(;W[ff]))");
    EXPECT_EQ(p.boardSize, 6);
    EXPECT_EQ(p.moveCount, 6);
    const std::vector<std::string> expected = {".X....", "X.....", "..O...", "...X..", "....O.", "......"};
    EXPECT_EQ(Rows(p), expected);
    EXPECT_EQ(p.lines.back(), "手数 ： 6");
}

class RecordPreviewLayouts : public test::EngineTest {};

TEST_F(RecordPreviewLayouts, NestedAndInlineRecordsPreviewTheSameMainLine) {
    // Branches at the first move, inside the main line with a sub-branch, and inside a variation; the
    // comments hold "))" and an unmatched "(" to mislead a search for parentheses.
    const std::string source =
        "(;GM[1]SZ[9]C[smile :)) (see]\r\n"
        "(;B[cc]C[main (1];W[gg];B[cg]\r\n"
        "(;W[gc];B[ee](;W[dd];B[fd];W[ff];B[hh])(;W[df];B[ab](;W[ba])(;W[bb])))\r\n"
        "(;W[ec];B[ed]))\r\n"
        "(;B[ee];W[cc]))\r\n";
    const std::vector<std::string> mainLine = {"cc", "gg", "cg", "gc", "ee", "dd", "fd", "ff", "hh"};
    ASSERT_TRUE(LoadRecordText(e, source));
    e.settings.zarnStyle = false;
    const std::string nested = WholeRecordText(e);
    e.settings.zarnStyle = true;
    const std::string inlined = WholeRecordText(e);
    ASSERT_NE(inlined, nested);
    // The inline layout goes on with the main line after a variation, which the nested one never does.
    ASSERT_NE(WithoutLineEnds(inlined).find(");"), std::string::npos) << inlined;

    for (const std::string& text : {source, nested, inlined}) {
        const RecordPreview p = ScanRecordPreview(text);
        ASSERT_EQ(p.moveCount, static_cast<int>(mainLine.size())) << text;
        for (std::size_t k = 0; k < mainLine.size(); ++k) {
            EXPECT_EQ(p.points[k], MakePoint(mainLine[k][0] - 'a' + 1, mainLine[k][1] - 'a' + 1)) << k << "\n" << text;
        }
        EXPECT_EQ(p.lines.back(), "手数 ： 9");
    }
    // A variation that never closes is entered, as the nested layout would be, and ends the line.
    EXPECT_EQ(ScanRecordPreview("(;SZ[9];B[aa](;W[bb];B[cc]").moveCount, 3);
}

TEST(RecordPreview, PointsOffTheBoardPlaceNothing) {
    // On 9 lines "jj" is beyond the board; "at", "rt" and "b`" have a letter without a value, even where
    // the two letters together would fall inside the grid.
    const RecordPreview p = ScanRecordPreview("(;SZ[9]AB[at][rt][b`][jj][ee]AW[ia];B[ab];W[tt];B[ca])");
    EXPECT_EQ(p.setupCount, 2);
    EXPECT_EQ(p.board[MakePoint(5, 5)], kBlack);
    EXPECT_EQ(p.board[MakePoint(9, 1)], kWhite);
    for (PointCode i = 0; i < kGridCells; ++i) {
        const bool on = PointCol(i) >= 1 && PointCol(i) <= 9 && PointRow(i) >= 1 && PointRow(i) <= 9;
        if (!on) {
            EXPECT_EQ(p.board[i], kBorder) << i;
        }
    }
    EXPECT_EQ(p.moveCount, 3);  // the pass in the middle counts
}

TEST(RecordPreview, EntriesStopAt499) {
    std::string setup = "AB";
    int stones = 0;
    for (char c = 'a'; c <= 's'; ++c) {
        for (char r = 'a'; r <= 's'; ++r) setup += std::string("[") + c + r + "]";
    }
    // 361 distinct points, listed twice: 722 groups, more than the list holds.
    const RecordPreview full = ScanRecordPreview("(;SZ[19]" + setup + setup.substr(2) + ";W[tt])");
    EXPECT_EQ(full.setupCount, kPreviewEntries);
    EXPECT_EQ(full.moveCount, 0);
    for (PointCode i = 0; i < kGridCells; ++i) stones += full.board[i] == kBlack;
    EXPECT_EQ(stones, 361);

    std::string moves = "(;AB[aa][ab]";
    for (int k = 0; k < 600; ++k) moves += k % 2 ? ";W[tt]" : ";B[tt]";
    moves += ";B[ss])";
    const RecordPreview many = ScanRecordPreview(moves);
    // 497 passes fill the list and, trailing, are not counted; the stone after them is never reached.
    EXPECT_EQ(many.points.size(), 2u);
    EXPECT_EQ(many.moveCount, 0);
    EXPECT_EQ(many.board[MakePoint(19, 19)], kEmpty);
}

TEST(RecordPreview, NamesAreSgfFilesAfterTheFirstCharacter) {
    EXPECT_TRUE(IsPreviewedName("/a/game.sgf"));
    EXPECT_TRUE(IsPreviewedName("/a/GAME.SGF"));
    EXPECT_TRUE(IsPreviewedName("/a/x.sgf.bak"));
    EXPECT_FALSE(IsPreviewedName("/a/.sgf"));
    EXPECT_FALSE(IsPreviewedName("/a.sgf/notes.txt"));
    EXPECT_FALSE(IsPreviewedName("/a/game.Sgf"));
}

TEST(RecordPreview, OnlyRegularFilesOfASensibleSizeAreRead) {
    const fs::path dir = fs::temp_directory_path() / ("quorvel-preview-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string fifo = (dir / "pipe.sgf").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string text = "x";
    EXPECT_FALSE(ReadPreviewFile(fifo, text));  // returns at once: no writer is waited for
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(ReadPreviewFile((dir / "missing.sgf").string(), text));
    EXPECT_FALSE(ReadPreviewFile(dir.string(), text));

    const fs::path big = dir / "big.sgf";
    std::ofstream(big).put('(');
    fs::resize_file(big, kPreviewFileLimit + 1);
    EXPECT_FALSE(ReadPreviewFile(big.string(), text));
    std::ofstream(dir / "small.sgf", std::ios::binary) << "(;B[aa])";
    ASSERT_TRUE(ReadPreviewFile((dir / "small.sgf").string(), text));
    EXPECT_EQ(text, "(;B[aa])");
    fs::remove_all(dir);
}

// The preview's final position against the program's SGF reader stepped to the end of the main line, on
// the real records of the corpus that hold one game each within the list's limit.
TEST(RecordPreview, FinalPositionAgreesWithTheReaderOnRealRecords) {
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(QUORVEL_TEST_DATA) / "corpus")) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".sgf" || name.find("bad") != std::string::npos) continue;
        // Collections, UTF-16 and a pseudo-game that plays again and again onto occupied points are no
        // single game to preview.
        if (name.find("collection") != std::string::npos || name.find("utf16") != std::string::npos ||
            name.find("long-node-chains") != std::string::npos) {
            continue;
        }
        const std::string text = ReadFile(entry.path());
        MemoryMessageArea messages;
        MemoryDialogs dialogs;
        Engine e(messages, dialogs);
        if (!LoadRecordText(e, text)) continue;
        const RecordPreview p = ScanRecordPreview(text);
        if (p.boardSize != e.boardSize || static_cast<int>(p.points.size()) >= kPreviewEntries) continue;
        e.GoToEnd();
        for (PointCode i = 0; i < kGridCells; ++i) {
            const int expected = e.board[i] == kBorder ? kBorder : e.board[i];
            ASSERT_EQ(p.board[i], expected) << name << " point " << i;
        }
        ++compared;
    }
    EXPECT_GE(compared, 10);
}

}  // namespace
}  // namespace quorvel
