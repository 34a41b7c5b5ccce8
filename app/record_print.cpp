#include "app/record_print.h"

#include <algorithm>
#include <vector>

#include "formats/board_diagram.h"
#include "formats/diagram_pages.h"
#include "formats/text_board.h"

namespace quorvel {

const char* const kNothingToPrint = "盤上に着手が有る時に印刷できます";
const char* const kPrintJobTitle = "Quorvel  棋譜印刷";

std::string PrintedDate(int year, int month, int day) {
    return std::to_string(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日";
}

namespace {

// The earlier entry on the same point that sends entry i to the list: only from the ninth entry on, and
// only entries up to i - 2 count (the first eight are drawn over each other on the board).
int RepeatOf(const Engine& e, int i) {
    const PointCode p = e.lineMoves[i];
    if (p == kPass || i - 1 < 8) return 0;
    for (int j = 1; j <= i - 2; ++j) {
        if (e.lineMoves[j] == p) return j;
    }
    return 0;
}

}  // namespace

PrintJob FullRecordPrint(const Engine& e, const std::string& today) {
    PrintJob job;
    job.title = kPrintJobTitle;
    job.sheets.emplace_back();
    Sheet& first = job.sheets.back();
    DrawGrid(first, e.boardSize);
    DrawHeader(first, e.info, today);
    DrawText(first, TitleX(e.boardSize), 430, 14,
             "総譜 ( 1 - " + std::to_string(e.currentIndex - e.baseIndex) + " )");

    const int last = std::min(e.currentIndex, kMaxLineEntries);
    std::vector<int> listed;
    for (int i = 1; i <= last; ++i) {
        const PointCode p = e.lineMoves[i];
        if (p != kPass && e.IsOnBoard(p) && RepeatOf(e, i) == 0) {
            DrawStone(first, LineEntryColour(e, i), i - e.baseIndex, BoardPointX(p), BoardPointY(p));
        } else {
            listed.push_back(i);
        }
    }

    // The list: thirty items under the board, then continuation pages of their own.
    LayOutList(
        job, listed.size(),
        [&e, &listed](Sheet& sheet, std::size_t index, ListPlace at) {
            const int i = listed[index];
            const ListPlace inside = DrawListedStone(sheet, at, LineEntryColour(e, i), i - e.baseIndex);
            const int m = RepeatOf(e, i);
            if (m > 0) {
                DrawStone(sheet, LineEntryColour(e, m), m - e.baseIndex, inside.x, inside.y);
            } else {
                DrawPassMark(sheet, inside.x, inside.y);
            }
        },
        [](Sheet& sheet, int page, int lastY, bool more) {
            if (page > 1) {
                DrawText(sheet, 200, lastY + 200, 18,
                         "----------------- 棋譜ページ " + FullWidthNumber(page) + " -----------------");
            }
            if (more)
                DrawText(sheet, 1020, 3235, 9, "棋譜ページ" + FullWidthNumber(page + 1) + "に続く.....");
        });
    return job;
}

PrintJob RecordPrint(const Engine& e, const std::string& textWindow, const std::string& today) {
    if (textWindow.find(kTextBoardClosing) != std::string::npos) return DiagramPagesPrint(e, today);
    return FullRecordPrint(e, today);
}

}  // namespace quorvel
