#include "app/gui/web_address_window.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/gui/qt_text.h"

namespace quorvel {

TForm11::TForm11(QWidget* mainWindow) : QDialog(mainWindow) {
    setWindowTitle(ToQString(" Web棋譜の読み込み"));
    setWindowIcon(mainWindow->windowIcon());
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("URL"), this));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setEditable(true);
    ComboBox1->setFixedWidth(414);
    // Picking an address from the list must not add the typed text to it.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    row->addWidget(ComboBox1);
    layout->addLayout(row);
    BitBtn1 = new QPushButton(ToQString("読み込む"), this);
    BitBtn1->setDefault(true);
    layout->addWidget(BitBtn1, 0, Qt::AlignRight);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void TForm11::Fill(const FiveEntryList& list) {
    ComboBox1->clear();
    for (int k = 1; k <= list.count; ++k) ComboBox1->addItem(ToQString(list.Slot(k)));
    ComboBox1->setCurrentText(list.count > 0 ? ToQString(list.Slot(1)) : QString());
}

std::string TForm11::Url() const { return FromQString(ComboBox1->currentText()); }

void TForm11::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

}  // namespace quorvel
