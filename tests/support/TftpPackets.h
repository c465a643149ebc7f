#pragma once
// TFTP packets spelled out byte by byte for tests that play the server, built
// independently of the engine's own builders.

#include <cstdint>
#include <string>

namespace ostrel::testsupport::packets {

inline std::string Header(int opcode, std::int64_t number)
{
    const auto wire = static_cast<int>(number % 65536);
    return {'\0', static_cast<char>(opcode), static_cast<char>(wire / 256), static_cast<char>(wire % 256)};
}

inline std::string Data(std::int64_t block, const std::string& payload = {})
{
    return Header(3, block) + payload;
}

inline std::string Ack(std::int64_t block)
{
    return Header(4, block);
}

inline std::string Error(int code, const std::string& text)
{
    return Header(5, code) + text + std::string(1, '\0');
}

inline std::string Request(int opcode, const std::string& name, const std::string& mode,
                           const std::string& password = {})
{
    std::string packet{'\0', static_cast<char>(opcode)};
    packet += name + std::string(1, '\0') + mode + std::string(1, '\0');
    if (!password.empty()) {
        packet += password + std::string(1, '\0');
    }
    return packet;
}

// Deterministic test content of any size, every byte value included.
inline std::string Pattern(std::size_t size, unsigned seed = 7)
{
    std::string bytes(size, '\0');
    std::uint32_t state = seed * 2654435761u + 1u;
    for (auto& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

}  // namespace ostrel::testsupport::packets
