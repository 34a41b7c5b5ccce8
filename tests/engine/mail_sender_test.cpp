// The mail window's engine: what it sends for each content of the text window, the order of its checks,
// and the recipient history, with sends to a real aiosmtpd server on 127.0.0.1.
#include "auxiliary/mail_sender.h"
#include "engine_fixture.h"
#include "formats/sgf_reader.h"
#include "support/local_server.h"
#include "support/received_mail.h"

namespace quorvel::test {
namespace {

class MailSenderTest : public EngineTest {
protected:
    void SetUp() override {
        LoadRecordText(e, "(;GM[1]SZ[19];B[pd];W[dp])");
        e.StepForward();
    }
    MailForm Form() {
        MailForm form;
        form.to = "friend@example.org";
        form.from = "me@example.org";
        form.server = server.Host();
        form.userId = "player";
        return form;
    }
    // Sends and runs the events until the send is over.
    void SendAndWait(const MailForm& form) {
        ASSERT_TRUE(sender.Send(form));
        for (int i = 0; i < 300 && sender.Sending(); ++i) events.WaitAndRun(std::chrono::milliseconds(50));
        events.RunPending();
        ASSERT_FALSE(sender.Sending());
    }

    TempFolder received{"mail"};
    LocalServer server{"smtp_test_server.py", {received.path().string()}};
    QueuedEventPort events;
    MailSettings settings;
    MailSender sender{e, dialogs, events, settings};
};

TEST_F(MailSenderTest, WhatIsSentForEachTextWindowContent) {
    const std::string sgf = "(;GM[1]SZ[19]\r\n;B[pd])";
    const std::string board = "Text GoBoard\r\n+--+\r\n";
    struct Case {
        std::string shown;
        bool attach;
        std::string memo;
        std::vector<std::string> subjects;
        std::string attachment;
        std::string text;  // the body of the text message
    };
    const Case cases[] = {
        {sgf, true, "hello", {"Kifu Mail", "s"}, sgf + "\r\n", "hello"},
        {sgf, true, "", {"Kifu Mail"}, sgf + "\r\n", ""},
        {sgf, false, "hello", {"s"}, "", "hello\r\n\r\n\r\n==========SGF棋譜データ==========\r\n\r\n" + sgf},
        {board, true, "", {"s"}, "", "\r\n\r\n\r\n==========テキスト碁盤==========\r\n\r\n" + board},
        // Neither: the record is written for the mail, and the text window keeps its text.
        {"a comment", true, "", {"Kifu Mail"}, "(;GM[1]", ""},
        {"a comment", false, "m", {"s"}, "", "m\r\n\r\n\r\n==========SGF棋譜データ==========\r\n\r\n(;GM[1]"},
    };
    for (const Case& c : cases) {
        messages.SetText(c.shown);
        MailForm form = Form();
        form.attach = c.attach;
        form.body = c.memo;
        form.subject = "s";
        std::vector<net::MailMessage> out;
        ASSERT_TRUE(sender.Compose(form, out)) << c.shown;
        std::vector<std::string> subjects;
        for (const net::MailMessage& m : out) subjects.push_back(m.subject);
        EXPECT_EQ(subjects, c.subjects) << c.shown;
        EXPECT_EQ(messages.Text(), c.shown);
        for (const net::MailMessage& m : out) {
            if (m.attachments.empty()) {
                EXPECT_EQ(m.body.compare(0, c.text.size(), c.text), 0) << m.body;
            } else {
                ASSERT_EQ(m.attachments.size(), 1u);
                EXPECT_EQ(m.attachments[0].name, "Zarn.sgf");
                EXPECT_EQ(m.attachments[0].bytes.compare(0, c.attachment.size(), c.attachment), 0) << c.shown;
                EXPECT_EQ(m.body, "A SGF file attached.");
            }
        }
    }
    // A bare board or a record with variations is not written on its own.
    messages.SetText("a comment");
    e.GoToStart();
    std::vector<net::MailMessage> out;
    EXPECT_FALSE(sender.Compose(Form(), out));
    EXPECT_EQ(dialogs.shown.back(), "[ADD] か [SGF] か [Text B]ボタンを押してから送信できます");
}

TEST_F(MailSenderTest, ChecksRunInOrderAndStopAtTheFirst) {
    MailForm form;
    form.to = "friend@example.org";
    EXPECT_FALSE(sender.Send(form));
    form.from = "me@example.org";
    EXPECT_FALSE(sender.Send(form));
    form.server = server.Host();
    EXPECT_FALSE(sender.Send(form));
    form.userId = "player";
    form.to.clear();
    EXPECT_FALSE(sender.Send(form));
    form.to = "friend@example.org\r\nRCPT TO:<x@y>";
    EXPECT_FALSE(sender.Send(form));
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{
                                 "送信元のメールアドレスを指定してください",
                                 "メールサーバーの名前かIPアドレスを指定してください",
                                 "メール送信の ユーザーID を指定してください",
                                 "宛先のメールアドレスを指定してください",
                                 "メールアドレスに使えない文字が含まれています",
                             }));
    EXPECT_FALSE(sender.Sending());
    EXPECT_TRUE(ReadReceivedMail(received.path()).empty());
}

