// The HTTP client against a real web server on 127.0.0.1 (tests/servers/http_test_server.py).
#include <gtest/gtest.h>

#include <fstream>

#include "net/http_client.h"
#include "net/transfers.h"
#include "support/local_server.h"

namespace quorvel::net {
namespace {

using test::LocalServer;
using test::TempFolder;

class HttpClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(folder / "game.sgf", std::ios::binary) << record;
        ASSERT_GT(server.port(), 0);
    }

    // Runs the port's events until `done` holds (at most 20 s, so a broken client fails instead of hanging).
    template <typename Done>
    bool RunUntil(Done done) {
        for (int i = 0; i < 200 && !done(); ++i) events.WaitAndRun(std::chrono::milliseconds(100));
        return done();
    }

    const std::string record = "(;GM[1]SZ[19]C[\x93\xfa\x96\x7b #&+]\r\n;B[pd];W[dp])";
    TempFolder folder{"http"};
    LocalServer server{"http_test_server.py", {folder.path().string()}};
    QueuedEventPort events;
};

TEST_F(HttpClientTest, OutcomesOfFetches) {
    HttpOptions quick;
    quick.timeoutMs = 1500;
    quick.maxBodyBytes = 1 << 20;
    struct Case {
        std::string url;
        HttpOutcome outcome;
        long status;
    };
    const Case cases[] = {
        {server.Url("/game.sgf"), HttpOutcome::Success, 200},
        {server.Url("/missing/game.sgf"), HttpOutcome::Failure, 404},
        {"http://127.0.0.1:" + std::to_string(test::RefusedPort()) + "/game.sgf", HttpOutcome::ConnectionFailed, 0},
        // Past the time limit while bytes still trickle in.
        {server.Url("/trickle/game.sgf"), HttpOutcome::Failure, 200},
        // Cut off at the cap.
        {server.Url("/endless/game.sgf"), HttpOutcome::Failure, 200},
        // A redirect never leaves the web for a local file.
        {server.Url("/redirect-file"), HttpOutcome::Failure, 302},
        {"file:///etc/passwd", HttpOutcome::Failure, 0},
        {"", HttpOutcome::Failure, 0},
    };
    for (const Case& c : cases) {
        const HttpResult r = FetchUrl(c.url, quick);
        EXPECT_EQ(r.outcome, c.outcome) << c.url << ": " << r.error;
        EXPECT_EQ(r.status, c.status) << c.url;
        if (c.outcome != HttpOutcome::Success) {
            EXPECT_TRUE(r.body.empty()) << c.url;
            EXPECT_FALSE(r.error.empty()) << c.url;
        }
    }
    const HttpResult ok = FetchUrl(server.Url("/game.sgf"), quick);
    EXPECT_EQ(ok.body, record);
    EXPECT_NE(ok.header.find("Content-Length: " + std::to_string(record.size())), std::string::npos) << ok.header;
    EXPECT_NE(FetchUrl(server.Url("/endless/x"), quick).error.find("longer than 1048576"), std::string::npos);
}

// The windows program takes its transfers from the module of the program folder; the module's fetch is the
// same transfer, and a missing module is said, not crashed on.
TEST_F(HttpClientTest, TransfersModuleFetches) {
    std::string error;
    const Transfers* module = LoadTransfersModule(std::string(QUORVEL_PROGRAM_DIR) + "/" + kTransfersModule, error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_NE(module, &CurlTransfers());
    const HttpResult r = module->fetch(server.Url("/game.sgf"), HttpOptions(), nullptr);
    EXPECT_EQ(r.outcome, HttpOutcome::Success) << r.error;
    EXPECT_EQ(r.body, record);

    EXPECT_EQ(LoadTransfersModule(folder.path().string() + "/none.so", error), nullptr);
    EXPECT_NE(error.find("none.so"), std::string::npos) << error;
}

TEST_F(HttpClientTest, WebAddresses) {
    for (const char* yes : {"http://host/a.sgf", "HTTPS://host/", "http://127.0.0.1:8080"}) EXPECT_TRUE(IsWebAddress(yes)) << yes;
    for (const char* no : {"", "http://", "ftp://host/a.sgf", "file:///etc/passwd", "host/a.sgf", "javascript:x"}) {
        EXPECT_FALSE(IsWebAddress(no)) << no;
    }
}

TEST_F(HttpClientTest, GetReportsOnceOnThePortsThread) {
    HttpClient client(events);
    int reports = 0;
    HttpResult got;
    client.Get(server.Url("/game.sgf"), [&](const HttpResult& r) {
        ++reports;
        got = r;
    });
    EXPECT_TRUE(client.Busy());
    ASSERT_TRUE(RunUntil([&] { return reports > 0; }));
    events.WaitAndRun(std::chrono::milliseconds(200));
    EXPECT_EQ(reports, 1);
    EXPECT_FALSE(client.Busy());
    EXPECT_EQ(got.outcome, HttpOutcome::Success);
    EXPECT_EQ(got.body, record);
}

TEST_F(HttpClientTest, ANewGetCancelsThePendingOne) {
    HttpClient client(events);
    std::vector<std::string> reported;
    client.Get(server.Url("/trickle/slow.sgf"), [&](const HttpResult&) { reported.push_back("trickle"); });
    client.Get(server.Url("/game.sgf"), [&](const HttpResult& r) { reported.push_back(r.body); });
    ASSERT_TRUE(RunUntil([&] { return !reported.empty(); }));
    events.WaitAndRun(std::chrono::milliseconds(300));
    EXPECT_EQ(reported, std::vector<std::string>{record});
}

TEST_F(HttpClientTest, CancelledOrDestroyedClientsReportNothing) {
    int reports = 0;
    {
        HttpClient client(events);
        client.Get(server.Url("/trickle/a.sgf"), [&](const HttpResult&) { ++reports; });
        client.Cancel();
        EXPECT_FALSE(client.Busy());
        client.Get(server.Url("/trickle/b.sgf"), [&](const HttpResult&) { ++reports; });
        // Leaving the scope with a transfer running stops it and waits for its thread.
    }
    events.WaitAndRun(std::chrono::milliseconds(300));
    events.RunPending();
    EXPECT_EQ(reports, 0);
}

}  // namespace
}  // namespace quorvel::net
