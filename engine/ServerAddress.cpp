#include "engine/ServerAddress.h"

#include <algorithm>
#include <charconv>

namespace ostrel {

std::optional<int> ServerAddress::ParsePort(std::string_view digits)
{
    const bool allDigits = !digits.empty()
        && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!allDigits) {
        return std::nullopt;
    }
    int port = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;  // too large for an int
    }
    if (port < LowestPort || port > HighestPort) {
        return std::nullopt;
    }
    return port;
}

std::optional<ServerAddress> ServerAddress::Parse(std::string_view text)
{
    std::string_view host = text;
    std::string_view portText;
    bool hasPort = false;

    if (!text.empty() && text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        host = text.substr(1, close - 1);
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') {
                return std::nullopt;
            }
            portText = rest.substr(1);
            hasPort = true;
        }
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        const auto colon = text.find(':');
        host = text.substr(0, colon);
        portText = text.substr(colon + 1);
        hasPort = true;
    }
    // Otherwise no colon (a name or IPv4 literal), or several (a bare IPv6
    // literal): the whole text is the host.

    if (host.empty()) {
        return std::nullopt;
    }
    int port = DefaultPort;
    if (hasPort) {
        const auto parsed = ParsePort(portText);
        if (!parsed) {
            return std::nullopt;
        }
        port = *parsed;
    }
    return ServerAddress(std::string(host), port);
}

}  // namespace ostrel
