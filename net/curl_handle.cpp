#include "net/curl_handle.h"

#include <mutex>

namespace quorvel::net {

CurlHandle NewCurlHandle() {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    return CurlHandle(curl_easy_init());
}

}  // namespace quorvel::net
