#pragma once
// Converts between numeric address texts and socket addresses, in the one
// text form the whole program uses for an address: dotted IPv4 (also for an
// IPv4-mapped IPv6 address), compressed IPv6 without brackets, and the zone
// of a scoped IPv6 address after a "%". Name lookup and received datagrams
// both go through here, so their texts compare equal.

#include <optional>
#include <string>
#include <string_view>
#include <sys/socket.h>

namespace ostrel {

struct SocketAddress {
    sockaddr_storage storage{};
    socklen_t length = 0;

    int Family() const { return storage.ss_family; }
    const sockaddr* Raw() const { return reinterpret_cast<const sockaddr*>(&storage); }
};

class AddressText {
public:
    // The text without surrounding brackets: "[::1]" reads as "::1".
    static std::string_view StripBrackets(std::string_view text);
    // A numeric IPv4 or IPv6 literal with the given port; nothing when the
    // text is not a literal.
    static std::optional<SocketAddress> Parse(std::string_view text, int port);
    // The address part of `address` in the program's text form.
    static std::string Format(const sockaddr* address);
    // The canonical text of a literal; empty when the text is not a literal.
    static std::string Canonical(std::string_view text);
    // True when the text is an IPv6 literal (IPv4-mapped ones included).
    static bool IsIPv6Literal(std::string_view text);
};

}  // namespace ostrel
