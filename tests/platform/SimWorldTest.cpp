// The simulated backend: virtual-time timers, the in-memory network and its
// re-entrancy rules, ports, faults, names and random numbers.

#include "platform/Network.h"
#include "platform/Timer.h"
#include "platform/UDPSocket.h"
#include "platform/sim/SimWorld.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ostrel {
namespace {

using sim::SentDatagram;
using sim::SimWorld;

// A socket that logs its notifications, with an optional hook per kind.
class LoggingSocket : public UDPSocket {
public:
    std::vector<std::string> log;
    std::function<void()> onData;
    std::function<void()> onError;

protected:
    void Event_DataAvailable() override
    {
        log.push_back("data");
        if (onData) {
            onData();
        }
    }
    void Event_Error() override
    {
        log.push_back("error " + std::to_string(LastErrorCode()));
        if (onError) {
            onError();
        }
    }
    void Event_SendComplete() override { log.push_back("sent"); }
};

std::unique_ptr<LoggingSocket> BoundSocket(int port, const std::string& peerHint = "10.0.0.2")
{
    auto socket = std::make_unique<LoggingSocket>();
    socket->SetPort(port);
    socket->SetPeerAddressHint(peerHint);
    socket->Connect();
    return socket;
}

Datagram To(const std::string& address, int port, const std::string& data)
{
    Datagram datagram;
    datagram.Address = address;
    datagram.Port = port;
    datagram.Data = data;
    return datagram;
}

// ---------------------------------------------------------------- timers

TEST(SimTimer, SingleShotFiresOncePeriodAfterStartAndTurnsOff)
{
    SimWorld world;
    Timer timer;
    std::vector<std::int64_t> fired;
    timer.Action = [&] { fired.push_back(world.Now()); };
    timer.SetPeriod(3000);
    world.Advance(500);
    timer.SetMode(Timer::ModeSingle);

    world.Advance(2999);
    EXPECT_TRUE(fired.empty());
    world.Advance(1);
    EXPECT_EQ(fired, (std::vector<std::int64_t>{3500}));
    EXPECT_EQ(timer.Mode(), Timer::ModeOff);
    world.Advance(10000);
    EXPECT_EQ(fired.size(), 1u);
}

TEST(SimTimer, RestartPushesExpiryAndStopCancelsIt)
{
    SimWorld world;
    Timer timer;
    std::vector<std::int64_t> fired;
    timer.Action = [&] { fired.push_back(world.Now()); };
    timer.SetPeriod(3000);
    timer.SetMode(Timer::ModeSingle);
    world.Advance(2900);
    timer.SetMode(Timer::ModeSingle);  // a full period from now
    world.Advance(2999);
    EXPECT_TRUE(fired.empty());
    world.Advance(1);
    EXPECT_EQ(fired, (std::vector<std::int64_t>{5900}));

    timer.SetMode(Timer::ModeSingle);
    world.Advance(1000);
    timer.SetMode(Timer::ModeOff);
    world.Advance(10000);
    EXPECT_EQ(fired.size(), 1u);
}

TEST(SimTimer, RepeatingTimerKeepsPeriodUntilStoppedInsideItsAction)
{
    SimWorld world;
    Timer timer;
    std::vector<std::int64_t> fired;
    timer.Action = [&] {
        fired.push_back(world.Now());
        if (fired.size() == 3) {
            timer.SetMode(Timer::ModeOff);
        }
    };
    timer.SetPeriod(1000);
    timer.SetMode(Timer::ModeMultiple);
    world.Advance(10000);
    EXPECT_EQ(fired, (std::vector<std::int64_t>{1000, 2000, 3000}));
}

TEST(SimTimer, ActionMayRestartOrDestroyItsOwnTimer)
{
    SimWorld world;
    Timer restarting;
    std::vector<std::int64_t> restarts;
    restarting.SetPeriod(700);
    restarting.Action = [&] {
        restarts.push_back(world.Now());
        if (restarts.size() < 2) {
            restarting.SetMode(Timer::ModeSingle);
        }
    };
    restarting.SetMode(Timer::ModeSingle);

    auto doomed = std::make_unique<Timer>();
    int doomedFired = 0;
    doomed->SetPeriod(500);
    doomed->Action = [&] {
        ++doomedFired;
        doomed.reset();
    };
    doomed->SetMode(Timer::ModeMultiple);

    world.Advance(5000);
    EXPECT_EQ(restarts, (std::vector<std::int64_t>{700, 1400}));
    EXPECT_EQ(doomedFired, 1);
    EXPECT_EQ(doomed, nullptr);
}

TEST(SimTimer, TiesRunInSchedulingOrderAndDestroyedTimersNeverFire)
{
    SimWorld world;
    std::vector<std::string> order;
    Timer second;
    Timer first;
    auto destroyed = std::make_unique<Timer>();
    for (auto [timer, name] : {std::pair{&first, "first"}, std::pair{&second, "second"},
                               std::pair{destroyed.get(), "destroyed"}}) {
        timer->SetPeriod(100);
        timer->Action = [&order, name = std::string(name)] { order.push_back(name); };
    }
    first.SetMode(Timer::ModeSingle);
    second.SetMode(Timer::ModeSingle);
    destroyed->SetMode(Timer::ModeSingle);
    destroyed.reset();
    world.Advance(100);
    EXPECT_EQ(order, (std::vector<std::string>{"first", "second"}));
}

// ---------------------------------------------------------------- network

TEST(SimNetwork, WrittenDatagramIsLoggedAndHandedToPeerAsLaterEvent)
{
    SimWorld world;
    world.SetLatency(5);
    auto socket = BoundSocket(40000);
    socket->SetRouterHops(255);
    std::vector<SentDatagram> atPeer;
    world.AddPeer("10.0.0.2", 69, [&](const SentDatagram& d) { atPeer.push_back(d); });

    world.Advance(10);
    socket->Write(To("10.0.0.2", 69, std::string("\0\1x", 3)));
    EXPECT_TRUE(atPeer.empty()) << "delivered inside Write";
    EXPECT_TRUE(socket->log.empty()) << "notified inside Write";

    const std::vector<SentDatagram> sent = world.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].fromAddress, SimWorld::LocalAddressV4);
    EXPECT_EQ(sent[0].fromPort, 40000);
    EXPECT_EQ(sent[0].toAddress, "10.0.0.2");
    EXPECT_EQ(sent[0].toPort, 69);
    EXPECT_EQ(sent[0].data, std::string("\0\1x", 3));
    EXPECT_EQ(sent[0].atMs, 10);
    EXPECT_EQ(sent[0].hopLimit, 255);
    EXPECT_TRUE(world.TakeSent().empty());

    world.Advance(4);
    EXPECT_TRUE(atPeer.empty());
    world.Advance(1);
    ASSERT_EQ(atPeer.size(), 1u);
    EXPECT_EQ(atPeer[0].data, sent[0].data);
    EXPECT_EQ(socket->log, (std::vector<std::string>{"sent"}));
}

