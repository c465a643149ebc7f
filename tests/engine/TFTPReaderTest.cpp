// Receiving a file, with the test playing the server in the simulation.

#include "SimTransferFixture.h"

#include <sys/resource.h>

namespace ostrel {
namespace {

namespace pk = testsupport::packets;
using namespace std::string_literals;

class ReaderTest : public SimTransferFixture {
protected:
    std::shared_ptr<TFTP_Reader> reader = TFTP_Reader::Create();

    // Starts receiving into "down.bin"; the read request is taken.
    void Start()
    {
        ASSERT_TRUE(reader->StartTransfer(LocalFile("down.bin"), ServerIP, "", 0));
        const auto request = OnlySent();
        EXPECT_EQ(request.data, pk::Request(1, "down.bin", "octet"));
        EXPECT_EQ(request.toPort, 69);
        EXPECT_EQ(reader->GetLastBlock(), 1);
    }

    // Serves `content` as blocks 1..n from ServerPort, checking each ACK.
    void Serve(const std::string& content)
    {
        const std::size_t blocks = content.size() / 512 + 1;
        for (std::size_t block = 1; block <= blocks; ++block) {
            FromServer(*reader, ServerPort, pk::Data(block, content.substr((block - 1) * 512, 512)));
            const auto ack = OnlySent();
            EXPECT_EQ(ack.data, pk::Ack(block));
            EXPECT_EQ(ack.toPort, ServerPort);
            EXPECT_EQ(reader->GetLastBlock(), static_cast<std::int64_t>(block + 1));
        }
    }

