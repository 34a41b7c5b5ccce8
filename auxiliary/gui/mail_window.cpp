#include "auxiliary/gui/mail_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/gui/qt_text.h"

namespace quorvel {

namespace {

constexpr int kCloseAfterSentMs = 1000;  // the status "sent" stays readable before the window goes

std::string Field(const QLineEdit* edit) { return FromQString(edit->text()); }

}  // namespace

TForm9::TForm9(QWidget* parent, Engine& board, UserDialogs& dialogs, EventPort& events, MailSettings& settings)
    : QDialog(parent), settings_(settings), sender_(board, dialogs, events, settings) {
    setWindowTitle(ToQString(" メール送信　[棋譜付き]"));
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    ComboBox1 = new QComboBox(this);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    Edit1 = new QLineEdit(this);
    Edit2 = new QLineEdit(this);
    fields->addRow(ToQString("宛先："), ComboBox1);
    fields->addRow(ToQString("送信元："), Edit1);
    fields->addRow(ToQString("件名："), Edit2);
    layout->addLayout(fields);
    Memo1 = new QPlainTextEdit(this);
    layout->addWidget(Memo1);
    auto* server = new QFormLayout;
    Edit3 = new QLineEdit(this);
    Edit4 = new QLineEdit(this);
    server->addRow(ToQString("SMTPサーバー"), Edit3);
    server->addRow(ToQString("ユーザーID"), Edit4);
    layout->addLayout(server);
    CheckBox1 = new QCheckBox(ToQString("棋譜付き"), this);
    Button1 = new QPushButton(ToQString("送 信"), this);
    auto* row = new QHBoxLayout;
    row->addWidget(CheckBox1);
    row->addStretch(1);
    row->addWidget(Button1);
    layout->addLayout(row);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    layout->addWidget(StatusBar1);
    resize(420, 420);

    CheckBox1->setChecked(settings.attached);
    FillHistory();
    ComboBox1->setCurrentText(ToQString(settings.mailTo));
    Edit1->setText(ToQString(settings.mailFrom));
    Edit3->setText(ToQString(settings.mailServer));
    Edit4->setText(ToQString(settings.userID));

    connect(Button1, &QPushButton::clicked, this, &TForm9::Button1Click);
    sender_.changed = [this] { ShowState(); };
    sender_.askText = [this](const std::string& title, const std::string& prompt) -> std::optional<std::string> {
        bool ok = false;
        const QString text = QInputDialog::getText(this, ToQString(title), ToQString(prompt), QLineEdit::Normal,
                                                   QString(), &ok);
        if (!ok) return std::nullopt;
        return FromQString(text);
    };
}

void TForm9::FillHistory() {
    const QString typed = ComboBox1->currentText();
    ComboBox1->clear();
    for (int k = 1; k <= settings_.recipients.count; ++k) ComboBox1->addItem(ToQString(settings_.recipients.Slot(k)));
    ComboBox1->setCurrentText(typed);
}

void TForm9::Button1Click() {
    MailForm form;
    form.to = FromQString(ComboBox1->currentText());
    form.from = Field(Edit1);
    form.subject = Field(Edit2);
    // The memo's lines end in CR LF, as every text of the program.
    form.body = FromQString(Memo1->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
    form.server = Field(Edit3);
    form.userId = Field(Edit4);
    form.attach = CheckBox1->isChecked();
    closing_ = false;
    sender_.Send(form);
}

void TForm9::ShowState() {
    const MailWindowState& state = sender_.state;
    StatusBar1->showMessage(ToQString(state.status));
    Button1->setEnabled(state.sendEnabled);
    if (ComboBox1->count() != settings_.recipients.count) FillHistory();
    if (state.sent && !closing_) {
        closing_ = true;
        FillHistory();
        QTimer::singleShot(kCloseAfterSentMs, this, [this] {
            if (isVisible()) accept();
        });
    }
}

void TForm9::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    Edit2->setFocus();
}

void TForm9::hideEvent(QHideEvent* event) {
    const std::string to = FromQString(ComboBox1->currentText());
    if (!to.empty()) {
        settings_.mailTo = to;
        if (settings_.recipients.count == 0) {
            settings_.recipients.entries[0] = to;
            settings_.recipients.count = 1;
            FillHistory();
        }
    }
    if (!Edit1->text().isEmpty()) settings_.mailFrom = Field(Edit1);
    if (!Edit3->text().isEmpty()) settings_.mailServer = Field(Edit3);
    if (!Edit4->text().isEmpty()) settings_.userID = Field(Edit4);
    settings_.attached = CheckBox1->isChecked();
    sender_.Disconnect();
    QDialog::hideEvent(event);
}

}  // namespace quorvel
