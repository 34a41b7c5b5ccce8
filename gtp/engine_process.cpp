#include "gtp/engine_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace quorvel::gtp {

bool SplitCommandLine(const std::string& commandLine, std::vector<std::string>& words) {
    words.clear();
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        if (quote) {
            if (c == quote) {
                quote = 0;
            } else if (c == '\\' && quote == '"' && i + 1 < commandLine.size()) {
                word += commandLine[++i];
            } else {
                word += c;
            }
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == '\\' && i + 1 < commandLine.size()) {
            word += commandLine[++i];
            inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quote) return false;
    if (inWord) words.push_back(word);
    return true;
}

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string FindProgram(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    folders += ":/usr/games";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string folder = folders.substr(start, end - start);
        if (!folder.empty() && IsExecutableFile(folder + "/" + name)) return folder + "/" + name;
        start = end + 1;
    }
    return {};
}

EngineProcess::~EngineProcess() {
    Stop(std::chrono::milliseconds(0));
}

bool EngineProcess::Start(const std::vector<std::string>& words, std::string& error) {
    if (words.empty()) {
        error = "エンジンのコマンドラインが空です。";
        return false;
    }
    const std::string program = FindProgram(words[0]);
    if (program.empty()) {
        error = "エンジン「" + words[0] + "」が見つかりません。";
        return false;
    }
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        error = "エンジンとの接続を作れません。";
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pair[1], 0);
    posix_spawn_file_actions_adddup2(&actions, pair[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& w : words) argv.push_back(const_cast<char*>(w.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pair[1]);
    if (failed != 0) {
        close(pair[0]);
        error = "エンジン「" + words[0] + "」を起動できません: " + std::strerror(failed);
        return false;
    }
    pid_ = pid;
    channel_ = pair[0];
    buffer_.clear();
    return true;
}

bool EngineProcess::WriteLine(const std::string& line) {
    if (channel_ < 0) return false;
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = send(channel_, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

EngineProcess::ReadResult EngineProcess::ReadLine(std::string& line,
                                                  std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const std::size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            line = buffer_.substr(0, end);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            buffer_.erase(0, end + 1);
            return ReadResult::Line;
        }
        if (channel_ < 0) return ReadResult::Closed;
        // Past the deadline, what the engine has already written is still taken.
        const long long left = std::max<long long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                                          deadline - std::chrono::steady_clock::now())
                                                          .count());
        pollfd p{channel_, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(std::min<long long>(left, 1000)));
        if (ready < 0 && errno != EINTR) return ReadResult::Closed;
        if (ready == 0 && left == 0) return ReadResult::TimedOut;
        if (ready <= 0) continue;
        char chunk[4096];
        const ssize_t n = read(channel_, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // What came before the end without a line feed is still the engine's last line.
            if (!buffer_.empty()) buffer_ += '\n';
            CloseChannel();
            continue;
        }
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

void EngineProcess::CloseChannel() {
    if (channel_ >= 0) close(channel_);
    channel_ = -1;
}

void EngineProcess::Interrupt() {
    const pid_t pid = pid_.load();
    if (pid > 0) kill(pid, SIGKILL);
}

void EngineProcess::Stop(std::chrono::milliseconds grace) {
    CloseChannel();
    if (pid_ <= 0) return;
    const auto deadline = std::chrono::steady_clock::now() + grace;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_ || (done < 0 && errno != EINTR)) break;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid_, SIGKILL);
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    buffer_.clear();
}

}  // namespace quorvel::gtp