TEST(SimNetwork, IPv6DestinationIsSentFromIPv6AddressInCanonicalText)
{
    SimWorld world;
    auto socket = BoundSocket(40000, "fd00::2");
    int reached = 0;
    world.AddPeer("fd00:0:0::2", 69, [&](const SentDatagram&) { ++reached; });
    socket->Write(To("[fd00::0:2]", 69, "x"));
    world.RunUntilIdle();
    const std::vector<SentDatagram> sent = world.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].fromAddress, SimWorld::LocalAddressV6);
    EXPECT_EQ(sent[0].toAddress, "fd00::2");
    EXPECT_EQ(reached, 1);
}

TEST(SimNetwork, InjectFromOutsideDeliversAtOnceOnePerDatagram)
{
    SimWorld world;
    auto socket = BoundSocket(40000);
    world.Inject("10.0.0.2", 1234, 40000, "one");
    EXPECT_EQ(socket->log, (std::vector<std::string>{"data"}));
    world.Inject("::ffff:10.0.0.2", 1235, 40000, "two");
    world.Inject("10.0.0.2", 1236, 40001, "nobody bound here");
    EXPECT_EQ(socket->log, (std::vector<std::string>{"data", "data"}));

    const Datagram first = socket->Read();
    EXPECT_EQ(first.Address, "10.0.0.2");
    EXPECT_EQ(first.Port, 1234);
    EXPECT_EQ(first.Data, "one");
    const Datagram second = socket->Read();
    EXPECT_EQ(second.Address, "10.0.0.2") << "IPv4-mapped reads as dotted IPv4";
    EXPECT_EQ(second.Port, 1235);
    EXPECT_EQ(second.Data, "two");
    EXPECT_EQ(socket->Read().Data, "");
}

