#include "app/gui/settings_dialog.h"

#include <QButtonGroup>
#include <QLabel>
#include <QShowEvent>
#include <QTextCursor>

#include "platform/gui/qt_text.h"

namespace quorvel {
namespace {

constexpr int kWidth = 527;
constexpr int kClientHeight = 572;
constexpr int kBoardSizes[5] = {19, 13, 9, 7, 6};
const char* const kCoordinateStyles[] = {"A-1", "A-19", "1-1", "A(I)-1", "A(I)-19"};

QLabel* Label(QWidget* parent, const char* text, int x, int y, int w = 90) {
    auto* label = new QLabel(ToQString(text), parent);
    label->setGeometry(x, y, w, 20);
    return label;
}

QLineEdit* Edit(QWidget* parent, int x, int y, int w) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(x, y, w, 22);
    return edit;
}

QString Q(const std::string& text) { return ToQString(text); }
std::string S(const QString& text) { return FromQString(text); }

}  // namespace

TForm5::TForm5(const SettingsOwners& owners, QWidget* boardWindow, QWidget* parent)
    : QDialog(parent), owners_(owners), boardWindow_(boardWindow) {
    setObjectName(QStringLiteral("Form5"));
    setFixedSize(kWidth, kClientHeight);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(0, 0, kWidth, kClientHeight - 80);
    Panel3 = new QWidget(this);
    Panel3->setGeometry(15, 5, 400, 492);
    Panel4 = new QWidget(this);
    Panel4->setGeometry(15, 5, 400, 490);
    BuildSettingsPanel();
    BuildGameInfoPanel();

    Panel1 = new QPushButton(QStringLiteral("O K"), this);
    Panel1->setGeometry(kWidth - 200, kClientHeight - 60, 80, 32);
    Panel2 = new QPushButton(QStringLiteral("Cancel"), this);
    Panel2->setGeometry(kWidth - 105, kClientHeight - 60, 80, 32);
    // Enter in a field is text, not the OK button: a comment has several lines.
    Panel1->setAutoDefault(false);
    Panel2->setAutoDefault(false);
    connect(Panel1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Panel2, &QPushButton::clicked, this, &QDialog::reject);
    FillSettings();
}

void TForm5::BuildSettingsPanel() {
    const auto check = [this](const char* caption, int row) {
        auto* box = new QCheckBox(ToQString(caption), Panel3);
        box->setGeometry(5, 5 + row * 24, 390, 22);
        return box;
    };
    AllShow = check("変化図の最初に全枝手順の表示 (AllShow)", 0);
    SameMark = check("分岐変化文字を同じ色でランダムに表示 (Salala)", 1);
    AsOption = check("局面データのASプロパティ付き出力 (AsOption)", 2);
    TextAddPre = check("テキスト碁盤のPREタグ付き出力 (TextUsePre)", 3);
    TextUseColor = check("テキスト碁盤の色分け出力 (TextUseColor)", 4);
    AdvanceMoves = check("最初に全手順を表示 (AdvanceMoves)", 5);
    NoZarnNoHint = check("変化図なければヒントなし (NoZarnNoHint)", 6);
    EndingAsk = check("終了時に保存確認", 7);
    TextUseNew = check("テキスト手順番号を1から始める(TextUseNew)", 8);
    MacMouse = check("１ボタンマウス", 9);

    Label(Panel3, "HTMLの設定", 5, 256);
    Label(Panel3, "CodeBase", 20, 282);
    Edit1 = Edit(Panel3, 100, 280, 200);
    Label(Panel3, "BgColor", 20, 308);
    Edit2 = Edit(Panel3, 100, 306, 80);
    Label(Panel3, "Width", 20, 334);
    Edit3 = Edit(Panel3, 100, 332, 60);
    Label(Panel3, "Height", 180, 334, 50);
    Edit4 = Edit(Panel3, 235, 332, 60);
    Label(Panel3, "テキスト碁盤の手数 ", 5, 370, 130);
    Edit5 = Edit(Panel3, 140, 368, 50);
    Label(Panel3, "碁盤座標", 5, 404);
    GoBanXY = new QComboBox(Panel3);
    GoBanXY->setEditable(true);
    GoBanXY->setGeometry(100, 402, 100, 22);
    for (const char* style : kCoordinateStyles) GoBanXY->addItem(QString::fromLatin1(style));
    Label(Panel3, "送信URL", 5, 440);
    SendPath = new QComboBox(Panel3);
    SendPath->setEditable(true);
    SendPath->setGeometry(100, 438, 295, 22);
}

