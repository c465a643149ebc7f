#include "platform/Backend.h"

#include "platform/real/RealBackend.h"

namespace ostrel {

namespace {

Backend* installed = nullptr;

}  // namespace

Backend& Backend::Current()
{
    if (installed != nullptr) {
        return *installed;
    }
    return RealBackend::Instance();
}

void Backend::LookupIPAddressLater(const std::string& host, std::function<void(std::string)> done)
{
    done(LookupIPAddress(host));
}

void Backend::Install(Backend* backend)
{
    installed = backend;
}

}  // namespace ostrel