    std::string Listing() const { return dir.Listing(); }
};

TEST_F(ReaderTest, ReceivesEachSizeClassAndLingersBeforeSucceeding)
{
    for (const std::size_t size : {0, 512, 513, 1500}) {
        SCOPED_TRACE(size);
        reader = TFTP_Reader::Create();
        const std::string content = pk::Pattern(size);
        Start();
        Serve(content);
        EXPECT_EQ(reader->GetStage(), TransferStage::FinalBlock);
        world.Advance(2999);
        EXPECT_EQ(reader->GetStage(), TransferStage::FinalBlock);
        world.Advance(1);
        EXPECT_EQ(reader->GetStage(), TransferStage::Succeeded);
        EXPECT_TRUE(Sent().empty()) << "the end sends nothing more";
        EXPECT_EQ(Contents("down.bin"), content);
        EXPECT_EQ(Listing(), "down.bin") << "no temporary file is left";
    }
}

TEST_F(ReaderTest, LingeringEndsAtOnceOnARepeatOrTheNextBlock)
{
    struct Case {
        const char* what;
        int port;
        std::string packet;
    };
    const Case cases[] = {
        {"the server repeats its last block", ServerPort, pk::Data(2, "end")},
        {"the same repeat from another port", ServerPort + 1, pk::Data(2, "end")},
        {"the block after the last", ServerPort, pk::Data(3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reader = TFTP_Reader::Create();
        Start();
        FromServer(*reader, ServerPort, pk::Data(1, std::string(512, 'a')));
        FromServer(*reader, ServerPort, pk::Data(2, "end"));
        Sent();
        FromServer(*reader, c.port, c.packet);
        EXPECT_EQ(reader->GetStage(), TransferStage::Succeeded);
        EXPECT_TRUE(Sent().empty()) << "no further ACK";
        EXPECT_EQ(Contents("down.bin"), std::string(512, 'a') + "end");
    }
}

TEST_F(ReaderTest, WhileLingeringAStrangerIsTurnedAwayAndAnErrorStillFails)
{
    LocalFile("down.bin", "previous");
    Start();
    FromServer(*reader, ServerPort, pk::Data(1, "short"));
    Sent();
    FromServer(*reader, ServerPort + 1, pk::Data(2));
    EXPECT_EQ(OnlySent().data, pk::Error(5, "Unknown transfer ID."));
    EXPECT_EQ(reader->GetStage(), TransferStage::FinalBlock);

    FromServer(*reader, ServerPort, pk::Error(0, "changed my mind"));
    EXPECT_EQ(reader->GetStage(), TransferStage::Failed);
    EXPECT_EQ(reader->TerminationErrorString(), "changed my mind");
    EXPECT_EQ(Contents("down.bin"), "previous");
    EXPECT_EQ(Listing(), "down.bin");
}

TEST_F(ReaderTest, LearnsTheServerPortFromBlock1AndTurnsAwayStrangers)
{
    Start();
    FromServer(*reader, 4000, pk::Data(1, std::string(512, 'a')));
    EXPECT_EQ(OnlySent().toPort, 4000);
    EXPECT_EQ(reader->TargetPort(), 4000);

    FromServer(*reader, 4001, pk::Data(2, "stranger"));
    const auto error = OnlySent();
    EXPECT_EQ(error.toPort, 4001);
    EXPECT_EQ(error.data, "\x00\x05\x00\x05"s "Unknown transfer ID.\x00"s);
    EXPECT_EQ(reader->GetLastBlock(), 2) << "block 2 is neither acknowledged nor stored";

    // Retransmissions go to the learned port.
    world.Advance(3000);
    const auto repeat = OnlySent();
    EXPECT_EQ(repeat.toPort, 4000);
    EXPECT_EQ(repeat.data, pk::Ack(1));

    FromServer(*reader, 4000, pk::Data(2, "real"));
    EXPECT_EQ(OnlySent().data, pk::Ack(2));
    world.Advance(3000);
    EXPECT_EQ(Contents("down.bin"), std::string(512, 'a') + "real");
}

TEST_F(ReaderTest, ARepeatedBlockRepeatsTheLastAckAndCountsAgainstTheLimit)
{
    Start();
    for (int block = 1; block <= 3; ++block) {
        FromServer(*reader, ServerPort, pk::Data(block, std::string(512, 'x')));
    }
    Sent();
    for (int repeat = 0; repeat < 5; ++repeat) {
        FromServer(*reader, ServerPort, pk::Data(3, std::string(512, 'x')));
        EXPECT_EQ(OnlySent().data, pk::Ack(3));
    }
    FromServer(*reader, ServerPort, pk::Data(3, std::string(512, 'x')));
    EXPECT_EQ(reader->GetStage(), TransferStage::Failed);
    EXPECT_EQ(reader->TerminationErrorString(), "No response from server.");
    EXPECT_EQ(Listing(), "") << "the partial file is gone";
}

TEST_F(ReaderTest, IgnoresOtherAddressesAndPacketsAReceiverDoesNotAwait)
{
    Start();
    world.Inject("192.0.2.8", ServerPort, reader->MyPort(), pk::Data(1, "x"));
    world.Inject("192.0.2.8", ServerPort, reader->MyPort(), pk::Error(1, "no"));
    FromServer(*reader, ServerPort, pk::Ack(1));
    FromServer(*reader, ServerPort, pk::Request(2, "down.bin", "octet"));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(reader->GetLastBlock(), 1);
    EXPECT_EQ(reader->GetStage(), TransferStage::Running);
}

TEST_F(ReaderTest, AFailedReceiveLeavesAnExistingFileAsItWas)
{
    LocalFile("down.bin", "keep me");
    Start();
    EXPECT_EQ(Contents("down.bin"), "keep me") << "untouched while receiving";
    FromServer(*reader, ServerPort, pk::Error(1, "File not found"));
    EXPECT_EQ(reader->GetStage(), TransferStage::Failed);
    EXPECT_EQ(reader->TerminationErrorCode(), 1);
    EXPECT_EQ(reader->TerminationErrorString(), "File not found");
    EXPECT_EQ(Contents("down.bin"), "keep me");
    EXPECT_EQ(Listing(), "down.bin");
}

TEST_F(ReaderTest, ASuccessfulReceiveReplacesAnExistingFile)
{
    LocalFile("down.bin", std::string(5000, 'o'));
    Start();
    Serve("new");
    world.Advance(3000);
    EXPECT_EQ(reader->GetStage(), TransferStage::Succeeded);
    EXPECT_EQ(Contents("down.bin"), "new");
    EXPECT_EQ(Listing(), "down.bin");
}

TEST_F(ReaderTest, ATakenTemporaryNameIsLeftAloneAndAnotherIsUsed)
{
    LocalFile(".down.bin.part", "someone else's");
    Start();
    ASSERT_NE(reader->TemporaryFile(), nullptr);
    EXPECT_NE(reader->TemporaryFile()->Name(), ".down.bin.part");
    Serve("data");
    world.Advance(3000);
    EXPECT_EQ(reader->GetStage(), TransferStage::Succeeded);
    EXPECT_EQ(Contents("down.bin"), "data");
    EXPECT_EQ(Contents(".down.bin.part"), "someone else's");
    EXPECT_EQ(Listing(), ".down.bin.part down.bin");
}

TEST_F(ReaderTest, AFullDiskSendsError3AndFails)
{
    LocalFile("down.bin", "keep me");
    Start();
    struct FileSizeLimit {
        rlimit saved{};
        explicit FileSizeLimit(rlim_t bytes)
        {
            getrlimit(RLIMIT_FSIZE, &saved);
            rlimit limited = saved;
            limited.rlim_cur = bytes;
            setrlimit(RLIMIT_FSIZE, &limited);
        }
        ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
    };
    {
        const FileSizeLimit limit(1024);
        FromServer(*reader, ServerPort, pk::Data(1, std::string(512, 'a')));
        FromServer(*reader, ServerPort, pk::Data(2, std::string(512, 'b')));
        EXPECT_EQ(reader->GetStage(), TransferStage::Running);
        Sent();
        FromServer(*reader, ServerPort, pk::Data(3, std::string(512, 'c')));
    }
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].data, pk::Ack(3));
    EXPECT_EQ(sent[1].data, pk::Error(3, "Disk full or allocation exceeded."));
    EXPECT_EQ(sent[1].toPort, ServerPort);
    EXPECT_EQ(reader->GetStage(), TransferStage::Failed);
    EXPECT_EQ(reader->TerminationErrorCode(), 3);
    EXPECT_EQ(reader->TerminationErrorString(), "Disk full or allocation exceeded.");
    EXPECT_EQ(Contents("down.bin"), "keep me");
    EXPECT_EQ(Listing(), "down.bin");
}

TEST_F(ReaderTest, AFileThatCannotBeMovedIntoPlaceFailsTheTransfer)
{
    // A folder holds the target's name: the received file cannot replace it.
    std::filesystem::create_directory(dir / "down.bin");
    Start();
    Serve("data");
    world.Advance(3000);
    EXPECT_EQ(reader->GetStage(), TransferStage::Failed);
    EXPECT_EQ(reader->TerminationErrorCode(), 0);
    EXPECT_EQ(reader->TerminationErrorString(), "Couldn't save the received file");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "down.bin"));
    EXPECT_EQ(Listing(), "down.bin");
}

TEST_F(ReaderTest, AFolderThatRefusesNewFilesCannotReceive)
{
    EXPECT_FALSE(reader->StartTransfer(std::make_shared<FolderItem>(dir / "missing" / "down.bin"),
                                       ServerIP, "", 0));
    EXPECT_EQ(reader->GetStage(), TransferStage::Failed);
    EXPECT_EQ(reader->TerminationErrorString(), "Couldn't open file");
    EXPECT_TRUE(Sent().empty());
}

TEST_F(ReaderTest, ReleasingARunningReceiveLeavesNoPartialFile)
{
    Start();
    FromServer(*reader, ServerPort, pk::Data(1, std::string(512, 'a')));
    reader.reset();
    EXPECT_EQ(Listing(), "");
}

}  // namespace
}  // namespace ostrel