void TForm5::BuildGameInfoPanel() {
    const auto field = [this](const char* label, int x, int y, int labelWidth, int w) {
        Label(Panel4, label, x, y + 2, labelWidth);
        return Edit(Panel4, x + labelWidth, y, w);
    };
    Edit6 = field("黒名", 5, 10, 60, 170);
    Edit13 = field("段級位", 250, 10, 55, 80);
    Edit7 = field("白名", 5, 45, 60, 170);
    Edit14 = field("段級位", 250, 45, 55, 80);
    Edit8 = field("日付", 5, 95, 60, 170);
    Edit11 = field("対局名", 5, 130, 60, 320);
    Edit9 = field("置石", 5, 165, 60, 60);
    Edit12 = field("対局地", 5, 200, 60, 320);
    Edit10 = field("コミ", 5, 235, 60, 60);
    Edit15 = field("スタート番号", 5, 285, 100, 60);
    auto* Panel5 = new QWidget(Panel4);
    Panel5->setGeometry(5, 330, 390, 40);
    auto* group = new QButtonGroup(this);
    const char* const captions[5] = {"19路盤", "13路盤", " 9 路盤", "7路盤", "6路盤"};
    for (int k = 0; k < 5; ++k) {
        RadioButton[k] = new QRadioButton(ToQString(captions[k]), Panel5);
        RadioButton[k]->setGeometry(5 + k * 76, 8, 74, 22);
        group->addButton(RadioButton[k]);
    }
}

void TForm5::FillSettings() {
    const SettingsPanelFields f = FillSettingsPanel(owners_);
    AllShow->setChecked(f.allShow);
    SameMark->setChecked(f.sameMark);
    AsOption->setChecked(f.asOption);
    TextAddPre->setChecked(f.textAddPre);
    TextUseColor->setChecked(f.textUseColor);
    AdvanceMoves->setChecked(f.advanceMoves);
    NoZarnNoHint->setChecked(f.noZarnNoHint);
    EndingAsk->setChecked(f.endingAsk);
    TextUseNew->setChecked(f.textUseNew);
    MacMouse->setChecked(f.macMouse);
    GoBanXY->setEditText(Q(f.goBanXY));
    Edit1->setText(Q(f.codeBase));
    Edit2->setText(Q(f.bgColor));
    Edit3->setText(Q(f.width));
    Edit4->setText(Q(f.height));
    Edit5->setText(Q(f.textMoves));
    FillSendPaths(Q(f.sendPath));
}

void TForm5::FillSendPaths(const QString& text) {
    SendPath->clear();
    const FiveEntryList& list = owners_.shell.sendPaths;
    for (int k = 1; k <= list.count; ++k) SendPath->addItem(Q(list.Slot(k)));
    SendPath->setEditText(text);
}

