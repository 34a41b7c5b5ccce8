#include "core/gui/board_painter.h"

#include <QPainter>
#include <QPolygon>

#include "core/gui/font_names.h"
#include "core/marks.h"
#include "platform/gui/qt_text.h"

namespace quorvel {
namespace {

const QColor kWindowColour(192, 240, 192);
const QColor kBoxEdge(144, 176, 160);
const QColor kBoxFill(152, 200, 168);
const QColor kMoveNumberBox(216, 255, 216);
const QColor kCommentStrip(200, 255, 232);
const QColor kHintBoxFill(255, 255, 240);
const QColor kActiveModeFrame(128, 176, 255);
const QColor kFirstColourBox(208, 208, 208);
const QColor kCounterText(0, 128, 128);
const QColor kHintLetter(127, 255, 0);
const QColor kMarkOnEmpty(0, 0, 255);
// Commands whose part of the program is not built yet are drawn with a dimmed caption.
const QColor kDisabledLabel(150, 176, 164);

QColor HighlightColour(int stoneColour) { return stoneColour == kBlack ? QColor(0, 255, 255) : QColor(255, 0, 0); }
QColor NumberColour(int stoneColour) { return stoneColour == kBlack ? Qt::white : Qt::black; }

const char* MarkSymbol(int kind) {
    static const char* const kSymbols[] = {"",   "□", "☆", "○", "▽", "△", "◇", "×",
                                           "",   "Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｆ", "Ｇ"};
    return (kind >= 1 && kind <= 15) ? kSymbols[kind] : "";
}

QString Number(int n) { return QString::number(n); }

}  // namespace

const QFont& BoardPainter::Font(int size, bool bold) {
    const int key = size * 2 + (bold ? 1 : 0);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
        it = fonts_.emplace(key, BoardFont(size, bold)).first;
        ascents_[key] = QFontMetrics(it->second).ascent();
    }
    return it->second;
}

void BoardPainter::Text(QPainter& p, int x, int y, const QString& text, int size, bool bold,
                        const QColor& colour) {
    p.setFont(Font(size, bold));
    p.setPen(colour);
    p.drawText(x, y + ascents_[size * 2 + (bold ? 1 : 0)], text);
}

void BoardPainter::DrawBox(QPainter& p, int left, int top, int right, int bottom, const QColor& fill,
                           const QColor& edge) {
    p.fillRect(left, top, right - left + 1, bottom - top + 1, fill);
    p.setPen(Qt::white);
    p.drawLine(left, top, right, top);
    p.drawLine(left, top, left, bottom);
    p.setPen(edge);
    p.drawLine(right, top, right, bottom);
    p.drawLine(left, bottom, right, bottom);
}

void BoardPainter::DrawGrid(QImage& boardPicture, const BoardGeometry& g) {
    QPainter p(&boardPicture);
    p.setPen(Qt::black);
    const int first = g.FirstLine();
    const int last = g.boardSize * g.gridPitch - g.gridOffset;
    for (int i = 1; i <= g.boardSize; ++i) {
        const int at = i * g.gridPitch - g.gridOffset;
        p.drawLine(first, at, last, at);
        p.drawLine(at, first, at, last);
    }
    for (const auto& [col, row] : StarPoints(g.boardSize)) {
        const int x = col * g.gridPitch - g.gridOffset;
        const int y = row * g.gridPitch - g.gridOffset;
        p.fillRect(x - 1, y - 2, 3, 5, Qt::black);
        p.fillRect(x - 3, y - 1, 2, 3, Qt::black);
        p.fillRect(x + 2, y - 1, 2, 3, Qt::black);
    }
}

void BoardPainter::PrepareSize(const BoardGeometry& g) {
    if (preparedSize_ == g.boardSize) return;
    // The board is 399 x 395 whatever the picture's size: a smaller one leaves plain wood colour, a larger
    // one is cut, so that it never covers the side panel.
    image1_ = QImage(399, 395, QImage::Format_RGB32);
    image1_.fill(QColor(220, 180, 110));
    const QImage picture = pictures_.BoardPicture(g);
    if (!picture.isNull()) QPainter(&image1_).drawImage(0, 0, picture);
    DrawGrid(image1_, g);
    stones_ = pictures_.Stones(g);
    preparedSize_ = g.boardSize;
}

void BoardPainter::DrawStone(QPainter& p, int x, int y, int colour) {
    if (stones_.cell == 0) return;
    const int half = stones_.cell / 2 - 1;
    p.drawImage(x - half, y - half, colour == kBlack ? stones_.black : stones_.white);
}