TEST_F(MailSenderTest, AcceptedMailJoinsTheHistoryARefusedOneDoesNot) {
    settings.recipients.entries = {"a@x", "b@x", "c@x", "d@x", "e@x"};
    settings.recipients.count = 5;
    MailForm refused = Form();
    refused.to = "refused@example.org";
    SendAndWait(refused);
    EXPECT_EQ(sender.state.status, "メールの送信はできませんでした");
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"メールの送信はできませんでした"});
    EXPECT_TRUE(sender.state.sendEnabled);
    EXPECT_FALSE(sender.state.sent);
    EXPECT_EQ(settings.recipients.Slot(1), "a@x");

    MailForm form = Form();
    form.body = "\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd";
    SendAndWait(form);
    EXPECT_EQ(sender.state.status, "メールを送信しました");
    EXPECT_TRUE(sender.state.sent);
    EXPECT_EQ(settings.recipients.entries, (std::array<std::string, 5>{"friend@example.org", "a@x", "b@x", "c@x", "d@x"}));
    EXPECT_EQ(settings.mailTo, "friend@example.org");
    const std::vector<ReceivedMail> mail = ReadReceivedMail(received.path());
    ASSERT_EQ(mail.size(), 2u);
    EXPECT_EQ(mail[1].One("subject"), u8"なし");
    EXPECT_EQ(mail[1].One("text"), u8"こんにちは\r\n");

    // A line longer than mail carries as it stands (a long comment in the text) arrives whole.
    std::string longLine;
    for (int k = 0; k < 700; ++k) longLine += "\x82\xb1";  // "こ" 700 times: 1,400 bytes of JIS
    form.body = "a\r\n" + longLine + "\r\nb";
    SendAndWait(form);
    const std::vector<ReceivedMail> longMail = ReadReceivedMail(received.path());
    ASSERT_EQ(longMail.size(), 4u);
    std::string expected = "a\r\n";
    for (int k = 0; k < 700; ++k) expected += u8"こ";
    EXPECT_EQ(longMail[3].One("text"), expected + "\r\nb\r\n");
    EXPECT_EQ(longMail[3].One("charset"), "iso-2022-jp");

    // Known recipients and empty ones leave the history alone.
    settings.RememberRecipient("c@x");
    settings.RememberRecipient("");
    EXPECT_EQ(settings.recipients.Slot(1), "friend@example.org");
    EXPECT_EQ(settings.recipients.count, 5);
}

TEST_F(MailSenderTest, HangulArrivesAsWrittenInTheTextAndTheAttachment) {
    ASSERT_TRUE(LoadRecordText(e, u8"(;GM[1]FF[4]CA[UTF-8]SZ[19];B[pd]C[\xED\x95\x9C\xEA\xB5\xAD];W[dp])"));
    e.StepForward();
    messages.SetText("a comment");
    // Attached: the file a save writes. In the text: ISO-2022-JP has no Hangul, so the text goes as UTF-8.
    MailForm form = Form();
    form.attach = true;
    std::vector<net::MailMessage> composed;
    ASSERT_TRUE(sender.Compose(form, composed));
    ASSERT_EQ(composed.size(), 1u);
    EXPECT_NE(composed[0].attachments.at(0).bytes.find(u8"C[\xED\x95\x9C\xEA\xB5\xAD]"), std::string::npos);
    form.attach = false;
    form.body = "\x82\xb1";  // "こ"
    form.subject = "\xFA\x40";  // "ⅰ", an IBM extension
    SendAndWait(form);
    const std::vector<ReceivedMail> mail = ReadReceivedMail(received.path());
    ASSERT_EQ(mail.size(), 1u);
    EXPECT_EQ(mail[0].One("charset"), "utf-8");
    EXPECT_EQ(mail[0].One("subject"), u8"ⅰ");
    EXPECT_NE(mail[0].One("text").find(u8"こ\r\n"), std::string::npos);
    EXPECT_NE(mail[0].One("text").find(u8"C[\xED\x95\x9C\xEA\xB5\xAD]"), std::string::npos) << mail[0].One("text");
}

TEST_F(MailSenderTest, AServerThatWantsALoginGetsTheUserTheWindowAsksFor) {
    TempFolder loginFolder{"mail-login"};
    LocalServer loginServer("smtp_test_server.py", {loginFolder.path().string(), "--login", "taro"});
    std::vector<std::string> asked;
    std::vector<std::optional<std::string>> answers = {std::string("wrong"), std::string("taro")};
    sender.askText = [&](const std::string& title, const std::string& prompt) -> std::optional<std::string> {
        asked.push_back(title + "|" + prompt);
        std::optional<std::string> answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    };
    MailForm form = Form();
    form.server = loginServer.Host();
    SendAndWait(form);
    // Refused without a login, then as "wrong"; accepted as "taro".
    EXPECT_EQ(asked, std::vector<std::string>(2, "認証が必要です。|ユーザーIDを入力してください"));
    EXPECT_TRUE(sender.state.sent);
    EXPECT_EQ(ReadReceivedMail(loginFolder.path()).size(), 1u);

    // Cancelling the question ends the send as a failure.
    sender.askText = [](const std::string&, const std::string&) { return std::optional<std::string>(); };
    SendAndWait(form);
    EXPECT_FALSE(sender.state.sent);
    EXPECT_EQ(sender.state.status, "メールの送信はできませんでした");
    EXPECT_TRUE(sender.state.sendEnabled);
}

}  // namespace
}  // namespace quorvel::test
