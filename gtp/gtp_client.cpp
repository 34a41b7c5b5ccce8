#include "gtp/gtp_client.h"

#include <cctype>
#include <sstream>
#include <vector>

namespace quorvel::gtp {

namespace {

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

// The first line of an answer without its "=" or "?" and the optional id after it.
std::string AnswerText(const std::string& line) {
    std::size_t i = 1;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    return line.substr(i);
}

// At most the first 60 bytes of an answer for a message.
std::string Excerpt(const std::string& text) {
    return text.size() > 60 ? text.substr(0, 60) + "..." : text;
}

}  // namespace

GtpClient::~GtpClient() {
    Stop();
}

bool GtpClient::Start(const std::string& commandLine, std::string& error, std::chrono::milliseconds limit) {
    Stop();
    std::vector<std::string> words;
    if (!SplitCommandLine(commandLine, words)) {
        error = "エンジンのコマンドラインの引用符が閉じていません: " + commandLine;
        return false;
    }
    if (!process_.Start(words, error)) return false;
    name_ = words[0];
    const GtpReply reply = Send("list_commands", limit);
    if (!reply.ok) {
        error = reply.failed
                    ? reply.text
                    : "エンジン「" + name_ + "」が list_commands に答えません: " + Excerpt(reply.text);
        Stop();
        return false;
    }
    std::istringstream in(reply.text);
    commands_.clear();
    for (std::string c; std::getline(in, c);) {
        if (!IsBlank(c)) commands_.insert(c.substr(0, c.find_last_not_of(" \t") + 1));
    }
    return true;
}

GtpReply GtpClient::Fail(const std::string& message) {
    process_.Stop(std::chrono::milliseconds(0));
    commands_.clear();
    GtpReply reply;
    reply.failed = true;
    reply.text = message;
    return reply;
}

GtpReply GtpClient::Send(const std::string& command, std::chrono::milliseconds limit) {
    if (!process_.Running()) return Fail("エンジンが動いていません。");
    if (!process_.WriteLine(command)) {
        // What an engine said before it ended tells more than its end: a program that printed something
        // else than GTP and quit is no engine.
        return ReadAnswer(command.substr(0, command.find(' ')), std::chrono::steady_clock::now(), limit);
    }
    return ReadAnswer(command.substr(0, command.find(' ')), std::chrono::steady_clock::now() + limit, limit);
}

GtpReply GtpClient::ReadAnswer(const std::string& commandName, std::chrono::steady_clock::time_point deadline,
                               std::chrono::milliseconds limit) {
    GtpReply reply;
    bool started = false;
    for (;;) {
        std::string line;
        const auto read = process_.ReadLine(line, deadline);
        if (read == EngineProcess::ReadResult::TimedOut) {
            return Fail("エンジン「" + name_ + "」が " + std::to_string(limit.count() / 1000) +
                        " 秒のうちに答えません (" + commandName + ")。");
        }
        if (read == EngineProcess::ReadResult::Closed) {
            return Fail("エンジン「" + name_ + "」が終了しました (" + commandName + ")。");
        }
        if (!started) {
            if (IsBlank(line)) continue;
            if (line[0] != '=' && line[0] != '?') {
                return Fail("エンジン「" + name_ + "」の答えが GTP ではありません: " + Excerpt(line));
            }
            reply.ok = line[0] == '=';
            reply.text = AnswerText(line);
            started = true;
            continue;
        }
        // An answer ends with an empty line.
        if (line.empty()) break;
        reply.text += "\n" + line;
    }
    return reply;
}

bool GtpClient::SendStreamCommand(const std::string& command, std::string& error) {
    if (process_.Running() && process_.WriteLine(command)) return true;
    error = Fail("エンジン「" + name_ + "」が終了しました。").text;
    return false;
}

bool GtpClient::BeginStream(const std::string& command, std::string& error) {
    if (!SendStreamCommand(command, error)) return false;
    const auto deadline = std::chrono::steady_clock::now() + kCommandLimit;
    for (;;) {
        std::string line;
        const auto read = process_.ReadLine(line, deadline);
        if (read != EngineProcess::ReadResult::Line) {
            error = Fail("エンジン「" + name_ + "」が解析を始めません。").text;
            return false;
        }
        if (IsBlank(line)) continue;
        if (line[0] == '=') return true;
        error = line[0] == '?'
                    ? "エンジン「" + name_ + "」が解析を断りました: " + AnswerText(line)
                    : Fail("エンジン「" + name_ + "」の答えが GTP ではありません: " + Excerpt(line)).text;
        if (line[0] == '?') {
            // The refusal is a whole answer: its empty line follows.
            std::string rest;
            while (process_.ReadLine(rest, deadline) == EngineProcess::ReadResult::Line && !rest.empty()) {
            }
        }
        return false;
    }
}

GtpClient::StreamRead GtpClient::ReadStreamLine(std::string& line,
                                                std::chrono::steady_clock::time_point deadline) {
    switch (process_.ReadLine(line, deadline)) {
        case EngineProcess::ReadResult::Line:
            return StreamRead::Line;
        case EngineProcess::ReadResult::TimedOut:
            return StreamRead::Quiet;
        case EngineProcess::ReadResult::Closed:
            break;
    }
    Fail("");
    return StreamRead::Failed;
}

bool GtpClient::EndStream(std::string& error) {
    // Any command ends the stream: the stream's answer closes with its empty line, then the command's own
    // answer follows.
    if (!SendStreamCommand("protocol_version", error)) return false;
    const auto deadline = std::chrono::steady_clock::now() + kCommandLimit;
    for (;;) {
        std::string line;
        const auto read = process_.ReadLine(line, deadline);
        if (read != EngineProcess::ReadResult::Line) {
            error = Fail("エンジン「" + name_ + "」が解析を終えません。").text;
            return false;
        }
        if (line.empty()) break;
    }
    const GtpReply version = ReadAnswer("protocol_version", deadline, kCommandLimit);
    if (version.failed) error = version.text;
    return !version.failed;
}

void GtpClient::Stop() {
    if (process_.Running()) {
        // A polite end first; an engine that has died or hangs is killed after the grace period.
        if (process_.WriteLine("quit")) {
            std::string line;
            const auto deadline = std::chrono::steady_clock::now() + kQuitGrace;
            while (process_.ReadLine(line, deadline) == EngineProcess::ReadResult::Line && !line.empty()) {
            }
        }
        process_.Stop(kQuitGrace);
    }
    commands_.clear();
}

}  // namespace quorvel::gtp