TEST(SimNetwork, PeerReplyInsideItsCallbackIsQueuedNotReentrant)
{
    SimWorld world;
    auto socket = BoundSocket(40000);
    std::vector<std::string> order;
    world.AddPeer("10.0.0.2", 69, [&](const SentDatagram& d) {
        order.push_back("peer in");
        world.Inject("10.0.0.2", 2000, d.fromPort, "reply to " + d.data);
        order.push_back("peer out");
    });
    socket->onData = [&] { order.push_back("socket got " + socket->Read().Data); };

    socket->Write(To("10.0.0.2", 69, "request"));
    world.RunUntilIdle();
    EXPECT_EQ(order, (std::vector<std::string>{"peer in", "peer out", "socket got reply to request"}));

    world.RemovePeer("10.0.0.2", 69);
    socket->Write(To("10.0.0.2", 69, "again"));
    world.RunUntilIdle();
    EXPECT_EQ(order.size(), 3u);
    EXPECT_EQ(world.TakeSent().size(), 2u);
}

TEST(SimNetwork, SocketMayBeClosedOrDestroyedInsideDataAvailable)
{
    SimWorld world;
    auto closing = BoundSocket(40000);
    closing->onData = [&] { closing->Close(); };
    auto destroyed = BoundSocket(40001);
    int destroyedNotices = 0;
    destroyed->onData = [&] {
        ++destroyedNotices;
        destroyed.reset();
    };
    world.SetLatency(1);
    for (const int port : {40000, 40001}) {
        world.Inject("10.0.0.2", 69, port, "a");
        world.Inject("10.0.0.2", 69, port, "b");
    }
    world.Advance(1);
    EXPECT_EQ(closing->log, (std::vector<std::string>{"data"}));
    EXPECT_FALSE(closing->IsConnected());
    EXPECT_EQ(destroyedNotices, 1);
    EXPECT_TRUE(world.BoundPorts().empty());
}

TEST(SimNetwork, ErrorArrivesAfterWriteAndNothingFollowsClose)
{
    SimWorld world;
    auto socket = BoundSocket(40000);
    world.AddPeer("10.0.0.2", 69, [&](const SentDatagram& d) {
        world.RaiseSocketError(d.fromPort, ECONNREFUSED);
    });
    socket->Write(To("10.0.0.2", 69, "x"));
    EXPECT_TRUE(socket->log.empty());
    EXPECT_EQ(socket->LastErrorCode(), 0);
    world.RunUntilIdle();
    EXPECT_EQ(socket->log, (std::vector<std::string>{"sent", "error " + std::to_string(ECONNREFUSED)}));
    EXPECT_EQ(socket->LastErrorCode(), ECONNREFUSED);

    socket->log.clear();
    world.RemovePeer("10.0.0.2", 69);
    socket->Write(To("10.0.0.2", 69, "y"));
    world.RaiseSocketError(40000, EHOSTUNREACH);  // runs at once, ahead of the peer
    socket->Close();
    world.Inject("10.0.0.2", 69, 40000, "late");
    world.Advance(1000);
    EXPECT_EQ(socket->log, (std::vector<std::string>{"sent", "error " + std::to_string(EHOSTUNREACH)}));
}

