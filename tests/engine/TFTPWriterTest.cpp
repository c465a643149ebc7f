// Sending a file, with the test playing the server in the simulation.

#include "SimTransferFixture.h"

#include <cerrno>

namespace ostrel {
namespace {

namespace pk = testsupport::packets;
using namespace std::string_literals;

class WriterTest : public SimTransferFixture {
protected:
    std::shared_ptr<TFTP_Writer> writer = TFTP_Writer::Create();

    // Starts sending `content` as "up.bin"; the write request is taken.
    void Start(const std::string& content)
    {
        ASSERT_TRUE(writer->StartTransfer(LocalFile("up.bin", content), ServerIP, "", 0));
        const auto request = OnlySent();
        EXPECT_EQ(request.data, pk::Request(2, "up.bin", "octet"));
        EXPECT_EQ(request.toPort, 69);
    }
};

TEST_F(WriterTest, SendsEachSizeClassInBlocksOf512)
{
    struct Case {
        std::size_t size;
        std::vector<std::size_t> payloads;
    };
    const Case cases[] = {
        {0, {0}},
        {512, {512, 0}},
        {513, {512, 1}},
        {1500, {512, 512, 476}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        writer = TFTP_Writer::Create();
        const std::string content = pk::Pattern(c.size);
        Start(content);
        EXPECT_EQ(writer->GetLastBlock(), 0);

        std::string delivered;
        for (std::size_t block = 0; block < c.payloads.size(); ++block) {
            FromServer(*writer, ServerPort, pk::Ack(block));
            const auto data = OnlySent();
            EXPECT_EQ(data.toPort, ServerPort);
            EXPECT_EQ(data.data.substr(0, 4), pk::Data(block + 1));
            EXPECT_EQ(data.data.size() - 4, c.payloads[block]);
            delivered += data.data.substr(4);
            EXPECT_EQ(writer->GetLastBlock(), static_cast<std::int64_t>(block + 1));
            const bool last = block + 1 == c.payloads.size();
            EXPECT_EQ(writer->GetStage(), last ? TransferStage::FinalBlock : TransferStage::Running);
        }
        FromServer(*writer, ServerPort, pk::Ack(c.payloads.size()));
        EXPECT_EQ(writer->GetStage(), TransferStage::Succeeded);
        EXPECT_TRUE(Sent().empty());
        EXPECT_EQ(delivered, content);
        world.Advance(30000);
        EXPECT_TRUE(Sent().empty()) << "no timer after the end";
    }
}

TEST_F(WriterTest, LearnsTheServerPortAndTurnsAwayStrangers)
{
    Start(pk::Pattern(2000));
    FromServer(*writer, ServerPort, pk::Ack(0));
    EXPECT_EQ(OnlySent().data.substr(0, 4), pk::Data(1));
    EXPECT_EQ(writer->TargetPort(), ServerPort);

    // The awaited ACK from another port of the server: ERROR 5 there,
    // nothing else changes.
    FromServer(*writer, ServerPort + 1, pk::Ack(1));
    const auto error = OnlySent();
    EXPECT_EQ(error.toPort, ServerPort + 1);
    EXPECT_EQ(error.data, "\x00\x05\x00\x05"s "Unknown transfer ID.\x00"s);
    EXPECT_EQ(writer->GetLastBlock(), 1);
    EXPECT_EQ(writer->GetStage(), TransferStage::Running);

    // The real server's ACK still moves the transfer on.
    FromServer(*writer, ServerPort, pk::Ack(1));
    const auto data = OnlySent();
    EXPECT_EQ(data.toPort, ServerPort);
    EXPECT_EQ(data.data.substr(0, 4), pk::Data(2));
}

TEST_F(WriterTest, SecondAck0FromAnotherPortRepeatsBlock1ToTheAdoptedPort)
{
    Start(pk::Pattern(2000));
    FromServer(*writer, ServerPort, pk::Ack(0));
    Sent();
    FromServer(*writer, ServerPort + 9, pk::Ack(0));
    const auto repeat = OnlySent();
    EXPECT_EQ(repeat.toPort, ServerPort);
    EXPECT_EQ(repeat.data.substr(0, 4), pk::Data(1));
    EXPECT_EQ(writer->TargetPort(), ServerPort);
}

TEST_F(WriterTest, IgnoresOtherAddressesAndPacketsASenderDoesNotAwait)
{
    Start(pk::Pattern(2000));
    world.Inject("192.0.2.8", ServerPort, writer->MyPort(), pk::Ack(0));
    world.Inject("192.0.2.8", ServerPort, writer->MyPort(), pk::Error(1, "File not found."));
    FromServer(*writer, ServerPort, pk::Data(1, "x"));
    FromServer(*writer, ServerPort, pk::Request(1, "up.bin", "octet"));
    FromServer(*writer, ServerPort, "\x00\x09\x00\x00"s);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(writer->GetLastBlock(), 0);
    EXPECT_EQ(writer->GetStage(), TransferStage::Running);
    // The timer runs on: the request is repeated on schedule.
    world.Advance(3000);
    EXPECT_EQ(OnlySent().data, pk::Request(2, "up.bin", "octet"));
}

TEST_F(WriterTest, DuplicateAcksRepeatTheBlockAndCountAgainstTheLimit)
{
    Start(pk::Pattern(5000));
    for (int block = 0; block < 4; ++block) {
        FromServer(*writer, ServerPort, pk::Ack(block));
    }
    Sent();
    for (int duplicate = 0; duplicate < 5; ++duplicate) {
        FromServer(*writer, ServerPort, pk::Ack(3));
        EXPECT_EQ(OnlySent().data.substr(0, 4), pk::Data(4));
    }
    EXPECT_EQ(writer->GetStage(), TransferStage::Running);
    FromServer(*writer, ServerPort, pk::Ack(3));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(writer->GetStage(), TransferStage::Failed);
    EXPECT_EQ(writer->TerminationErrorCode(), 0);
    EXPECT_EQ(writer->TerminationErrorString(), "No response from server.");
}

TEST_F(WriterTest, ProgressResetsTheRetryAllowance)
{
    Start(pk::Pattern(5000));
    FromServer(*writer, ServerPort, pk::Ack(0));
    for (int duplicate = 0; duplicate < 5; ++duplicate) {
        FromServer(*writer, ServerPort, pk::Ack(0));
    }
    FromServer(*writer, ServerPort, pk::Ack(1));
    for (int duplicate = 0; duplicate < 5; ++duplicate) {
        FromServer(*writer, ServerPort, pk::Ack(1));
    }
    EXPECT_EQ(writer->GetStage(), TransferStage::Running);
}

TEST_F(WriterTest, AServerErrorFromAnyPortEndsTheTransferWithItsBytes)
{
    const std::string text = "disk \xFF\x01<b>full</b>"s;
    Start("abc");
    FromServer(*writer, 7777, pk::Error(3, text));
    EXPECT_EQ(writer->GetStage(), TransferStage::Failed);
    EXPECT_EQ(writer->TerminationErrorCode(), 3);
    EXPECT_EQ(writer->TerminationErrorString(), text);
    EXPECT_TRUE(Sent().empty()) << "nothing is sent back";
}

TEST_F(WriterTest, AFileThatCannotBeReadFailsInsteadOfSendingItEmpty)
{
    // A folder opens as a file but every read of it fails.
    std::filesystem::create_directory(dir / "folder");
    EXPECT_FALSE(writer->StartTransfer(LocalFile("folder"), ServerIP, "", 0));
    EXPECT_EQ(writer->GetStage(), TransferStage::Failed);
    EXPECT_EQ(writer->TerminationErrorCode(), 0);
    EXPECT_EQ(writer->TerminationErrorString(), "Couldn't read file");
    EXPECT_TRUE(Sent().empty()) << "the server never hears of it";
    EXPECT_EQ(writer->MyTimer(), nullptr);
}

TEST_F(WriterTest, AMissingFileCannotBeOpened)
{
    EXPECT_FALSE(writer->StartTransfer(LocalFile("absent.bin"), ServerIP, "", 0));
    EXPECT_EQ(writer->GetStage(), TransferStage::Failed);
    EXPECT_EQ(writer->TerminationErrorString(), "Couldn't open file");
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(world.BoundPorts().empty());
}

}  // namespace
}  // namespace ostrel
