#include "app/gui/about_window.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QUrl>
#include <QVBoxLayout>

#include "core/program_files.h"
#include "platform/gui/qt_ports.h"
#include "platform/gui/qt_text.h"

namespace quorvel {
namespace {

QLineEdit* LinkField(QWidget* parent, const char* address) {
    auto* field = new QLineEdit(ToQString(address), parent);
    field->setReadOnly(true);
    field->setCursor(Qt::PointingHandCursor);
    field->setMinimumWidth(240);
    return field;
}

}  // namespace

TForm7::TForm7(const QString& programDir, QWidget* parent) : QDialog(parent) {
    setWindowTitle(ToQString(" Quorvel ： バージョン情報"));
    // A dialog with its system menu only: no help, minimise or maximise buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    openAddress = [](const QString& address) { QDesktopServices::openUrl(QUrl(address)); };

    Image1 = new QLabel(this);
    const QImage picture =
        ReadImageFile(PathToQString(ProgramFilePath(PathFromQString(programDir), "bmp\\About.bmp")), "BMP");
    if (!picture.isNull()) Image1->setPixmap(QPixmap::fromImage(picture));
    Image1->setFixedSize(64, 64);
    Label1 = new QLabel(QStringLiteral("Quorvel"), this);
    QFont big = Label1->font();
    big.setPixelSize(22);
    big.setBold(true);
    Label1->setFont(big);
    Label2 = new QLabel(ToQString("Version  1.5  (020512)"), this);
    Label3 = new QLabel(ToQString("最新版入手先"), this);
    Edit1 = LinkField(this, "https://quorvel.example.org/");
    Edit2 = LinkField(this, "https://quorvel.example.org/download/");
    Label4 = new QLabel(ToQString("囲碁の棋譜 (SGF) の閲覧と編集"), this);
    Label5 = new QLabel(ToQString("リンクをダブルクリックするとブラウザで開きます"), this);
    Button1 = new QPushButton(ToQString("O K"), this);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    for (QLineEdit* field : {Edit1, Edit2}) field->installEventFilter(this);

    auto* head = new QHBoxLayout;
    head->addWidget(Image1);
    auto* names = new QVBoxLayout;
    names->addWidget(Label1);
    names->addWidget(Label2);
    names->addWidget(Label4);
    head->addLayout(names, 1);
    auto* links = new QGridLayout;
    links->addWidget(Label3, 0, 0);
    links->addWidget(Edit1, 0, 1);
    links->addWidget(Edit2, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addLayout(links);
    layout->addWidget(Label5);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TForm7::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && (watched == Edit1 || watched == Edit2)) {
        auto* field = static_cast<QLineEdit*>(watched);
        const QString address = field->text();
        field->clearFocus();
        accept();
        openAddress(address);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quorvel
