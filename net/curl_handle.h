// libcurl set up once for the process, and an easy handle that cleans up after itself.
#pragma once

#include <curl/curl.h>

#include <memory>

namespace quorvel::net {

struct CurlCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlHandle = std::unique_ptr<CURL, CurlCleanup>;

// A new easy handle, after initialising libcurl once (thread-safe).
CurlHandle NewCurlHandle();

}  // namespace quorvel::net
