// Whether the machine is connected to a network: on Linux a connection is up when a default route exists.
// There is no dial-up connection to hang up.
#pragma once

#include <string>

namespace quorvel {

// True when the routing table (the text of /proc/net/route) has a default route that is up.
bool HasDefaultRoute(const std::string& routeTable);
// Reads the system's routing tables (IPv4 and IPv6).
bool InternetConnectionUp();

}  // namespace quorvel