SettingsPanelFields TForm5::SettingsInControls() const {
    SettingsPanelFields f;
    f.allShow = AllShow->isChecked();
    f.sameMark = SameMark->isChecked();
    f.asOption = AsOption->isChecked();
    f.textAddPre = TextAddPre->isChecked();
    f.textUseColor = TextUseColor->isChecked();
    f.advanceMoves = AdvanceMoves->isChecked();
    f.noZarnNoHint = NoZarnNoHint->isChecked();
    f.endingAsk = EndingAsk->isChecked();
    f.textUseNew = TextUseNew->isChecked();
    f.macMouse = MacMouse->isChecked();
    f.codeBase = S(Edit1->text());
    f.bgColor = S(Edit2->text());
    f.width = S(Edit3->text());
    f.height = S(Edit4->text());
    f.textMoves = S(Edit5->text());
    f.goBanXY = S(GoBanXY->currentText());
    f.sendPath = S(SendPath->currentText());
    return f;
}

void TForm5::FillGameInfo() {
    const GameInfoFields f = quorvel::FillGameInfo(owners_.board);
    const std::pair<QLineEdit*, const std::string*> fields[] = {
        {Edit6, &f.black},  {Edit13, &f.blackRank}, {Edit7, &f.white},  {Edit14, &f.whiteRank},
        {Edit8, &f.date},   {Edit11, &f.gameName},  {Edit9, &f.handicap}, {Edit12, &f.place},
        {Edit10, &f.komi},  {Edit15, &f.startNumber},
    };
    for (const auto& [edit, text] : fields) edit->setText(Q(*text));
    for (int k = 0; k < 5; ++k) RadioButton[k]->setChecked(kBoardSizes[k] == f.boardSize);
}

GameInfoFields TForm5::GameInfoInControls() const {
    GameInfoFields f;
    f.black = S(Edit6->text());
    f.blackRank = S(Edit13->text());
    f.white = S(Edit7->text());
    f.whiteRank = S(Edit14->text());
    f.date = S(Edit8->text());
    f.gameName = S(Edit11->text());
    f.handicap = S(Edit9->text());
    f.place = S(Edit12->text());
    f.komi = S(Edit10->text());
    f.startNumber = S(Edit15->text());
    for (int k = 0; k < 5; ++k) {
        if (RadioButton[k]->isChecked()) f.boardSize = kBoardSizes[k];
    }
    return f;
}

void TForm5::showEvent(QShowEvent* event) {
    if (boardWindow_) move(boardWindow_->x(), boardWindow_->y() - 25);
    const bool comment = owners_.board.commentDialogOpen;
    Memo1->setVisible(comment);
    Panel3->setVisible(!comment && !gameInfoMode);
    Panel4->setVisible(!comment && gameInfoMode);
    if (comment) {
        setWindowTitle(ToQString(" Quorvel : コメント入力"));
        Memo1->setPlainText(LinesToQString(owners_.board.messages().Text()));
        Memo1->setFocus();
        Memo1->moveCursor(QTextCursor::End);
    } else if (gameInfoMode) {
        setWindowTitle(ToQString(" Quorvel : 棋譜情報"));
        for (QRadioButton* button : RadioButton) button->setEnabled(!owners_.board.replayMode);
        FillGameInfo();
        if (owners_.board.firstMoveNumber == 1) Edit15->setFocus();
    } else {
        setWindowTitle(ToQString(" Quorvel : 各種設定"));
    }
    QDialog::showEvent(event);
}

std::optional<std::string> TForm5::ShowForComment() {
    owners_.board.commentDialogOpen = true;
    const bool confirmed = exec() == QDialog::Accepted;
    owners_.board.commentDialogOpen = false;
    if (!confirmed) return std::nullopt;
    return LinesFromQString(Memo1->toPlainText());
}

bool TForm5::ShowForSettings() {
    if (exec() != QDialog::Accepted) {
        FillSettings();
        return false;
    }
    if (ApplySettingsPanel(owners_, SettingsInControls())) FillSendPaths(SendPath->currentText());
    return true;
}

bool TForm5::ShowForGameInfo() {
    gameInfoMode = true;
    const bool confirmed = exec() == QDialog::Accepted;
    if (confirmed) ApplyGameInfo(owners_.board, GameInfoInControls());
    gameInfoMode = false;
    return confirmed;
}

}  // namespace quorvel
