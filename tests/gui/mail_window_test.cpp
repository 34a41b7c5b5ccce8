// The mail window on the real widgets, sending to an aiosmtpd server on 127.0.0.1.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/file_commands.h"
#include "auxiliary/gui/mail_window.h"
#include "formats/sgf_reader.h"
#include "platform/gui/qt_net_ports.h"
#include "platform/gui/qt_text.h"
#include "support/local_server.h"
#include "support/received_mail.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using test::LocalServer;
using test::ReadReceivedMail;
using test::ReceivedMail;
using test::TempFolder;

class MailWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GT(server.port(), 0);
        settings.mailFrom = "me@example.org";
        settings.mailServer = server.Host();
        settings.userID = "player";
        settings.mailTo = "friend@example.org";
        settings.recipients.entries = {"old@example.org", "", "", "", ""};
        settings.recipients.count = 1;
        LoadRecordText(board, "(;GM[1]SZ[19];B[pd];W[dp])");
        board.StepForward();
        window = std::make_unique<TForm9>(nullptr, board, dialogs, events, settings);
        window->show();
    }
    void WaitForSend() {
        for (int i = 0; i < 300 && window->sender().Sending(); ++i) QTest::qWait(50);
        ASSERT_FALSE(window->sender().Sending());
        QTest::qWait(20);
    }

    TempFolder received{"mail-window"};
    LocalServer server{"smtp_test_server.py", {received.path().string()}};
    MemoryMessageArea textWindow;
    MemoryDialogs dialogs;
    Engine board{textWindow, dialogs};
    QObject context;
    QtEventPort events{&context};
    MailSettings settings;
    std::unique_ptr<TForm9> window;
};

TEST_F(MailWindowTest, StartsWithTheSavedFields) {
    EXPECT_EQ(window->windowTitle(), ToQString(" メール送信　[棋譜付き]"));
    EXPECT_EQ(window->ComboBox1->currentText(), QStringLiteral("friend@example.org"));
    EXPECT_EQ(window->ComboBox1->count(), 1);
    EXPECT_EQ(window->ComboBox1->itemText(0), QStringLiteral("old@example.org"));
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("me@example.org"));
    EXPECT_EQ(window->Edit3->text(), ToQString(server.Host()));
    EXPECT_EQ(window->Edit4->text(), QStringLiteral("player"));
    EXPECT_TRUE(window->Edit2->text().isEmpty());
    EXPECT_TRUE(window->CheckBox1->isChecked());
    EXPECT_EQ(window->Button1->text(), ToQString("送 信"));
}

TEST_F(MailWindowTest, TheRecordIsAttachedFromMemoryAndTheWindowCloses) {
    const fs::path here = fs::current_path();
    textWindow.SetText("(;GM[1]SZ[19]C[\x93\xfa\x96\x7b]\r\n;B[pd])");
    QTest::keyClicks(window->Memo1, QStringLiteral("line 1"));
    QTest::keyClick(window->Memo1, Qt::Key_Return);
    QTest::keyClicks(window->Memo1, QStringLiteral("line 2"));
    QTest::mouseClick(window->Button1, Qt::LeftButton);
    EXPECT_FALSE(window->Button1->isEnabled());
    WaitForSend();
    EXPECT_EQ(window->StatusBar1->currentMessage(), ToQString("メールを送信しました"));
    const std::vector<ReceivedMail> mail = ReadReceivedMail(received.path());
    ASSERT_EQ(mail.size(), 2u);
    EXPECT_EQ(mail[0].One("attachment_name"), "Zarn.sgf");
    EXPECT_EQ(mail[0].One("attachment"), "(;GM[1]SZ[19]C[\x93\xfa\x96\x7b]\r\n;B[pd])\r\n");
    EXPECT_EQ(mail[1].One("subject"), u8"なし");
    EXPECT_EQ(mail[1].One("text"), "line 1\r\nline 2\r\n");
    EXPECT_FALSE(fs::exists(here / "Zarn.sgf"));
    // The recipient joins the history and the list; the window closes after a moment.
    EXPECT_EQ(settings.recipients.Slot(1), "friend@example.org");
    EXPECT_EQ(window->ComboBox1->itemText(0), QStringLiteral("friend@example.org"));
    for (int i = 0; i < 60 && window->isVisible(); ++i) QTest::qWait(50);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
}

TEST_F(MailWindowTest, ARefusedRecipientShowsTheFailureAndKeepsTheWindow) {
    window->ComboBox1->setCurrentText(QStringLiteral("refused@example.org"));
    QTest::mouseClick(window->Button1, Qt::LeftButton);
    WaitForSend();
    EXPECT_EQ(window->StatusBar1->currentMessage(), ToQString("メールの送信はできませんでした"));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"メールの送信はできませんでした"});
    EXPECT_TRUE(window->Button1->isEnabled());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(settings.recipients.count, 1);
    EXPECT_EQ(window->ComboBox1->count(), 1);
    EXPECT_TRUE(ReadReceivedMail(received.path()).empty());
}

TEST_F(MailWindowTest, AMissingFieldStopsBeforeSendingAndHidingKeepsTheFields) {
    window->Edit1->clear();
    window->Edit3->clear();
    QTest::mouseClick(window->Button1, Qt::LeftButton);
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"送信元のメールアドレスを指定してください"});
    EXPECT_TRUE(window->Button1->isEnabled());
    window->Edit3->setText(QStringLiteral("mail.example.org:587"));
    window->ComboBox1->setCurrentText(QStringLiteral("new@example.org"));
    window->CheckBox1->setChecked(false);
    window->hide();
    EXPECT_EQ(settings.mailServer, "mail.example.org:587");
    EXPECT_EQ(settings.mailFrom, "me@example.org");  // an empty field keeps what was saved
    EXPECT_EQ(settings.mailTo, "new@example.org");
    EXPECT_FALSE(settings.attached);
}

}  // namespace
}  // namespace quorvel
