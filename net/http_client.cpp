#include "net/http_client.h"

#include <cctype>

#include "net/transfers.h"

namespace quorvel::net {

bool IsWebAddress(const std::string& url) {
    std::string scheme;
    for (char c : url.substr(0, url.find(':'))) scheme += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::size_t colon = url.find("://");
    return colon != std::string::npos && (scheme == "http" || scheme == "https") && colon + 3 < url.size();
}

HttpResult FetchUrl(const std::string& url, const HttpOptions& options, const std::atomic<bool>* cancel) {
    HttpResult result;
    if (!IsWebAddress(url)) {
        result.error = "not an http or https address";
        return result;
    }
    const Transfers* transfers = NetTransfers(result.error);
    if (!transfers) return result;
    return transfers->fetch(url, options, cancel);
}

void HttpClient::Get(const std::string& url, Done done) {
    const HttpOptions chosen = options;
    job_.Start([url, chosen, done = std::move(done)](JobContext& job) {
        HttpResult result = FetchUrl(url, chosen, job.CancelFlag());
        job.Finish([done, result = std::move(result)] { done(result); });
    });
}

}  // namespace quorvel::net
