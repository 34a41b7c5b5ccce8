// Linking this file into a program makes the transfers on libcurl part of it (the command-line tool, the
// tests): NetTransfers then never loads the module.
#include "net/transfers.h"

namespace {

const bool linked = quorvel::net::LinkTransfers(quorvel::net::CurlTransfers());

}  // namespace
