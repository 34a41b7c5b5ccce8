#include "net/transfers.h"

#include <dlfcn.h>

#include "platform/file_io.h"

namespace quorvel::net {
namespace {

const Transfers* linkedTransfers = nullptr;

struct LoadedModule {
    const Transfers* transfers = nullptr;
    std::string error;
};

}  // namespace

bool LinkTransfers(const Transfers& transfers) {
    linkedTransfers = &transfers;
    return true;
}

const Transfers* LoadTransfersModule(const std::string& path, std::string& error) {
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* why = ::dlerror();
        error = why ? why : "cannot load " + path;
        return nullptr;
    }
    const auto entry = reinterpret_cast<TransfersEntry>(::dlsym(module, kTransfersSymbol));
    if (!entry) {
        error = path + " has no " + kTransfersSymbol;
        ::dlclose(module);
        return nullptr;
    }
    return entry();
}

const Transfers* NetTransfers(std::string& error) {
    if (linkedTransfers) return linkedTransfers;
    static const LoadedModule loaded = [] {
        LoadedModule m;
        m.transfers = LoadTransfersModule(ExecutableFolder() + "/" + kTransfersModule, m.error);
        return m;
    }();
    if (!loaded.transfers) error = loaded.error;
    return loaded.transfers;
}

}  // namespace quorvel::net
