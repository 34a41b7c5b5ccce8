// The SMTP client against a real aiosmtpd server on 127.0.0.1 (tests/servers/smtp_test_server.py), whose
// messages are read back with Python's email package.
#include <gtest/gtest.h>

#include <cstdlib>

#include "net/smtp_client.h"
#include "support/local_server.h"
#include "support/received_mail.h"

namespace quorvel::net {
namespace {

using test::LocalServer;
using test::ReadReceivedMail;
using test::ReceivedMail;
using test::TempFolder;

const std::string kRecord = "(;GM[1]SZ[19]C[\x93\xfa\x96\x7b]\r\n;B[pd];W[dp])\r\n";

class SmtpClientTest : public ::testing::Test {
protected:
    // Sends and runs the events until the last one; returns them in order.
    std::vector<SmtpReport> Send(SmtpJob job) {
        SmtpClient client(events);
        std::vector<SmtpReport> reports;
        bool over = false;
        client.Send(std::move(job), [&](const SmtpReport& r) {
            reports.push_back(r);
            over = r.event == SmtpEvent::Disconnect;
        });
        for (int i = 0; i < 300 && !over; ++i) events.WaitAndRun(std::chrono::milliseconds(100));
        EXPECT_TRUE(over);
        EXPECT_FALSE(client.Busy());
        return reports;
    }

    static std::vector<SmtpEvent> Events(const std::vector<SmtpReport>& reports) {
        std::vector<SmtpEvent> out;
        for (const SmtpReport& r : reports) out.push_back(r.event);
        return out;
    }

    SmtpJob Job(const std::string& server) {
        SmtpJob job;
        job.server = server;
        job.userId = "player";
        MailMessage attached{"friend@example.org", "me@example.org", "Kifu Mail", "A SGF file attached.", {{"Zarn.sgf", kRecord}}, nullptr};
        MailMessage text{"friend@example.org", "me@example.org", "\x8a\xfb\x95\x88", "\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd\r\nline 2", {}, nullptr};
        job.messages = {attached, text};
        return job;
    }

    TempFolder received{"smtp"};
    QueuedEventPort events;
};

TEST_F(SmtpClientTest, TheAttachmentAndTheTextArriveOnOneSend) {
    LocalServer server("smtp_test_server.py", {received.path().string()});
    ASSERT_GT(server.port(), 0);
    const std::vector<SmtpReport> reports = Send(Job(server.Host()));
    using E = SmtpEvent;
    EXPECT_EQ(Events(reports), (std::vector<E>{E::ConnectionRequired, E::SendStart, E::HostResolved, E::Connect,
                                               E::SendStart, E::Success, E::Disconnect}));
    EXPECT_EQ(reports[1].message, 0);
    EXPECT_EQ(reports[4].message, 1);

    const std::vector<ReceivedMail> mail = ReadReceivedMail(received.path());
    ASSERT_EQ(mail.size(), 2u);
    EXPECT_EQ(mail[0].One("from"), "me@example.org");
    EXPECT_EQ(mail[0].All("rcpt"), std::vector<std::string>{"friend@example.org"});
    EXPECT_EQ(mail[0].One("subject"), "Kifu Mail");
    EXPECT_EQ(mail[0].One("attachment_name"), "Zarn.sgf");
    EXPECT_EQ(mail[0].One("attachment"), kRecord);
    EXPECT_EQ(mail[0].One("text"), "A SGF file attached.");
    EXPECT_EQ(mail[1].One("subject"), u8"棋譜");
    EXPECT_EQ(mail[1].One("charset"), "iso-2022-jp");
    EXPECT_EQ(mail[1].One("text"), u8"こんにちは\r\nline 2\r\n");
    EXPECT_TRUE(mail[1].All("attachment").empty());
    for (const ReceivedMail& m : mail) EXPECT_EQ(m.One("seven_bit"), "1");
}

TEST_F(SmtpClientTest, ASubjectWithALineBreakAddsNoRecipientOrHeader) {
    LocalServer server("smtp_test_server.py", {received.path().string()});
    SmtpJob job = Job(server.Host());
    job.messages.resize(1);
    job.messages[0].subject = "a\r\nBcc: x@y";
    EXPECT_EQ(Events(Send(job)).back(), SmtpEvent::Disconnect);
    const std::vector<ReceivedMail> mail = ReadReceivedMail(received.path());
    ASSERT_EQ(mail.size(), 1u);
    EXPECT_EQ(mail[0].All("rcpt"), std::vector<std::string>{"friend@example.org"});
    for (const std::string& header : mail[0].All("header")) EXPECT_NE(header, "bcc");
    EXPECT_EQ(mail[0].One("subject"), "a\nBcc: x@y");
}

TEST_F(SmtpClientTest, FailuresSayWhichAndSendNothingMore) {
    LocalServer server("smtp_test_server.py", {received.path().string()});
    using E = SmtpEvent;
    struct Case {
        const char* what;
        std::string server;
        std::string to;
        std::vector<E> tail;  // the last events
    };
    const Case cases[] = {
        {"refused recipient", server.Host(), "refused@example.org", {E::RecipientNotFound, E::Failure, E::Disconnect}},
        {"nobody listens", "127.0.0.1:" + std::to_string(test::RefusedPort()), "friend@example.org",
         {E::ConnectionFailed, E::Disconnect}},
        {"not a host", "mail server!", "friend@example.org", {E::InvalidHost, E::Failure, E::Disconnect}},
        {"address with a line break", server.Host(), "friend@example.org\r\nRCPT TO:<x@y>",
         {E::Failure, E::Disconnect}},
    };
    for (const Case& c : cases) {
        SmtpJob job = Job(c.server);
        for (MailMessage& m : job.messages) m.to = c.to;
        const std::vector<E> seen = Events(Send(job));
        ASSERT_GE(seen.size(), c.tail.size()) << c.what;
        EXPECT_EQ(std::vector<E>(seen.end() - static_cast<long>(c.tail.size()), seen.end()), c.tail) << c.what;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), E::Success), 0) << c.what;
    }
    EXPECT_TRUE(ReadReceivedMail(received.path()).empty());
}

TEST_F(SmtpClientTest, StartTlsWhenTheServerOffersIt) {
    const std::string cert = received / "cert.pem";
    const std::string key = received / "key.pem";
    const std::string make = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 "
                             "-addext subjectAltName=IP:127.0.0.1 -keyout " + key + " -out " + cert + " 2>/dev/null";
    ASSERT_EQ(std::system(make.c_str()), 0);
    TempFolder mailFolder{"smtp-tls"};
    LocalServer server("smtp_test_server.py", {mailFolder.path().string(), cert, key});
    ASSERT_GT(server.port(), 0);
    SmtpJob job = Job(server.Host());
    job.caFile = cert;
    EXPECT_EQ(Events(Send(job)).back(), SmtpEvent::Disconnect);
    const std::vector<ReceivedMail> mail = ReadReceivedMail(mailFolder.path());
    ASSERT_EQ(mail.size(), 2u);
    for (const ReceivedMail& m : mail) EXPECT_EQ(m.One("tls"), "1");
    EXPECT_EQ(mail[0].One("attachment"), kRecord);
}

}  // namespace
}  // namespace quorvel::net