TEST(SimNetwork, BindConflictsFreePortsAndInjectedFailures)
{
    SimWorld world;
    auto first = BoundSocket(40000);
    EXPECT_TRUE(first->IsConnected());
    EXPECT_EQ(first->LastErrorCode(), 0);

    auto clash = BoundSocket(40000);
    EXPECT_FALSE(clash->IsConnected());
    EXPECT_EQ(clash->LastErrorCode(), EADDRINUSE);

    auto any = BoundSocket(0);
    EXPECT_TRUE(any->IsConnected());
    EXPECT_GT(any->Port(), 0);
    EXPECT_NE(any->Port(), 40000);
    EXPECT_EQ(world.BoundPorts(), (std::vector<int>{40000, any->Port()}));

    first->Close();
    clash->Connect();
    EXPECT_TRUE(clash->IsConnected());

    world.FailNextBind(EACCES);
    auto refused = BoundSocket(40002);
    EXPECT_FALSE(refused->IsConnected());
    EXPECT_EQ(refused->LastErrorCode(), EACCES);
    refused->Connect();
    EXPECT_TRUE(refused->IsConnected()) << "only the next bind fails";
}

TEST(SimNetwork, DropRateIsReproducibleForASeed)
{
    auto deliveredPattern = [](std::uint32_t seed) {
        SimWorld world;
        world.SetDropRate(0.5, seed);
        auto socket = BoundSocket(40000);
        std::string pattern;
        socket->onData = [&] { pattern += socket->Read().Data; };
        for (char c = 'a'; c <= 'z'; ++c) {
            world.Inject("10.0.0.2", 69, 40000, std::string(1, c));
        }
        return pattern;
    };
    const std::string once = deliveredPattern(7);
    EXPECT_EQ(once, deliveredPattern(7));
    EXPECT_GT(once.size(), 0u);
    EXPECT_LT(once.size(), 26u);
}

// ---------------------------------------------------------------- names, random

TEST(SimWorldServices, LookupResolvesLiteralsAndTableNamesOnly)
{
    SimWorld world;
    world.AddName("router.lan", "192.168.1.1");
    world.AddName("v6.lan", "FD00:0::5");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"10.0.0.2", "10.0.0.2"},     {"[::1]", "::1"},        {"0::1", "::1"},
        {"::ffff:1.2.3.4", "1.2.3.4"}, {"router.lan", "192.168.1.1"},
        {"Router.LAN", "192.168.1.1"}, {"v6.lan", "fd00::5"}, {"  router.lan ", "192.168.1.1"},
        {"localhost", ""},            {"", ""},                {"1.2.3", ""},
    };
    for (const auto& [host, expected] : cases) {
        EXPECT_EQ(Network::LookupIPAddress(host), expected) << host;
    }
}

TEST(SimWorldServices, RandomGivesQueuedValuesThenSeededInRange)
{
    std::vector<int> draws[2];
    for (auto& drawn : draws) {
        SimWorld world;
        world.QueueRandomValues({12345, 10000});
        EXPECT_EQ(Random::InRange(10000, 65000), 12345);
        EXPECT_EQ(Random::InRange(10000, 65000), 10000);
        for (int i = 0; i < 50; ++i) {
            const int value = Random::InRange(10000, 65000);
            EXPECT_GE(value, 10000);
            EXPECT_LE(value, 65000);
            drawn.push_back(value);
        }
    }
    EXPECT_EQ(draws[0], draws[1]);
}

TEST(SimWorldServices, WorldIsCurrentWhileItLivesAndObjectsOutliveItQuietly)
{
    std::unique_ptr<Timer> timer;
    std::unique_ptr<LoggingSocket> socket;
    {
        SimWorld world;
        EXPECT_EQ(&Backend::Current(), &world);
        timer = std::make_unique<Timer>();
        timer->SetPeriod(10);
        timer->SetMode(Timer::ModeMultiple);
        socket = BoundSocket(40000);
    }
    EXPECT_EQ(dynamic_cast<SimWorld*>(&Backend::Current()), nullptr);
    timer->SetMode(Timer::ModeSingle);
    socket->Write(To("10.0.0.2", 69, "x"));
    socket->Close();
}

}  // namespace
}  // namespace ostrel
