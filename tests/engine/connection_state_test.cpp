#include <gtest/gtest.h>

#include "platform/connection_state.h"

namespace quorvel {
namespace {

TEST(ConnectionState, ADefaultRouteThatIsUpMeansConnected) {
    const std::string head = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
    const std::string local = "eth0\t0011A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n";
    EXPECT_TRUE(HasDefaultRoute(head + local + "eth0\t00000000\t0111A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"));
    EXPECT_FALSE(HasDefaultRoute(head + local));
    EXPECT_FALSE(HasDefaultRoute(head + "eth0\t00000000\t0111A8C0\t0002\t0\t0\t100\t00000000\t0\t0\t0\n"));
    EXPECT_FALSE(HasDefaultRoute(""));
    EXPECT_FALSE(HasDefaultRoute(head + "garbage line\nzz\tzz\tzz\tzz\tzz\tzz\tzz\tzz\n"));
}

}  // namespace
}  // namespace quorvel
