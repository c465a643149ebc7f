// The packet builders and readers, and the parsing of the server's address
// text, as tables of cases.

#include "engine/ServerAddress.h"
#include "engine/TFTP_Base.h"
#include "engine/TFTP_Reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace ostrel {
namespace {

using namespace std::string_literals;

struct BuiltPacket {
    const char* what;
    std::string built;
    std::string expected;
};

TEST(TFTPPackets, BuildersProduceTheWireLayout)
{
    const BuiltPacket cases[] = {
        {"write request, binary, no password", TFTP_Base::MakeRequestString(2, "a.bin", "octet", ""),
         "\x00\x02"s "a.bin\x00"s "octet\x00"s},
        {"read request, text, password", TFTP_Base::MakeRequestString(1, "a.bin", "netascii", "pw"),
         "\x00\x01"s "a.bin\x00"s "netascii\x00"s "pw\x00"s},
        {"error 5", TFTP_Base::MakeErrorPacketString(5), "\x00\x05\x00\x05"s "Unknown transfer ID.\x00"s},
        {"error 3", TFTP_Base::MakeErrorPacketString(3), "\x00\x05\x00\x03"s "Disk full or allocation exceeded.\x00"s},
        {"error outside the table", TFTP_Base::MakeErrorPacketString(9), "\x00\x05\x00\x09\x00"s},
        {"block 0", TFTP_Base::MakeBlockString(0), "\x00\x00"s},
        {"block 1", TFTP_Base::MakeBlockString(1), "\x00\x01"s},
        {"block 256", TFTP_Base::MakeBlockString(256), "\x01\x00"s},
        {"block 65535", TFTP_Base::MakeBlockString(65535), "\xFF\xFF"s},
        {"block 65536 wraps", TFTP_Base::MakeBlockString(65536), "\x00\x00"s},
        {"block 65537 wraps", TFTP_Base::MakeBlockString(65537), "\x00\x01"s},
        {"ack 1", TFTP_Reader::MakeACKString(1), "\x00\x04\x00\x01"s},
        {"ack past the rollover", TFTP_Reader::MakeACKString(65536 + 258), "\x00\x04\x01\x02"s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.built, c.expected) << c.what;
    }
    EXPECT_EQ(TFTP_Base::MakeRequestString(2, "a.bin", "octet", "").size(), 14u);
    EXPECT_EQ(TFTP_Base::MakeErrorPacketString(5).size(), 25u);
}

struct ReadPacket {
    const char* what;
    std::string packet;
    int opcode;
    int block;
    std::string errorMessage;
};

TEST(TFTPPackets, ReadersNeverFailAndNeverReadPastTheEnd)
{
    const ReadPacket cases[] = {
        {"4-byte error", "\x00\x05\x00\x01"s, 5, 1, "No error message."},
        {"5-byte error", "\x00\x05\x00\x01\x00"s, 5, 1, "No error message."},
        {"one-byte text", "\x00\x05\x00\x01\x41\x00"s, 5, 1, "A"},
        {"text without terminator loses its last byte", "\x00\x05\x00\x02" "abc"s, 5, 2, "ab"},
        {"zero bytes inside the text stay", "\x00\x05\x00\x00" "a\x00z\x00"s, 5, 0, "a\x00z"s},
        {"block 256", "\x00\x03\x01\x00"s, 3, 256, "No error message."},
        {"block 65535 is never negative", "\x00\x04\xFF\xFF"s, 4, 65535, "No error message."},
        {"the first byte is not examined", "\x07\x04\x00\x01"s, 4, 1, "No error message."},
        {"empty packet", ""s, 0, 0, "No error message."},
        {"one byte", "\x00"s, 0, 0, "No error message."},
        {"two bytes: the block reads as 0", "\x00\x03"s, 3, 0, "No error message."},
        {"three bytes: the missing low byte reads as 0", "\x00\x03\x02"s, 3, 512, "No error message."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TFTP_Base::GetOPCode(c.packet), c.opcode) << c.what;
        EXPECT_EQ(TFTP_Base::GetBlockNumber(c.packet), c.block) << c.what;
        EXPECT_EQ(TFTP_Base::GetErrorNumber(c.packet), c.block) << c.what;
        EXPECT_EQ(TFTP_Base::GetErrorMessage(c.packet), c.errorMessage) << c.what;
    }
}

struct AddressCase {
    const char* text;
    std::optional<std::pair<std::string, int>> expected;
};

TEST(ServerAddressText, HostAndOptionalPort)
{
    using HostPort = std::pair<std::string, int>;
    const AddressCase cases[] = {
        {"192.0.2.7", HostPort{"192.0.2.7", 69}},
        {"router.example", HostPort{"router.example", 69}},
        {"192.0.2.7:6969", HostPort{"192.0.2.7", 6969}},
        {"router.example:1", HostPort{"router.example", 1}},
        {"router.example:65535", HostPort{"router.example", 65535}},
        {"[2001:db8::7]:6969", HostPort{"2001:db8::7", 6969}},
        {"[2001:db8::7]", HostPort{"2001:db8::7", 69}},
        {"2001:db8::7", HostPort{"2001:db8::7", 69}},
        {"::1", HostPort{"::1", 69}},
        {"", std::nullopt},
        {":69", std::nullopt},
        {"[]:69", std::nullopt},
        {"host:", std::nullopt},
        {"host:0", std::nullopt},
        {"host:65536", std::nullopt},
        {"host:99999999999", std::nullopt},
        {"host:-1", std::nullopt},
        {"host:+69", std::nullopt},
        {"host:6x", std::nullopt},
        {"[2001:db8::7", std::nullopt},
        {"[2001:db8::7]6969", std::nullopt},
        {"[2001:db8::7]:", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto parsed = ServerAddress::Parse(c.text);
        ASSERT_EQ(parsed.has_value(), c.expected.has_value()) << c.text;
        if (parsed) {
            EXPECT_EQ(parsed->Host(), c.expected->first) << c.text;
            EXPECT_EQ(parsed->Port(), c.expected->second) << c.text;
        }
    }
}

}  // namespace
}  // namespace ostrel
