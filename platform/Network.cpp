#include "platform/Network.h"

#include "platform/Backend.h"

#include <string_view>

namespace ostrel::Network {

namespace {

std::string_view Trimmed(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

}  // namespace

std::string LookupIPAddress(const std::string& host)
{
    // Callers treat an empty result as "not resolved"; nothing may escape.
    try {
        const std::string_view name = Trimmed(host);
        if (name.empty()) {
            return {};
        }
        return Backend::Current().LookupIPAddress(std::string(name));
    } catch (...) {
        return {};
    }
}

void LookupIPAddressLater(const std::string& host, std::function<void(std::string)> done)
{
    const std::string_view name = Trimmed(host);
    if (name.empty()) {
        done({});
        return;
    }
    try {
        Backend::Current().LookupIPAddressLater(std::string(name), std::move(done));
    } catch (...) {
        done({});  // a lookup that could not even begin is an unresolved name
    }
}

}  // namespace ostrel::Network

namespace ostrel::Random {

int InRange(int low, int high)
{
    return Backend::Current().RandomInRange(low, high);
}

}  // namespace ostrel::Random
