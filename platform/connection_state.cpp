#include "platform/connection_state.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quorvel {

namespace {

constexpr unsigned kRouteUp = 0x1;  // RTF_UP

bool FlagsSayUp(const std::string& hex) { return std::strtoul(hex.c_str(), nullptr, 16) & kRouteUp; }

std::string ReadProcFile(const char* path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// /proc/net/ipv6_route: destination, prefix length, ... flags in the ninth column; ::/0 is the default.
bool HasDefaultRoute6(const std::string& table) {
    std::istringstream lines(table);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string destination, prefix, f3, f4, f5, f6, f7, f8, flags, device;
        if (!(fields >> destination >> prefix >> f3 >> f4 >> f5 >> f6 >> f7 >> f8 >> flags >> device)) continue;
        if (device == "lo" || prefix != "00" || destination != std::string(32, '0')) continue;
        if (FlagsSayUp(flags)) return true;
    }
    return false;
}

}  // namespace

bool HasDefaultRoute(const std::string& routeTable) {
    std::istringstream lines(routeTable);
    std::string line;
    std::getline(lines, line);  // the column names
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, destination, gateway, flags, refCount, use, metric, mask;
        if (!(fields >> device >> destination >> gateway >> flags >> refCount >> use >> metric >> mask)) continue;
        if (destination != "00000000" || mask != "00000000") continue;
        if (FlagsSayUp(flags)) return true;
    }
    return false;
}

bool InternetConnectionUp() {
    return HasDefaultRoute(ReadProcFile("/proc/net/route")) || HasDefaultRoute6(ReadProcFile("/proc/net/ipv6_route"));
}

}  // namespace quorvel
