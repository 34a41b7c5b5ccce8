// The messages the test SMTP server (tests/servers/smtp_test_server.py) accepted, as Python's email
// package read them.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace quorvel::test {

struct ReceivedMail {
    std::multimap<std::string, std::string> facts;  // values as bytes (UTF-8 for texts)

    std::string One(const std::string& key) const {
        const auto it = facts.find(key);
        return it == facts.end() ? std::string() : it->second;
    }
    std::vector<std::string> All(const std::string& key) const {
        std::vector<std::string> out;
        for (auto [it, end] = facts.equal_range(key); it != end; ++it) out.push_back(it->second);
        return out;
    }
};

inline std::string FromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

// The messages in the order the server accepted them.
inline std::vector<ReceivedMail> ReadReceivedMail(const std::filesystem::path& folder) {
    std::vector<ReceivedMail> out;
    for (int n = 1;; ++n) {
        std::ifstream in(folder / (std::to_string(n) + ".txt"));
        if (!in) break;
        ReceivedMail mail;
        for (std::string line; std::getline(in, line);) {
            const std::size_t eq = line.find('=');
            if (eq != std::string::npos) mail.facts.emplace(line.substr(0, eq), FromHex(line.substr(eq + 1)));
        }
        out.push_back(std::move(mail));
    }
    return out;
}

}  // namespace quorvel::test
