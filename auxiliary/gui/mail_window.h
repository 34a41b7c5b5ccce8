// TForm9, the mail window: a short message sent with the current record, attached or in the text.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

#include "auxiliary/mail_sender.h"

namespace quorvel {

class TForm9 : public QDialog {
    Q_OBJECT

public:
    TForm9(QWidget* parent, Engine& board, UserDialogs& dialogs, EventPort& events, MailSettings& settings);

    QComboBox* ComboBox1 = nullptr;  // recipient, with the history
    QLineEdit* Edit1 = nullptr;      // sender
    QLineEdit* Edit2 = nullptr;      // subject
    QPlainTextEdit* Memo1 = nullptr;
    QLineEdit* Edit3 = nullptr;      // SMTP server
    QLineEdit* Edit4 = nullptr;      // user ID
    QCheckBox* CheckBox1 = nullptr;  // attach the record
    QPushButton* Button1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;

    MailSender& sender() { return sender_; }

    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FillHistory();
    void ShowState();

    MailSettings& settings_;
    MailSender sender_;
    bool closing_ = false;
};

}  // namespace quorvel
