// One engine spoken to in GTP: started from its command line, asked what it can do, sent one command at a
// time and stopped with "quit". Every wait has a limit; an engine that misses it, dies or answers
// something that is not GTP is stopped, and the error says so in the program's words. Not thread-safe:
// one thread talks to an engine (gtp/engine_worker.h keeps it off the window thread).
#pragma once

#include <chrono>
#include <set>
#include <string>

#include "gtp/engine_process.h"

namespace quorvel::gtp {

// How long an engine has to answer: its start and list_commands, an ordinary command, and a command that
// thinks (genmove, top_moves).
constexpr std::chrono::milliseconds kStartLimit{15000};
constexpr std::chrono::milliseconds kCommandLimit{10000};
constexpr std::chrono::milliseconds kThinkLimit{120000};
// How long an engine may take to end after "quit" before it is killed.
constexpr std::chrono::milliseconds kQuitGrace{2000};

struct GtpReply {
    bool ok = false;      // "=": done; else the engine refused ("?") or failed (then `failed`)
    bool failed = false;  // no answer: the engine is gone, silent or not speaking GTP, and has been stopped
    std::string text;     // the answer after "= " / "? ", lines joined with "\n"; for a failure the message
};

class GtpClient {
  public:
    GtpClient() = default;
    ~GtpClient();
    GtpClient(const GtpClient&) = delete;
    GtpClient& operator=(const GtpClient&) = delete;

    // Starts the engine and reads its list_commands. False with the user's message when it cannot run, ends
    // or does not answer in GTP.
    bool Start(const std::string& commandLine, std::string& error,
               std::chrono::milliseconds limit = kStartLimit);
    bool Running() const { return process_.Running(); }

    // Sends one command and reads its whole answer, waiting at most `limit`.
    GtpReply Send(const std::string& command, std::chrono::milliseconds limit = kCommandLimit);

    // True when list_commands named the command.
    bool Knows(const std::string& command) const { return commands_.count(command) > 0; }

    // Starts a streaming command (kata-analyze, lz-analyze): sends it and reads its "=" line. Then each
    // ReadStreamLine gives one line until `deadline`; EndStream sends a harmless command, which ends the
    // stream, and reads what is left of it. False (engine stopped, `error` set) when the engine fails.
    bool BeginStream(const std::string& command, std::string& error);
    enum class StreamRead { Line, Quiet, Failed };
    StreamRead ReadStreamLine(std::string& line, std::chrono::steady_clock::time_point deadline);
    bool EndStream(std::string& error);

    // "quit", then the process ends (killed after the grace period).
    void Stop();
    // Kills the engine from another thread: a command waiting for its answer fails at once.
    void Interrupt() { process_.Interrupt(); }

    const std::string& Name() const { return name_; }

  private:
    GtpReply Fail(const std::string& message);
    // Writes a command that starts or ends a stream: false, with the message, when the engine is gone.
    bool SendStreamCommand(const std::string& command, std::string& error);
    GtpReply ReadAnswer(const std::string& commandName, std::chrono::steady_clock::time_point deadline,
                        std::chrono::milliseconds limit);

    EngineProcess process_;
    std::set<std::string> commands_;
    std::string name_;  // the first word of the command line, for messages
};

}  // namespace quorvel::gtp
