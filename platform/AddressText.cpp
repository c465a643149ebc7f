#include "platform/AddressText.h"

#include <arpa/inet.h>
#include <cstring>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>

namespace ostrel {

namespace {

// Longest text inet_pton accepts for an IPv6 address, zone excluded.
constexpr std::size_t MaxLiteralLength = INET6_ADDRSTRLEN + IF_NAMESIZE + 1;

bool ParseScoped(const char* text, int port, SocketAddress& out)
{
    addrinfo hints{};
    hints.ai_family = AF_INET6;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_NUMERICHOST;
    addrinfo* found = nullptr;
    if (::getaddrinfo(text, nullptr, &hints, &found) != 0 || found == nullptr) {
        return false;
    }
    std::memcpy(&out.storage, found->ai_addr, found->ai_addrlen);
    out.length = found->ai_addrlen;
    ::freeaddrinfo(found);
    reinterpret_cast<sockaddr_in6*>(&out.storage)->sin6_port = htons(static_cast<uint16_t>(port));
    return true;
}

}  // namespace

std::string_view AddressText::StripBrackets(std::string_view text)
{
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
        text.remove_prefix(1);
        text.remove_suffix(1);
    }
    return text;
}

std::optional<SocketAddress> AddressText::Parse(std::string_view text, int port)
{
    text = StripBrackets(text);
    if (text.empty() || text.size() > MaxLiteralLength || port < 0 || port > 0xFFFF) {
        return std::nullopt;
    }
    // inet_pton needs a terminated string; a literal is short enough for the
    // stack.
    char literal[MaxLiteralLength + 1];
    text.copy(literal, text.size());
    literal[text.size()] = '\0';
    if (std::strlen(literal) != text.size()) {
        return std::nullopt;  // an embedded NUL byte
    }

    SocketAddress out;
    auto* v4 = reinterpret_cast<sockaddr_in*>(&out.storage);
    if (::inet_pton(AF_INET, literal, &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<uint16_t>(port));
        out.length = sizeof(sockaddr_in);
        return out;
    }
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&out.storage);
    if (::inet_pton(AF_INET6, literal, &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<uint16_t>(port));
        out.length = sizeof(sockaddr_in6);
        return out;
    }
    if (text.find('%') != std::string_view::npos && ParseScoped(literal, port, out)) {
        return out;
    }
    return std::nullopt;
}

std::string AddressText::Format(const sockaddr* address)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (address->sa_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
        ::inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
        return text;
    }
    if (address->sa_family != AF_INET6) {
        return {};
    }
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
    if (IN6_IS_ADDR_V4MAPPED(&v6->sin6_addr)) {
        in_addr mapped{};
        std::memcpy(&mapped, v6->sin6_addr.s6_addr + 12, sizeof mapped);
        ::inet_ntop(AF_INET, &mapped, text, sizeof text);
        return text;
    }
    ::inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
    std::string result = text;
    if (v6->sin6_scope_id != 0) {
        char zone[IF_NAMESIZE] = {};
        result += '%';
        if (::if_indextoname(v6->sin6_scope_id, zone) != nullptr) {
            result += zone;
        } else {
            result += std::to_string(v6->sin6_scope_id);
        }
    }
    return result;
}

std::string AddressText::Canonical(std::string_view text)
{
    const std::optional<SocketAddress> parsed = Parse(text, 0);
    return parsed ? Format(parsed->Raw()) : std::string();
}

bool AddressText::IsIPv6Literal(std::string_view text)
{
    const std::optional<SocketAddress> parsed = Parse(text, 0);
    return parsed && parsed->Family() == AF_INET6;
}

}  // namespace ostrel