void BoardPainter::DrawStoneOnPicture(QPainter& p, int x, int y, int number, int colour) {
    DrawStone(p, x, y, colour);
    if (number <= 0) return;
    const TextPlacement t = MoveNumberPlacement(preparedSize_, number, colour);
    Text(p, x + t.dx, y + t.dy, Number(number), t.size, false, NumberColour(colour));
}

void BoardPainter::DrawMoveNumber(QPainter& p, const DrawnStone& s, const BoardGeometry& g) {
    const int x = g.CentreX(s.point);
    const int y = g.CentreY(s.point);
    if (s.branchSign) {
        Text(p, x - 5, y - 10, ToQString("・"), 16, false, HighlightColour(s.colour));
        return;
    }
    if (s.number <= 0) return;
    const TextPlacement t = MoveNumberPlacement(g.boardSize, s.number, s.colour);
    Text(p, x + t.dx, y + t.dy, Number(s.number), t.size, false,
         s.highlighted ? HighlightColour(s.colour) : NumberColour(s.colour));
}

void BoardPainter::DrawMark(QPainter& p, int mark, PointCode point, const BoardGeometry& g) {
    const int colour = MarkColour(mark);
    const int kind = MarkKind(mark);
    const bool nine = g.boardSize == 9;
    int x = g.CentreX(point) - 6;
    int y = g.CentreY(point) - 7;
    if (colour == kEmpty) {
        x -= 1;
        if (g.boardSize == 13) {
            y -= 2;
            if (kind < 7) {
                x -= 2;
            } else {
                y -= 3;
                x -= 1;
            }
        }
        if (nine) y -= 1;
    }
    int size = (kind <= 6) ? 11 : 12;
    if (nine) {
        size = 20;
        y -= 5;
        x -= 6;
    }
    if (kind >= 7) {
        x += nine ? 2 : 1;
        if (nine) y -= 3;
        const bool onWhite = colour == kWhite;
        switch (kind) {
            case 7:
                if (nine) {
                    y += 2;
                    x -= 3;
                } else {
                    x -= 2;
                }
                break;
            case 9: y -= 1; break;
            case 10: x += 1; break;
            case 14: x += (nine && onWhite) ? 2 : 1; break;
            case 13:
            case 15:
                if (nine && onWhite) x += 1;
                break;
            default: break;
        }
    }
    if (kind == 2 || kind == 5) y -= 1;
    const QColor ink = colour == kEmpty ? kMarkOnEmpty : NumberColour(colour);
    Text(p, x, y, ToQString(MarkSymbol(kind)), size, colour == kEmpty, ink);
}

void BoardPainter::DrawBackground(QPainter& p, const BoardView& view) {
    const QImage& tile = view.toolPanelShown ? pictures_.bg1 : pictures_.bg2;
    if (tile.isNull()) {
        p.fillRect(0, 0, 573, 444, kWindowColour);
        return;
    }
    // The board covers the rest; only tiles that reach beyond it are drawn.
    for (int y = 0; y < 444; y += tile.height()) {
        for (int x = 0; x < 573; x += tile.width()) {
            if (x + tile.width() > 384 || y + tile.height() > 384) p.drawImage(x, y, tile);
        }
    }
}

void BoardPainter::DrawBoard(QPainter& p, const Engine& e, const BoardView& view) {
    const BoardGeometry& g = *e.geometry;
    p.drawImage(0, 0, image1_);
    const StonesOnBoard stones = StonesToDraw(e, view.markBranching);
    for (const DrawnStone& s : stones.background) DrawStone(p, g.CentreX(s.point), g.CentreY(s.point), s.colour);
    // The marks of the shown move's node take the place of the start position's on their points, and of
    // the number on a numbered stone: they are drawn last.
    PointGrid nodeMarks{};
    if (e.replayMode && e.currentIndex > e.baseIndex && e.currentIndex < e.moveLimit) {
        for (const auto& [point, kind] : NodeMarks(e, e.currentBranch, e.CurrentMoveSlot(), e.boardSize)) {
            nodeMarks[point] = MakeStone(std::max(0, e.board[point]), kind);
        }
    }
    for (int point = 22; point <= 418; ++point) {
        const int mark = e.markGrid[point];
        if (mark > 0 && nodeMarks[point] == 0 && e.IsOnBoard(point) && StoneColour(mark) == std::max(0, e.board[point])) {
            DrawMark(p, mark, point, g);
        }
    }
    for (const DrawnStone& s : stones.numbered) {
        DrawStone(p, g.CentreX(s.point), g.CentreY(s.point), s.colour);
        if (nodeMarks[s.point] == 0) DrawMoveNumber(p, s, g);
    }
    for (int point = 22; point <= 418; ++point) {
        if (nodeMarks[point] > 0 && e.IsOnBoard(point)) DrawMark(p, nodeMarks[point], point, g);
    }
}

