// Whole files against a scripted TFTP server in the simulation: past the
// 16-bit block number, and over a lossy network.

#include "SimTransferFixture.h"
#include "support/ScriptedTftpServer.h"

namespace ostrel {
namespace {

namespace pk = testsupport::packets;

// 70 000 blocks: well past block 65535.
constexpr std::size_t RolloverFileSize = 70000 * 512 + 100;
constexpr std::int64_t StepMs = 1000;
constexpr std::int64_t VirtualDeadlineMs = 24 * 3600 * 1000;

class BulkTransferTest : public SimTransferFixture {
protected:
    testsupport::ScriptedTftpServer server{world, ServerIP};
    bool sawWireBlockZero = false;
    std::size_t datagramsSent = 0;

    // Advances virtual time until the transfer ends, discarding the log of
    // datagrams on the way (noting whether wire block 0 went by).
    void RunToTheEnd(const TFTP_Base& transfer)
    {
        while (!TransferStage::HasEnded(transfer.GetStage()) && world.Now() < VirtualDeadlineMs) {
            world.Advance(StepMs);
            for (const auto& d : Sent()) {
                ++datagramsSent;
                // Only a block counter past 65535 puts DATA 0 or ACK 0 on
                // the wire from this side.
                const bool dataOrAck = d.data.size() >= 4 && (d.data[1] == 3 || d.data[1] == 4);
                sawWireBlockZero = sawWireBlockZero || (dataOrAck && d.data[2] == 0 && d.data[3] == 0);
            }
        }
    }
};

TEST_F(BulkTransferTest, SendingPastBlock65535WrapsTheWireNumberAndKeepsCounting)
{
    world.SetLatency(1);
    const std::string content = pk::Pattern(RolloverFileSize);
    auto writer = TFTP_Writer::Create();
    ASSERT_TRUE(writer->StartTransfer(LocalFile("big.bin", content), ServerIP, "", 0));
    RunToTheEnd(*writer);
    ASSERT_EQ(writer->GetStage(), TransferStage::Succeeded) << writer->TerminationErrorString();
    EXPECT_EQ(writer->GetLastBlock(), 70001);
    EXPECT_TRUE(sawWireBlockZero);
    ASSERT_TRUE(server.File("big.bin").has_value());
    EXPECT_TRUE(*server.File("big.bin") == content) << "byte for byte";
}

TEST_F(BulkTransferTest, ReceivingPastBlock65535WrapsTheWireNumberAndKeepsCounting)
{
    world.SetLatency(1);
    const std::string content = pk::Pattern(RolloverFileSize, 11);
    server.SetFile("big.bin", content);
    auto reader = TFTP_Reader::Create();
    ASSERT_TRUE(reader->StartTransfer(LocalFile("big.bin"), ServerIP, "", 0));
    RunToTheEnd(*reader);
    ASSERT_EQ(reader->GetStage(), TransferStage::Succeeded) << reader->TerminationErrorString();
    EXPECT_EQ(reader->GetLastBlock(), 70002);
    EXPECT_TRUE(sawWireBlockZero);
    EXPECT_TRUE(Contents("big.bin") == content) << "byte for byte";
}

TEST_F(BulkTransferTest, ALossyNetworkStillDeliversEveryByteBothWays)
{
    world.SetLatency(5);
    world.SetDropRate(0.1, 20240611);
    const std::string upload = pk::Pattern(100 * 1024 + 7, 3);
    const std::string download = pk::Pattern(100 * 1024 + 9, 5);
    server.SetFile("down.bin", download);

    auto writer = TFTP_Writer::Create();
    auto reader = TFTP_Reader::Create();
    ASSERT_TRUE(writer->StartTransfer(LocalFile("up.bin", upload), ServerIP, "", 0));
    ASSERT_TRUE(reader->StartTransfer(LocalFile("down.bin"), ServerIP, "", 1));
    RunToTheEnd(*writer);
    RunToTheEnd(*reader);

    ASSERT_EQ(writer->GetStage(), TransferStage::Succeeded) << writer->TerminationErrorString();
    ASSERT_EQ(reader->GetStage(), TransferStage::Succeeded) << reader->TerminationErrorString();
    EXPECT_TRUE(server.File("up.bin") == upload);
    EXPECT_TRUE(Contents("down.bin") == download);
    EXPECT_EQ(dir.Listing(), "down.bin up.bin");
    // 201 blocks each way plus the two requests, if nothing had been lost.
    EXPECT_GT(datagramsSent, 404u) << "losses were recovered by retransmission";
}

}  // namespace
}  // namespace ostrel
