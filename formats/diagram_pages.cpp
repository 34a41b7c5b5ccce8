#include "formats/diagram_pages.h"

#include <algorithm>
#include <vector>

#include "formats/board_diagram.h"

namespace quorvel {

// How far left of a footnote's place its point ("13-1") starts: right of the bracket's stroke.
constexpr int kFootnoteTextLeft = 45;
namespace {

struct Footnote {
    int entry;
    int earlier;  // the entry whose stone holds the point; 0 for a pass
};

// The number a page writes on entry k: from 1 on each page with TextUseNew, else its last two digits
// counted from the count base (a hundredth move keeps its 100).
int PageMoveNumber(const Engine& e, int k, int first, int o) {
    if (e.settings.textUseNew) return k - first + 1;
    const int n = (k - o) % 100;
    return n == 0 ? 100 : n;
}

}  // namespace

PrintJob DiagramPagesPrint(const Engine& e, const std::string& today) {
    PrintJob job;
    job.title = "Quorvel  棋譜印刷";
    const int t = std::max(1, e.settings.textBMoves);
    const int o = CountBase(e);
    const int total = std::min(e.currentIndex, kMaxLineEntries) - o;
    for (int d = 1; d == 1 || (d - 1) * t < total; ++d) {
        const int startEntries = o + (d - 1) * t;
        const int first = startEntries + 1;
        const int last = o + std::min(d * t, total);
        job.sheets.emplace_back();
        Sheet& sheet = job.sheets.back();
        if (d == 1) DrawHeader(sheet, e.info, today);
        DrawGrid(sheet, e.boardSize);
        DrawText(sheet, TitleX(e.boardSize), 430, 14,
                 "第 " + std::to_string(d) + " 譜   ( " + std::to_string((d - 1) * t + 1) + " - " +
                     std::to_string(std::min(d * t, total)) + " )");

        // Who holds each point at the page's start, then the page's moves from the last to the first, so
        // that the earliest move on a point keeps it.
        const std::array<int, kGridCells> start = PositionAfterEntries(e, startEntries);
        std::vector<int> holder(kGridCells, 0);
        for (int k = 1; k <= startEntries; ++k) {
            const PointCode p = e.lineMoves[k];
            if (e.IsOnBoard(p) && start[p] != kEmpty) holder[p] = k;
        }
        std::vector<int> firstOnPage(kGridCells, 0);
        for (int k = last; k >= first; --k) {
            const PointCode p = e.lineMoves[k];
            if (e.IsOnBoard(p) && start[p] == kEmpty) firstOnPage[p] = k;
        }
        for (PointCode p = 0; p < kGridCells; ++p) {
            if (start[p] == kBlack || start[p] == kWhite)
                DrawStone(sheet, start[p], 0, BoardPointX(p), BoardPointY(p));
            const int k = firstOnPage[p];
            if (k > 0)
                DrawStone(sheet, LineEntryColour(e, k), PageMoveNumber(e, k, first, o), BoardPointX(p),
                          BoardPointY(p));
        }
        std::vector<Footnote> notes;
        for (int k = first; k <= last; ++k) {
            const PointCode p = e.lineMoves[k];
            if (!e.IsOnBoard(p)) {
                notes.push_back({k, 0});
            } else if (firstOnPage[p] != k) {
                notes.push_back({k, start[p] != kEmpty ? holder[p] : firstOnPage[p]});
            }
        }

        // Thirty footnotes under the board, the rest on sheets of their own before the next page.
        LayOutList(
            job, notes.size(),
            [&](Sheet& s, std::size_t index, ListPlace at) {
                const Footnote& f = notes[index];
                const ListPlace inside =
                    DrawListedStone(s, at, LineEntryColour(e, f.entry), PageMoveNumber(e, f.entry, first, o));
                if (f.earlier == 0) {
                    DrawPassMark(s, inside.x, inside.y);
                } else if (f.earlier >= first) {
                    DrawStone(s, LineEntryColour(e, f.earlier), PageMoveNumber(e, f.earlier, first, o),
                              inside.x, inside.y);
                } else {
                    const PointCode p = e.lineMoves[f.entry];
                    // Clear of the "[" drawn before it, which would cover a first digit, and of the "]":
                    // "13-19" is written smaller.
                    const std::string point = std::to_string(PointCol(p)) + "-" + std::to_string(PointRow(p));
                    const bool longest = point.size() > 4;
                    DrawText(s, inside.x - kFootnoteTextLeft, inside.y - (longest ? 18 : 22), longest ? 10 : 12, point);
                }
            },
            [d](Sheet& s, int, int, bool more) {
                if (more) DrawText(s, 1020, 3235, 9, "第 " + std::to_string(d) + " 譜の続き.....");
            });
    }
    return job;
}

}  // namespace quorvel
