// A test server of tests/servers/ run as a child process on 127.0.0.1: started by the test, stopped when it
// goes out of scope. Its first line of output is the port it listens on. Its input is a pipe that only
// this object holds open, so the server also ends when a crashed test can no longer stop it.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace quorvel::test {

class LocalServer {
public:
    // `script` is a file of tests/servers/; `args` follow it on its command line.
    LocalServer(const std::string& script, const std::vector<std::string>& args) {
        int out[2];
        int in[2];
        if (pipe2(out, O_CLOEXEC) != 0) return;
        if (pipe2(in, O_CLOEXEC) != 0) {
            close(out[0]);
            close(out[1]);
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        std::vector<std::string> words = {QUORVEL_PYTHON3, std::string(QUORVEL_TEST_SERVERS) + "/" + script};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(in[0]);
        lifeline_ = in[1];
        if (spawned != 0) {
            pid_ = 0;
            close(out[0]);
            return;
        }
        output_ = fdopen(out[0], "r");
        char line[32] = "";
        if (output_ && std::fgets(line, sizeof line, output_)) port_ = std::atoi(line);
    }
    ~LocalServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (output_) std::fclose(output_);
        if (lifeline_ >= 0) close(lifeline_);
    }
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    // 0 when the server did not start.
    int port() const { return port_; }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    pid_t pid_ = 0;
    int port_ = 0;
    FILE* output_ = nullptr;
    int lifeline_ = -1;
};

// A fresh empty folder under the system's temporary folder, removed with its contents at the end.
class TempFolder {
public:
    explicit TempFolder(const std::string& name) {
        path_ = std::filesystem::temp_directory_path() /
                ("quorvel-" + name + "-" + std::to_string(getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A port on 127.0.0.1 that nothing listens on: bound and closed again.
inline int RefusedPort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(s);
    return port;
}

}  // namespace quorvel::test
