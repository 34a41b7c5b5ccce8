// TForm5, one modal dialog in three roles, each with its own panel: the comment of the current move
// (Memo1), the program settings (Panel3) and the game information of the record (Panel4). The role is
// chosen at each show from the board's comment-entry flag and gameInfoMode; OK applies the shown panel,
// Cancel leaves everything as it was.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <optional>
#include <string>

#include "app/dialog_panels.h"

namespace quorvel {

class TForm5 : public QDialog {
    Q_OBJECT

public:
    // The owners hold what the panels show and set; the dialog shows at the left edge of `boardWindow`,
    // 25 pixels above its top.
    TForm5(const SettingsOwners& owners, QWidget* boardWindow, QWidget* parent = nullptr);

    // The comment role: the board's comment-entry flag is raised while the dialog shows, and Memo1 starts
    // with the text window's text (the comment of the position). The text on OK; nothing on Cancel.
    std::optional<std::string> ShowForComment();
    // KSM. True when confirmed; the settings panel is then applied, otherwise filled again from the
    // settings in force.
    bool ShowForSettings();
    // KVF and step 4 of a new record. True when confirmed and the game information applied.
    bool ShowForGameInfo();

    bool gameInfoMode = false;

    QPlainTextEdit* Memo1 = nullptr;
    QWidget* Panel3 = nullptr;  // settings
    QWidget* Panel4 = nullptr;  // game information
    QPushButton* Panel1 = nullptr;  // "O K"
    QPushButton* Panel2 = nullptr;  // "Cancel"

    QCheckBox* AllShow = nullptr;
    QCheckBox* SameMark = nullptr;
    QCheckBox* AsOption = nullptr;
    QCheckBox* TextAddPre = nullptr;
    QCheckBox* TextUseColor = nullptr;
    QCheckBox* AdvanceMoves = nullptr;
    QCheckBox* NoZarnNoHint = nullptr;
    QCheckBox* EndingAsk = nullptr;
    QCheckBox* TextUseNew = nullptr;
    QCheckBox* MacMouse = nullptr;
    QLineEdit* Edit1 = nullptr;  // CodeBase
    QLineEdit* Edit2 = nullptr;  // BgColor
    QLineEdit* Edit3 = nullptr;  // Width
    QLineEdit* Edit4 = nullptr;  // Height
    QLineEdit* Edit5 = nullptr;  // text-board moves
    QComboBox* GoBanXY = nullptr;
    QComboBox* SendPath = nullptr;

    QLineEdit* Edit6 = nullptr;   // 黒名
    QLineEdit* Edit7 = nullptr;   // 白名
    QLineEdit* Edit8 = nullptr;   // 日付
    QLineEdit* Edit9 = nullptr;   // 置石
    QLineEdit* Edit10 = nullptr;  // コミ
    QLineEdit* Edit11 = nullptr;  // 対局名
    QLineEdit* Edit12 = nullptr;  // 対局地
    QLineEdit* Edit13 = nullptr;  // Black's rank
    QLineEdit* Edit14 = nullptr;  // White's rank
    QLineEdit* Edit15 = nullptr;  // スタート番号
    QRadioButton* RadioButton[5] = {};  // 19, 13, 9, 7 and 6 lines

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildSettingsPanel();
    void BuildGameInfoPanel();
    void FillSettings();
    // The send-URL box: the list's entries, and `text` in its field.
    void FillSendPaths(const QString& text);
    SettingsPanelFields SettingsInControls() const;
    void FillGameInfo();
    GameInfoFields GameInfoInControls() const;

    SettingsOwners owners_;
    QWidget* boardWindow_;
};

}  // namespace quorvel
