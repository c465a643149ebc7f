#pragma once
// The server as the user typed it: a host name or address literal and an
// optional port, in the forms "host", "host:port", "192.0.2.7:6969",
// "[2001:db8::7]:6969", "[2001:db8::7]" and the bare IPv6 literal
// "2001:db8::7" (several colons and no brackets: an address without a port).

#include <optional>
#include <utility>
#include <string>
#include <string_view>

namespace ostrel {

class ServerAddress {
public:
    // The well-known TFTP port, used when the text names none.
    static constexpr int DefaultPort = 69;
    static constexpr int LowestPort = 1;
    static constexpr int HighestPort = 65535;

    // Empty when the text has no host, or a port that is not a number in
    // LowestPort..HighestPort.
    static std::optional<ServerAddress> Parse(std::string_view text);

    const std::string& Host() const { return host_; }
    int Port() const { return port_; }

private:
    ServerAddress(std::string host, int port) : host_(std::move(host)), port_(port) {}
    static std::optional<int> ParsePort(std::string_view digits);

    std::string host_;
    int port_ = DefaultPort;
};

}  // namespace ostrel
