// The board and the record outside the program: the board picture on the clipboard as a bitmap (KVB) and
// as a vector picture (KVM: SVG, with a PNG of it in the same clipboard data), and printed pages painted
// onto a printer in page units.
#pragma once

#include <QByteArray>
#include <QImage>

#include "core/engine.h"
#include "formats/print_sheet.h"

class QMimeData;
class QPainter;
class QPrinter;

namespace quorvel {

class BoardPainter;

// The 399 x 395 board picture with the stones of the line's diagram, their numbers and the marks of what
// lies on their points. `painter` is prepared for the record's board size.
QImage BoardBitmap(BoardPainter& painter, const Engine& e);

// The vector picture, 20 units a line: its side (385 for 19 lines, 265 for 13, 185 for 9, 145 for 7, 125
// for 6), as SVG and as a picture of the same size.
int VectorPictureSide(int boardSize);
QByteArray BoardSvg(const Engine& e);
QImage BoardVectorImage(const Engine& e);
// Both in one clipboard datum: "image/svg+xml" beside the PNG.
QMimeData* BoardVectorMime(const Engine& e);

// One sheet in page units on a painter already scaled to them.
void PaintSheet(QPainter& p, const Sheet& sheet);
// Every sheet of the job on its own page of the printer, laid out at 300 units to the inch.
void PrintJobTo(QPrinter& printer, const PrintJob& job);

}  // namespace quorvel
