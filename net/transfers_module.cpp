// The transfers module quorvel_net.so: the transfers on libcurl, loaded by the windows program with its
// first network job.
#include "net/transfers.h"

extern "C" __attribute__((visibility("default"))) const quorvel::net::Transfers* QuorvelNetTransfers() {
    return &quorvel::net::CurlTransfers();
}
