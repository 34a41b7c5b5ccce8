// Everything the board window shows, composed from the engine state onto one off-screen picture.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <map>

#include "core/gui/board_pictures.h"
#include "core/coordinate_labels.h"
#include "core/engine.h"
#include "core/move_numbers.h"

class QPainter;

namespace quorvel {

// What the window shows beside the engine state.
struct BoardView {
    bool toolPanelShown = true;  // the tool column; otherwise the information panel
    bool markBranching = false;  // moves after which a branch starts are highlighted
    bool readoutCleared = false; // the pointer is away: no coordinate read-out until it comes back
};

class BoardPainter {
public:
    explicit BoardPainter(const BoardPictures& pictures) : pictures_(pictures) {}

    // The full redraw: background, board with stones, numbers and marks, side panel, bottom strip,
    // variation boxes and hint letters, and the coordinate box.
    void Redraw(QImage& myg, const Engine& e, const BoardView& view);

    // Loads the board picture (with its grid) and the stones of a size; another window's board shares them.
    void PrepareSize(const BoardGeometry& g);
    // The board picture of the prepared size with its grid lines, Image1.
    const QImage& BoardImage() const { return image1_; }
    // Grid lines and star points of a board size onto a board picture.
    static void DrawGrid(QImage& boardPicture, const BoardGeometry& g);
    // A stone whose mask decides which pixels it replaces, centred on the pixel (x, y).
    void DrawStone(QPainter& p, int x, int y, int colour);
    void DrawMoveNumber(QPainter& p, const DrawnStone& s, const BoardGeometry& g);
    // A mark (MakeMark) on its point.
    void DrawMark(QPainter& p, int mark, PointCode point, const BoardGeometry& g);
    // A rectangle (bounds inclusive) in `fill` with white left and top edges and `edge` on the right and
    // bottom edges.
    static void DrawBox(QPainter& p, int left, int top, int right, int bottom, const QColor& fill,
                        const QColor& edge);

private:
    void DrawBackground(QPainter& p, const BoardView& view);
    void DrawBoard(QPainter& p, const Engine& e, const BoardView& view);
    void DrawToolColumn(QPainter& p, const Engine& e);
    void DrawInformationPanel(QPainter& p, const Engine& e);
    void DrawBottomStrip(QPainter& p, const Engine& e);
    void DrawCreationStrip(QPainter& p, const Engine& e);
    void DrawVariationBoxes(QPainter& p, const Engine& e);
    void DrawHintLetters(QPainter& p, const Engine& e);
    void DrawCoordinateBox(QPainter& p, const Engine& e);
    void DrawBar(QPainter& p, int y, const char* label, int labelX, bool on, bool enabled);
    // Text with its top-left corner at (x, y), transparent, in "ＭＳ Ｐ明朝".
    void Text(QPainter& p, int x, int y, const QString& text, int size, bool bold, const QColor& colour);
    const QFont& Font(int size, bool bold);

    const BoardPictures& pictures_;
    int preparedSize_ = 0;
    QImage image1_;  // the board picture with its grid
    StoneSheet stones_;
    std::map<int, QFont> fonts_;
    std::map<int, int> ascents_;
};

}  // namespace quorvel
