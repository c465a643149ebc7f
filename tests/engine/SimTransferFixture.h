#pragma once
// A simulated world for engine tests: the test plays the TFTP server at
// ServerIP, starts transfers against it, answers from any port and
// watches every datagram the transfer writes, in virtual time.

#include "engine/TFTP_Reader.h"
#include "engine/TFTP_Writer.h"
#include "platform/sim/SimWorld.h"
#include "support/TempDir.h"
#include "support/TftpPackets.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ostrel {

class SimTransferFixture : public ::testing::Test {
protected:
    static constexpr const char* ServerIP = "192.0.2.7";
    static constexpr int ServerPort = 3456;

    sim::SimWorld world;
    testsupport::TempDir dir;

    FolderItemPtr LocalFile(const std::string& name) const
    {
        return std::make_shared<FolderItem>(dir / name);
    }
    FolderItemPtr LocalFile(const std::string& name, const std::string& content) const
    {
        testsupport::TempDir::WriteFile(dir / name, content);
        return LocalFile(name);
    }
    std::string Contents(const std::string& name) const { return testsupport::TempDir::ReadFile(dir / name); }

    // From the server's address at `port` to the transfer's local port.
    void FromServer(const TFTP_Base& transfer, int port, const std::string& data)
    {
        world.Inject(ServerIP, port, transfer.MyPort(), data);
    }
    std::vector<sim::SentDatagram> Sent() { return world.TakeSent(); }
    // Exactly one datagram was written since the last look; returns it.
    sim::SentDatagram OnlySent()
    {
        auto sent = Sent();
        EXPECT_EQ(sent.size(), 1u);
        return sent.empty() ? sim::SentDatagram{} : sent.front();
    }
};

}  // namespace ostrel