void BoardPainter::DrawBar(QPainter& p, int y, const char* label, int labelX, bool on, bool enabled) {
    p.drawImage(404, y, on ? pictures_.baron : pictures_.bar);
    Text(p, labelX, y + 2, QLatin1String(label), 11, true, enabled ? QColor(Qt::white) : kDisabledLabel);
}

void BoardPainter::DrawToolColumn(QPainter& p, const Engine& e) {
    if (e.replayMode) {
        DrawBar(p, 0, "ADD", 413, false, true);
        DrawBar(p, 20, "DEL", 414, false, true);
        DrawBar(p, 40, "EditC", 409, false, true);
        DrawBar(p, 60, "Hint", 412, e.hintsShown, true);
        DrawBar(p, 80, "Swap", 411, false, true);
        p.drawImage(404, 112, pictures_.autoplay);
        Text(p, 441, 114, Number(e.autoplayInterval / 1000), 11, true, kCounterText);
        DrawBar(p, 152, "STOP", 409, false, true);
    }
    DrawBar(p, 285, "TextB", 408, false, false);
    DrawBar(p, 305, "Sgf", 409, false, false);
    p.setPen(QColor(20, 60, 48));
    p.drawLine(435, 306, 435, 323);
    Text(p, 440, 307, QStringLiteral("P"), 11, true, Qt::white);
    DrawBar(p, 325, e.replayMode ? "ReSet" : "CALL", 409, false, true);
    DrawBox(p, 404, 345, 452, 365, kMoveNumberBox, kBoxEdge);
    Text(p, MoveCountBoxX(e.currentIndex), 346, Number(e.currentIndex), 11, true, kCounterText);
    // The bar of the mode in force is lit.
    DrawBar(p, 378, "Show", 411, e.replayMode, true);
    DrawBar(p, 398, "Make", 411, !e.replayMode, true);
}

void BoardPainter::DrawInformationPanel(QPainter& p, const Engine& e) {
    p.drawImage(473, 16, pictures_.kuroBB);
    p.drawImage(473, 90, pictures_.siroBB);
    p.drawImage(442, 161, pictures_.kazuwaku);
    Text(p, MoveCountFrameX(e.currentIndex), 164, Number(e.currentIndex), 16, false, Qt::black);
}

void BoardPainter::DrawBottomStrip(QPainter& p, const Engine& e, const BoardView& view) {
    p.drawImage(0, 396, pictures_.hama);
    Text(p, PrisonerCountX(e.blackCaptured), 398, Number(e.blackCaptured), 11, true, Qt::white);
    Text(p, PrisonerCountX(e.whiteCaptured), 414, Number(e.whiteCaptured), 11, true, Qt::white);
    if (!e.replayMode) {
        DrawCreationStrip(p, e);
        return;
    }
    p.drawImage(230, 397, pictures_.showTool);
    DrawBox(p, 54, 397, 228, 419, kCommentStrip, kBoxEdge);
    if (e.PassSignShown()) p.drawImage(66, 424, pictures_.passSign);
    if (view.chatLogShown) DrawChatLogSign(p);
}

void BoardPainter::DrawChatLogSign(QPainter& p) {
    // Image7: a small plate that opens the net game log window.
    const QRect plate(101, 425, 100, 15);
    DrawBox(p, plate.left(), plate.top(), plate.right(), plate.bottom(), QColor(255, 250, 205), QColor(128, 96, 0));
    Text(p, 112, 425, ToQString("対局ログ"), 9, true, QColor(128, 64, 0));
}

void BoardPainter::DrawCreationStrip(QPainter& p, const Engine& e) {
    if (e.inputMode == 1) p.drawImage(212, 401, pictures_.makeBack);
    p.drawImage(280, 401, pictures_.tete);
    p.drawImage(307, 401, pictures_.init);
    p.setPen(kActiveModeFrame);
    p.setBrush(Qt::NoBrush);
    if (e.inputMode == 1) {
        p.drawRect(277, 398, 28, 26);
    } else {
        p.drawRect(304, 398, 28, 26);
    }
    if (e.firstColourOpen) {
        DrawBox(p, 353, 399, 377, 421, kFirstColourBox, kBoxEdge);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::black);
        p.setBrush(e.blackFirst ? Qt::black : Qt::white);
        p.drawEllipse(QRect(358, 403, 16, 16));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(Qt::NoBrush);
    }
}

