// What the settings file keeps for the mail window: the current recipient, the sender, the server, the
// user name, the attach box, and the last five recipients (entry 1 the newest). No password is kept.
#pragma once

#include <array>
#include <string>

namespace quorvel {

struct Form9Settings {
    static constexpr int kHistorySlots = 5;
    std::string mailTo;
    std::string mailFrom;
    std::string mailServer;  // "host" or "host:port"
    std::string userId;
    bool attached = true;
    std::array<std::string, kHistorySlots> history;
    int historyCount = 0;

    // A recipient that differs from every stored entry becomes entry 1 and the current recipient; the
    // fifth entry drops out. An empty one, or one already stored, changes nothing.
    void RememberRecipient(const std::string& to);
    const std::string& History(int k) const { return history[static_cast<std::size_t>(k - 1)]; }
};

}  // namespace quorvel
