// What both directions share: starting, resolving the server, binding,
// retransmission, aborting, socket errors and the timer's weak link. Each
// test runs for both directions.

#include "SimTransferFixture.h"

#include <cerrno>
#include <functional>

namespace ostrel {
namespace {

namespace pk = testsupport::packets;

struct Direction {
    const char* name;
    std::function<std::shared_ptr<TFTP_Base>()> make;
    int requestOpcode;
    // The server's first answer, which makes progress.
    std::string firstAnswer;
};

class TransferTest : public SimTransferFixture, public ::testing::WithParamInterface<Direction> {
protected:
    std::shared_ptr<TFTP_Base> transfer = GetParam().make();
    const std::string fileName = "file.bin";

    FolderItemPtr File() { return LocalFile(fileName, pk::Pattern(2000)); }
    bool Start(const std::string& address = ServerIP, const std::string& password = "", int mode = 0)
    {
        return transfer->StartTransfer(File(), address, password, mode);
    }
    std::string Request(const std::string& mode = "octet", const std::string& password = "") const
    {
        return pk::Request(GetParam().requestOpcode, fileName, mode, password);
    }
    bool IsWriter() const { return GetParam().requestOpcode == 2; }
};

TEST_P(TransferTest, TheRequestCarriesModeAndPasswordFromARandomPort)
{
    struct Case {
        int mode;
        const char* password;
        const char* modeString;
    };
    const Case cases[] = {{1, "", "netascii"}, {0, "", "octet"}, {2, "secret", "octet"}, {-1, "pw", "octet"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        world.QueueRandomValues({23456});
        transfer = GetParam().make();
        ASSERT_TRUE(Start(ServerIP, c.password, c.mode));
        EXPECT_EQ(transfer->MyPort(), 23456);
        const auto request = OnlySent();
        EXPECT_EQ(request.data, Request(c.modeString, c.password));
        EXPECT_EQ(request.fromPort, 23456);
        EXPECT_EQ(request.hopLimit, 255);
        EXPECT_EQ(transfer->GetStage(), TransferStage::Running);
        EXPECT_NE(transfer->MyTimer(), nullptr);
    }
}

TEST_P(TransferTest, LocalPortsAreDrawnIndependentlyFromTheAllowedRange)
{
    auto other = GetParam().make();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(other->StartTransfer(LocalFile("other.bin", "x"), ServerIP, "", 0));
    EXPECT_NE(transfer->MyPort(), other->MyPort());
    for (const auto& t : {transfer, other}) {
        EXPECT_GE(t->MyPort(), 10000);
        EXPECT_LE(t->MyPort(), 65000);
    }
}

TEST_P(TransferTest, AnObjectStartsOneTransferOnly)
{
    ASSERT_TRUE(Start());
    Sent();
    EXPECT_FALSE(Start("192.0.2.99"));
    EXPECT_EQ(transfer->GetStage(), TransferStage::Running);
    EXPECT_EQ(transfer->TargetAddress(), ServerIP);
    EXPECT_TRUE(Sent().empty());
}

TEST_P(TransferTest, WithoutAnswerTheRequestIsRepeatedFiveTimesThreeSecondsApart)
{
    ASSERT_TRUE(Start());
    std::vector<std::int64_t> times;
    for (int i = 0; i < 17; ++i) {
        world.Advance(1000);
        for (const auto& d : Sent()) {
            EXPECT_EQ(d.data, Request());
            EXPECT_EQ(d.toPort, 69);
            times.push_back(d.atMs);
        }
    }
    EXPECT_EQ(times, (std::vector<std::int64_t>{0, 3000, 6000, 9000, 12000, 15000}));
    EXPECT_EQ(transfer->GetStage(), TransferStage::Running);
    world.Advance(1000);
    EXPECT_EQ(transfer->GetStage(), TransferStage::Failed);
    EXPECT_EQ(transfer->TerminationErrorCode(), 0);
    EXPECT_EQ(transfer->TerminationErrorString(), "No response from server.");
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(world.BoundPorts().empty()) << "the socket is closed";
}

TEST_P(TransferTest, ProgressPushesTheNextExpiryAFullPeriodOn)
{
    ASSERT_TRUE(Start());
    Sent();
    world.Advance(2900);
    FromServer(*transfer, ServerPort, GetParam().firstAnswer);
    EXPECT_EQ(OnlySent().atMs, 2900);
    world.Advance(2999);
    EXPECT_TRUE(Sent().empty());
    world.Advance(1);
    const auto repeat = OnlySent();
    EXPECT_EQ(repeat.atMs, 5900);
    EXPECT_EQ(repeat.toPort, ServerPort);
}

TEST_P(TransferTest, AbortEndsARunningTransferQuietly)
{
    // Abort at each stage before the end: New, Running, FinalBlock.
    for (const int stage : {TransferStage::New, TransferStage::Running, TransferStage::FinalBlock}) {
        SCOPED_TRACE(stage);
        transfer = GetParam().make();
        if (stage != TransferStage::New) {
            LocalFile(fileName, IsWriter() ? "tiny" : "previous");
            ASSERT_TRUE(transfer->StartTransfer(LocalFile(fileName), ServerIP, "", 0));
        }
        if (stage == TransferStage::FinalBlock) {
            FromServer(*transfer, ServerPort, IsWriter() ? pk::Ack(0) : pk::Data(1, "tiny"));
        }
        ASSERT_EQ(transfer->GetStage(), stage);
        Sent();
        transfer->Abort();
        EXPECT_EQ(transfer->GetStage(), TransferStage::Failed);
        EXPECT_EQ(transfer->TerminationErrorCode(), 0);
        EXPECT_EQ(transfer->TerminationErrorString(), "Aborted");
        world.Advance(20000);
        EXPECT_TRUE(Sent().empty()) << "nothing to the server, and the timer is stopped";
        EXPECT_TRUE(world.BoundPorts().empty());
        if (stage != TransferStage::New) {
            EXPECT_EQ(Contents(fileName), IsWriter() ? "tiny" : "previous");
            EXPECT_EQ(dir.Listing(), fileName);
        }
    }
}

TEST_P(TransferTest, AbortAfterTheEndChangesNothing)
{
    ASSERT_TRUE(Start());
    FromServer(*transfer, ServerPort, pk::Error(2, "Access violation."));
    transfer->Abort();
    EXPECT_EQ(transfer->GetStage(), TransferStage::Failed);
    EXPECT_EQ(transfer->TerminationErrorCode(), 2);
    EXPECT_EQ(transfer->TerminationErrorString(), "Access violation.");
}

TEST_P(TransferTest, ABindFailureIsReportedWithTheSocketCode)
{
    LocalFile(fileName, "previous");
    world.FailNextBind(EADDRINUSE);
    EXPECT_FALSE(transfer->StartTransfer(LocalFile(fileName), ServerIP, "", 0));
    EXPECT_EQ(transfer->GetStage(), TransferStage::Failed);
    EXPECT_EQ(transfer->TerminationErrorCode(), EADDRINUSE);
    EXPECT_EQ(transfer->TerminationErrorString(), "Could not connect.");
    EXPECT_EQ(transfer->MyTimer(), nullptr);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(Contents(fileName), "previous");
    EXPECT_EQ(dir.Listing(), fileName);
}

TEST_P(TransferTest, AnAddressThatDoesNotResolveTouchesNothing)
{
    LocalFile(fileName, "previous");
    for (const char* address : {"no.such.host", "", "192.0.2.7:0", "192.0.2.7:70000", "192.0.2.7:tftp", "[::1"}) {
        SCOPED_TRACE(address);
        transfer = GetParam().make();
        EXPECT_FALSE(transfer->StartTransfer(LocalFile(fileName), address, "", 0));
        EXPECT_EQ(transfer->GetStage(), TransferStage::Failed);
        EXPECT_EQ(transfer->TerminationErrorCode(), 0);
        EXPECT_EQ(transfer->TerminationErrorString(), "Couldn't resolve address");
        EXPECT_EQ(transfer->MyTimer(), nullptr);
        EXPECT_EQ(transfer->MyFile(), nullptr);
    }
    transfer = GetParam().make();
    EXPECT_FALSE(transfer->StartTransfer(nullptr, ServerIP, "", 0));
    EXPECT_EQ(transfer->TerminationErrorString(), "Couldn't resolve address");
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(world.BoundPorts().empty());
    EXPECT_EQ(Contents(fileName), "previous");
    EXPECT_EQ(dir.Listing(), fileName);
}

TEST_P(TransferTest, ASlowNameLookupKeepsTheTransferWaitingWithoutBlocking)
{
    constexpr std::int64_t LookupMs = 700;
    world.SetLookupDelay(LookupMs);
    world.AddName("router.example", ServerIP);

    // Answered later: the call returns at once and nothing is bound or sent.
    EXPECT_TRUE(Start("router.example"));
    EXPECT_EQ(transfer->GetStage(), TransferStage::New);
    EXPECT_TRUE(world.BoundPorts().empty());
    EXPECT_TRUE(Sent().empty());
    EXPECT_FALSE(Start("router.example"));  // still one transfer per object
    world.Advance(LookupMs);
    EXPECT_EQ(transfer->GetStage(), TransferStage::Running);
    EXPECT_EQ(OnlySent().data, Request());

    // Aborted while looking up: the late answer starts nothing.
    transfer = GetParam().make();
    EXPECT_TRUE(Start("router.example"));
    transfer->Abort();
    EXPECT_EQ(transfer->TerminationErrorString(), "Aborted");
    world.Advance(LookupMs);
    EXPECT_EQ(transfer->GetStage(), TransferStage::Failed);
    EXPECT_EQ(transfer->TerminationErrorString(), "Aborted");
    EXPECT_TRUE(Sent().empty());

    // Released while looking up: the answer finds nobody.
    transfer = GetParam().make();
    EXPECT_TRUE(Start("router.example"));
    transfer->Teardown();
    transfer.reset();
    world.Advance(LookupMs);
    EXPECT_TRUE(Sent().empty());

    // A name nobody knows fails once the resolver has said so.
    transfer = GetParam().make();
    EXPECT_TRUE(Start("no.such.host"));
    world.Advance(LookupMs);
    EXPECT_EQ(transfer->GetStage(), TransferStage::Failed);
    EXPECT_EQ(transfer->TerminationErrorString(), "Couldn't resolve address");
    EXPECT_EQ(transfer->MyFile(), nullptr);
    EXPECT_TRUE(Sent().empty());
}

TEST_P(TransferTest, TheAddressMayNameThePortAndBeIPv6)
{
    world.AddName("router.example", "192.0.2.9");
    struct Case {
        const char* typed;
        const char* address;
        int port;
        const char* from;
    };
    const Case cases[] = {
        {"192.0.2.7:6969", "192.0.2.7", 6969, sim::SimWorld::LocalAddressV4},
        {"router.example", "192.0.2.9", 69, sim::SimWorld::LocalAddressV4},
        {"ROUTER.example:1069", "192.0.2.9", 1069, sim::SimWorld::LocalAddressV4},
        {"[2001:db8::7]:6969", "2001:db8::7", 6969, sim::SimWorld::LocalAddressV6},
        {"2001:db8::7", "2001:db8::7", 69, sim::SimWorld::LocalAddressV6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        transfer = GetParam().make();
        ASSERT_TRUE(Start(c.typed));
        const auto request = OnlySent();
        EXPECT_EQ(request.toAddress, c.address);
        EXPECT_EQ(request.toPort, c.port);
        EXPECT_EQ(request.fromAddress, c.from);
        EXPECT_EQ(transfer->TargetAddress(), c.address);

        // Answers are matched against the resolved address.
        world.Inject(c.address, ServerPort, transfer->MyPort(), GetParam().firstAnswer);
        const auto answer = OnlySent();
        EXPECT_EQ(answer.toPort, ServerPort);
        transfer->Abort();
    }
}

TEST_P(TransferTest, ASocketErrorEndsTheTransferWithItsCode)
{
    ASSERT_TRUE(Start());
    world.RaiseSocketError(transfer->MyPort(), 102);
    EXPECT_EQ(transfer->GetStage(), TransferStage::Failed);
    EXPECT_EQ(transfer->TerminationErrorCode(), 102);
    EXPECT_EQ(transfer->TerminationErrorString(), "An error of type 102 occurred");
}

TEST_P(TransferTest, TeardownSilencesTheTimerForGood)
{
    ASSERT_TRUE(Start());
    Sent();
    transfer->Teardown();
    EXPECT_EQ(transfer->MyTimer(), nullptr);
    world.Advance(20000);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(world.BoundPorts().empty());
}

TEST_P(TransferTest, TheTimerDoesNotKeepItsTransferAlive)
{
    ASSERT_TRUE(Start());
    std::weak_ptr<TFTP_Base> watched = transfer;
    TFTP_Timeout standalone(watched);
    EXPECT_EQ(standalone.MyObject(), transfer);
    standalone.SetMyObject(nullptr);
    EXPECT_EQ(standalone.MyObject(), nullptr);
    standalone.SetMyObject(transfer);
    transfer.reset();
    EXPECT_TRUE(watched.expired());
    EXPECT_EQ(standalone.MyObject(), nullptr);
    world.Advance(20000);  // the standalone timer expires with nobody to call
    EXPECT_EQ(Sent().size(), 1u) << "only the request, sent before";
}

INSTANTIATE_TEST_SUITE_P(
    BothDirections, TransferTest,
    ::testing::Values(Direction{"Writer", [] { return std::shared_ptr<TFTP_Base>(TFTP_Writer::Create()); }, 2,
                                pk::Ack(0)},
                      Direction{"Reader", [] { return std::shared_ptr<TFTP_Base>(TFTP_Reader::Create()); }, 1,
                                pk::Data(1, std::string(512, 'd'))}),
    [](const ::testing::TestParamInfo<Direction>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ostrel
