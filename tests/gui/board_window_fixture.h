// The board window on the offscreen platform with in-memory message area and message boxes, and helpers
// that build records through the engine and click the window's pixel areas.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QTest>
#include <string>
#include <vector>

#include "core/gui/board_window.h"
#include "formats/sgf_port.h"
#include "support/record_builder.h"

namespace quorvel::test {

class BoardWindowTest : public ::testing::Test {
protected:
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    TForm2 w{messages, dialogs, QStringLiteral(QUORVEL_PROGRAM_DIR)};
    Engine& e = w.engine();
    SgfRecordFormats formats;

    BoardWindowTest() { e.SetFormats(formats); }

    PointCode P(const char* letters) const { return PointOf(e, letters); }

    // A record whose main line is `moves` ("--" a pass), shown at its start in replay mode.
    void MakeMainLine(const std::string& moves, int size = 19) {
        if (size != e.boardSize) e.ChangeBoardSize(size);
        BuildMainLine(e, moves);
        w.Redraw();
    }

    int AddBranch(int origin, int firstColour, const std::string& moves, int depth = 1) {
        return BuildBranch(e, origin, firstColour, moves, depth);
    }

    // Recounts the hints after branches were added to a shown record.
    void Refresh() {
        e.RecountHints();
        w.Redraw();
    }

    void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(&w, button, modifiers, QPoint(x, y));
    }
    void ClickPoint(const char* letters, Qt::MouseButton button = Qt::LeftButton,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const PointCode p = P(letters);
        Click(e.geometry->CentreX(p), e.geometry->CentreY(p), button, modifiers);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&w, key, modifiers);
    }

    // What the window shows, as it paints itself.
    QImage Shown() { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QColor Centre(const QImage& img, const char* letters) const {
        const PointCode p = P(letters);
        return img.pixelColor(e.geometry->CentreX(p), e.geometry->CentreY(p));
    }
};

// Navigation strip buttons, by their order in the strip.
inline QPoint NavigationButton(int i) { return QPoint(243 + 28 * i, 407); }

}  // namespace quorvel::test
