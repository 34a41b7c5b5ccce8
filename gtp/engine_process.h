// An engine program as a child process: its command line started without a shell, its standard input and
// output joined to this program, its error output thrown away (engines log there freely, and a full pipe
// nobody reads would stop them). Reads wait at most a given time, so a silent engine never hangs the
// caller; a write to an engine that has died fails instead of killing this program.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

namespace quorvel::gtp {

// The words of a command line: split at blanks, with '...' and "..." keeping blanks and a backslash
// taking the next character as it is. False for an unclosed quote.
bool SplitCommandLine(const std::string& commandLine, std::vector<std::string>& words);

// The program a command line's first word names: itself when it holds a "/", else the first executable
// file of that name in PATH and then in /usr/games (where Debian puts GNU Go, outside most users' PATH).
// Empty when there is none.
std::string FindProgram(const std::string& name);

class EngineProcess {
  public:
    EngineProcess() = default;
    // Ends the engine at once (a kill) when it still runs: a clean end is Stop's.
    ~EngineProcess();
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    // Starts `words` (program first). False with a message for the user when the program is missing or
    // cannot run.
    bool Start(const std::vector<std::string>& words, std::string& error);
    bool Running() const { return pid_ > 0; }

    // Sends one line (a line feed is added). False when the engine no longer reads.
    bool WriteLine(const std::string& line);

    enum class ReadResult { Line, TimedOut, Closed };
    // The next line of the engine's output without its line end (CR LF or LF), waiting until `deadline`.
    ReadResult ReadLine(std::string& line, std::chrono::steady_clock::time_point deadline);

    // Waits up to `grace` for the engine to end by itself (after "quit"), then kills it. Always reaps it.
    void Stop(std::chrono::milliseconds grace);
    // Kills the engine at once; callable from any thread, so that a thread blocked reading it gets the end
    // of its output at once. The owner still calls Stop to reap it.
    void Interrupt();

  private:
    void CloseChannel();

    std::atomic<pid_t> pid_{-1};
    int channel_ = -1;    // both directions: a socket pair, so that a write can refuse SIGPIPE
    std::string buffer_;  // output read but not yet returned as lines
};

}  // namespace quorvel::gtp