void BoardPainter::DrawVariationBoxes(QPainter& p, const Engine& e) {
    p.setRenderHint(QPainter::Antialiasing);
    if (e.variationDepth > 0) {
        DrawBox(p, 126, 398, 158, 417, kBoxFill, kBoxEdge);
        // Down and to the left: back to the diagram.
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(148, 403, 137, 412);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygon({QPoint(134, 414), QPoint(134, 406), QPoint(142, 414)}));
    }
    if (e.variationDepth > 1) {
        DrawBox(p, 91, 398, 123, 417, kBoxFill, kBoxEdge);
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(107, 406, 107, 414);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygon({QPoint(107, 400), QPoint(101, 408), QPoint(113, 408)}));
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    if (e.diagramBranch > 0) {
        DrawBox(p, 57, 398, 88, 417, kBoxFill, kBoxEdge);
        Text(p, 65, 400, ToQString("◎"), 12, false, Qt::white);
    }
    if (!e.hintsShown && e.hintCount > 0) {
        DrawBox(p, 166, 398, 198, 417, kHintBoxFill, kBoxEdge);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0, 96, 64), 2));
        p.drawLine(172, 408, 188, 408);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 96, 64));
        p.drawPolygon(QPolygon({QPoint(193, 408), QPoint(186, 403), QPoint(186, 413)}));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(Qt::NoBrush);
        DrawBox(p, 201, 399, 220, 417, kHintBoxFill, kBoxEdge);
        Text(p, e.hintCount >= 10 ? 204 : 207, 401, Number(e.hintCount), 12, true, kCounterText);
    }
    if (e.passHint) {
        DrawBox(p, 170, 398, 219, 417, kBoxFill, kBoxEdge);
        Text(p, 176, 401, QStringLiteral("PASS"), 12, true, Qt::white);
    }
}

void BoardPainter::DrawHintLetters(QPainter& p, const Engine& e) {
    if (!e.hintsShown) return;
    const BoardGeometry& g = *e.geometry;
    for (const Engine::HintLetter& h : e.hintLetters) {
        if (!e.IsOnBoard(h.point)) continue;
        const TextPlacement t = HintLetterPlacement(g.boardSize, h.nextMove);
        Text(p, g.CentreX(h.point) + t.dx, g.CentreY(h.point) + t.dy, QString(QLatin1Char(h.letter)), t.size,
             true, kHintLetter);
    }
}

void BoardPainter::DrawCoordinateBox(QPainter& p, const Engine& e) {
    const BoardGeometry& g = *e.geometry;
    const PointCode point = HoverToPoint(g, e.hover);
    if (!e.IsOnBoard(point)) return;
    // The box keeps to the board: it goes left of or above the hover point near the right or bottom edge.
    const int edge = g.boardSize == 19 ? 330 : (g.boardSize == 13 ? 340 : 350);
    const int x = e.hover.x > edge ? e.hover.x - 44 : e.hover.x + 7;
    const int y = e.hover.y > edge ? e.hover.y - 23 : e.hover.y + 7;
    p.fillRect(x, y, 37, 16, QColor(255, 255, 224));
    p.setPen(Qt::black);
    p.drawRect(x, y, 36, 15);
    const std::string label = CoordinateLabel(g.boardSize, e.settings.coordinates, PointCol(point), PointRow(point));
    Text(p, x + 3, y + 1, QLatin1String(label.c_str()), 10, false, Qt::black);
}

void BoardPainter::Redraw(QImage& myg, const Engine& e, const BoardView& view) {
    PrepareSize(*e.geometry);
    QPainter p(&myg);
    DrawBackground(p, view);
    DrawBoard(p, e, view);
    if (view.toolPanelShown) {
        DrawToolColumn(p, e);
    } else {
        DrawInformationPanel(p, e);
    }
    DrawBottomStrip(p, e, view);
    if (e.replayMode) {
        if (!e.commentDialogOpen) DrawVariationBoxes(p, e);
        DrawHintLetters(p, e);
    }
    if (e.settings.showXY && !view.readoutCleared) DrawCoordinateBox(p, e);
}

}  // namespace quorvel
