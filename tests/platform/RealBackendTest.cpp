// The real backend on loopback: datagrams between two sockets, the sender's
// address text, notification rules, bind failures, Qt-driven timers and the
// host's name lookup. Traffic never leaves 127.0.0.1 / ::1.

#include "platform/AddressText.h"
#include "platform/Network.h"
#include "platform/Timer.h"
#include "platform/UDPSocket.h"
#include "support/QtEventLoopEnvironment.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <functional>
#include <memory>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace ostrel {
namespace {

constexpr int PumpTimeoutMs = 5000;

using testsupport::QtEventLoopEnvironment;

const auto* const qtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEventLoopEnvironment("platform_real_backend_test"));

// Runs the event loop until `done` holds or the time runs out.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = PumpTimeoutMs)
{
    return QtEventLoopEnvironment::PumpUntil(done, timeoutMs);
}

// Runs whatever is ready now, a few rounds, without waiting.
void Drain()
{
    for (int round = 0; round < 20; ++round) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

class LoggingSocket : public UDPSocket {
public:
    int dataNotices = 0;
    int sendNotices = 0;
    std::vector<int> errors;
    std::vector<Datagram> received;
    bool readInHandler = true;
    std::function<void()> onData;

protected:
    void Event_DataAvailable() override
    {
        ++dataNotices;
        if (readInHandler) {
            received.push_back(Read());
        }
        if (onData) {
            onData();
        }
    }
    void Event_Error() override { errors.push_back(LastErrorCode()); }
    void Event_SendComplete() override { ++sendNotices; }
};

std::unique_ptr<LoggingSocket> Bound(const std::string& peerHint, int port = 0)
{
    auto socket = std::make_unique<LoggingSocket>();
    socket->SetPort(port);
    socket->SetPeerAddressHint(peerHint);
    socket->Connect();
    return socket;
}

Datagram To(const std::string& address, int port, std::string data)
{
    Datagram datagram;
    datagram.Address = address;
    datagram.Port = port;
    datagram.Data = std::move(data);
    return datagram;
}

bool HostHasIPv6Loopback()
{
    const int fd = ::socket(AF_INET6, SOCK_DGRAM, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_loopback;
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// ---------------------------------------------------------------- sockets

struct LoopbackCase {
    const char* name;
    const char* senderHint;    // the family the sender binds in
    const char* receiverHint;  // the family the receiver binds in
    const char* sendTo;        // the address the sender writes to
    bool needsIPv6;
};

class LoopbackExchange : public ::testing::TestWithParam<LoopbackCase> {};

TEST_P(LoopbackExchange, DatagramArrivesWithSenderAddressAsLookupGivesIt)
{
    const LoopbackCase& c = GetParam();
    if (c.needsIPv6 && !HostHasIPv6Loopback()) {
        GTEST_SKIP() << "no IPv6 loopback on this host";
    }
    auto receiver = Bound(c.receiverHint);
    auto sender = Bound(c.senderHint);
    ASSERT_TRUE(receiver->IsConnected()) << receiver->LastErrorCode();
    ASSERT_TRUE(sender->IsConnected()) << sender->LastErrorCode();
    ASSERT_GT(receiver->Port(), 0);

    const std::string payload("\0\3\0\1 raw \xff bytes", 16);
    sender->Write(To(c.sendTo, receiver->Port(), payload));
    EXPECT_EQ(sender->sendNotices, 0) << "notified inside Write";
    ASSERT_TRUE(PumpUntil([&] { return receiver->dataNotices == 1; }));

    const Datagram& got = receiver->received.at(0);
    EXPECT_EQ(got.Data, payload);
    EXPECT_EQ(got.Address, Network::LookupIPAddress(c.sendTo));
    EXPECT_EQ(got.Port, sender->Port());
    EXPECT_TRUE(PumpUntil([&] { return sender->sendNotices == 1; }));
    EXPECT_TRUE(sender->errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    RealSocket, LoopbackExchange,
    ::testing::Values(LoopbackCase{"IPv4", "127.0.0.1", "127.0.0.1", "127.0.0.1", false},
                      LoopbackCase{"IPv6", "::1", "::1", "::1", true},
                      // a dual-stack IPv6 socket shows an IPv4 sender as dotted IPv4
                      LoopbackCase{"IPv4ToDualStack", "127.0.0.1", "::1", "127.0.0.1", true},
                      LoopbackCase{"DualStackToIPv4", "::1", "127.0.0.1", "127.0.0.1", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RealSocket, OneNoticePerWaitingDatagramAndNoSpinWhileUnread)
{
    auto receiver = Bound("127.0.0.1");
    auto sender = Bound("127.0.0.1");
    receiver->readInHandler = false;
    for (const char* text : {"one", "two", "three"}) {
        sender->Write(To("127.0.0.1", receiver->Port(), text));
    }
    ASSERT_TRUE(PumpUntil([&] { return receiver->dataNotices == 1; }));
    Drain();
    EXPECT_EQ(receiver->dataNotices, 1) << "an unread datagram is announced once";

    receiver->readInHandler = true;
    EXPECT_EQ(receiver->Read().Data, "one");
    ASSERT_TRUE(PumpUntil([&] { return receiver->dataNotices == 3; }));
    ASSERT_EQ(receiver->received.size(), 2u);
    EXPECT_EQ(receiver->received[0].Data, "two");
    EXPECT_EQ(receiver->received[1].Data, "three");
    Drain();
    EXPECT_EQ(receiver->dataNotices, 3);
    EXPECT_EQ(receiver->Read().Data, "");
}

TEST(RealSocket, SocketMayBeClosedOrDestroyedInsideDataAvailable)
{
    auto closing = Bound("127.0.0.1");
    auto destroyed = Bound("127.0.0.1");
    auto sender = Bound("127.0.0.1");
    closing->onData = [&] { closing->Close(); };
    int destroyedNotices = 0;
    destroyed->onData = [&] {
        ++destroyedNotices;
        destroyed.reset();
    };
    const int destroyedPort = destroyed->Port();
    for (int i = 0; i < 3; ++i) {
        sender->Write(To("127.0.0.1", closing->Port(), "x"));
        sender->Write(To("127.0.0.1", destroyedPort, "y"));
    }
    ASSERT_TRUE(PumpUntil([&] { return closing->dataNotices == 1 && destroyedNotices == 1; }));
    Drain();
    EXPECT_EQ(closing->dataNotices, 1);
    EXPECT_FALSE(closing->IsConnected());
    EXPECT_EQ(destroyedNotices, 1);
}

TEST(RealSocket, BindToPortInUseFailsWithOsError)
{
    auto first = Bound("127.0.0.1");
    ASSERT_TRUE(first->IsConnected());
    EXPECT_EQ(first->LastErrorCode(), 0);

    auto second = Bound("127.0.0.1", first->Port());
    EXPECT_FALSE(second->IsConnected());
    EXPECT_EQ(second->LastErrorCode(), EADDRINUSE);
    EXPECT_EQ(second->Port(), first->Port()) << "the asked-for port stays";

    first->Close();
    EXPECT_FALSE(first->IsConnected());
    second->Connect();
    EXPECT_TRUE(second->IsConnected());
    EXPECT_EQ(second->LastErrorCode(), 0);
}

TEST(RealSocket, SendFailuresArriveLaterAsErrorAndNothingFollowsClose)
{
    auto socket = Bound("127.0.0.1");
    socket->Write(To("::1", 69, "x"));             // IPv6 peer from an IPv4 socket
    socket->Write(To("not an address", 69, "x"));  // not numeric
    EXPECT_TRUE(socket->errors.empty()) << "raised inside Write";
    ASSERT_TRUE(PumpUntil([&] { return socket->errors.size() == 2; }));
    EXPECT_EQ(socket->errors, (std::vector<int>{EAFNOSUPPORT, EINVAL}));
    EXPECT_EQ(socket->LastErrorCode(), EINVAL);

    auto quiet = Bound("127.0.0.1");
    quiet->Write(To("::1", 69, "x"));
    quiet->Write(To("127.0.0.1", quiet->Port(), "to itself"));
    quiet->Close();
    Drain();
    EXPECT_TRUE(quiet->errors.empty());
    EXPECT_EQ(quiet->sendNotices, 0);
    EXPECT_EQ(quiet->dataNotices, 0);
}

// ---------------------------------------------------------------- timers

TEST(RealTimer, SingleShotFiresOnceNotBeforeItsPeriodSinceLastStart)
{
    constexpr int periodMs = 40;
    Timer timer;
    QElapsedTimer sinceStart;
    std::vector<qint64> fired;
    timer.Action = [&] { fired.push_back(sinceStart.elapsed()); };
    timer.SetPeriod(periodMs);
    timer.SetMode(Timer::ModeSingle);
    sinceStart.start();

    // A restart halfway pushes the expiry a full period on.
    ASSERT_TRUE(PumpUntil([&] { return sinceStart.elapsed() >= periodMs / 2; }));
    timer.SetMode(Timer::ModeSingle);
    sinceStart.restart();
    ASSERT_TRUE(PumpUntil([&] { return !fired.empty(); }));
    EXPECT_GE(fired[0], periodMs);
    EXPECT_EQ(timer.Mode(), Timer::ModeOff);

    QElapsedTimer after;
    after.start();
    PumpUntil([&] { return after.elapsed() >= 3 * periodMs; });
    EXPECT_EQ(fired.size(), 1u);
}

TEST(RealTimer, RepeatingTimerMayBeStoppedOrDestroyedInsideItsAction)
{
    Timer stopped;
    int stoppedFired = 0;
    stopped.SetPeriod(5);
    stopped.Action = [&] {
        if (++stoppedFired == 3) {
            stopped.SetMode(Timer::ModeOff);
        }
    };
    stopped.SetMode(Timer::ModeMultiple);

    auto destroyed = std::make_unique<Timer>();
    int destroyedFired = 0;
    destroyed->SetPeriod(5);
    destroyed->Action = [&] {
        ++destroyedFired;
        destroyed.reset();
    };
    destroyed->SetMode(Timer::ModeMultiple);

    auto neverRuns = std::make_unique<Timer>();
    bool neverRan = true;
    neverRuns->SetPeriod(1);
    neverRuns->Action = [&] { neverRan = false; };
    neverRuns->SetMode(Timer::ModeSingle);
    neverRuns.reset();

    ASSERT_TRUE(PumpUntil([&] { return stoppedFired == 3 && destroyedFired == 1; }));
    QElapsedTimer after;
    after.start();
    PumpUntil([&] { return after.elapsed() >= 50; });
    EXPECT_EQ(stoppedFired, 3);
    EXPECT_EQ(destroyedFired, 1);
    EXPECT_TRUE(neverRan);
}

// ---------------------------------------------------------------- lookup

TEST(RealNetwork, LookupIPAddressTable)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"127.0.0.1", "127.0.0.1"},
        {"::1", "::1"},
        {"[::1]", "::1"},
        {"0:0:0:0:0:0:0:1", "::1"},
        {"::ffff:127.0.0.1", "127.0.0.1"},
        {"localhost", "127.0.0.1"},  // IPv4 preferred when a name has both
        {" 127.0.0.1 ", "127.0.0.1"},
        {"", ""},
        {"no.such.host.invalid", ""},
        {"127.0.0.1:69", ""},
        {std::string("127.0.0.1\0x", 11), ""},
    };
    for (const auto& [host, expected] : cases) {
        EXPECT_EQ(Network::LookupIPAddress(host), expected) << host;

        // The non-blocking lookup gives the same answer, once: at once for
        // literals, later on the event loop for names.
        int answers = 0;
        std::string answer;
        Network::LookupIPAddressLater(host, [&](std::string resolved) {
            ++answers;
            answer = std::move(resolved);
        });
        if (!AddressText::Canonical(host).empty()) {
            EXPECT_EQ(answers, 1) << host;
        }
        ASSERT_TRUE(PumpUntil([&] { return answers == 1; })) << host;
        EXPECT_EQ(answer, expected) << host;
    }
}

TEST(RealNetwork, RandomStaysInRange)
{
    for (int i = 0; i < 1000; ++i) {
        const int value = Random::InRange(10000, 65000);
        ASSERT_GE(value, 10000);
        ASSERT_LE(value, 65000);
    }
    EXPECT_EQ(Random::InRange(7, 7), 7);
}

}  // namespace
}  // namespace ostrel
