#pragma once
// The simulated backend for tests: a virtual clock that the test advances, an
// in-memory network in which the test plays the server, and a name table.
// While a SimWorld exists it is the current backend, so every Timer and
// UDPSocket made meanwhile runs in it. Everything is deterministic: events
// run in time order, ties in the order they were scheduled, and no real time
// passes.
//
// The local host is one machine with many ports. Each datagram a local
// socket writes is logged (TakeSent) and, if a peer is registered at its
// destination, handed to that peer as an event. Datagrams the test injects
// are delivered to the local socket bound at the destination port.

#include "platform/Backend.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace ostrel::sim {

struct SentDatagram {
    std::string fromAddress;  // the local host's address in the family used
    int fromPort = 0;
    std::string toAddress;
    int toPort = 0;
    std::string data;
    std::int64_t atMs = 0;    // virtual time of the write
    int hopLimit = 0;         // the socket's RouterHops at the write
};

class SimWorld final : public Backend {
public:
    static constexpr const char* LocalAddressV4 = "10.0.0.1";
    static constexpr const char* LocalAddressV6 = "fd00::1";

    SimWorld();   // becomes the current backend
    ~SimWorld() override;  // restores the real backend
    SimWorld(const SimWorld&) = delete;
    SimWorld& operator=(const SimWorld&) = delete;

    // --- clock ---
    std::int64_t Now() const { return now_; }
    // Moves virtual time forward by ms, running every event that falls due
    // on the way, in order (timer expiries, deliveries).
    void Advance(std::int64_t ms);
    // Runs every event due now, including those that running them schedules
    // for now.
    void RunUntilIdle();

    // --- names ---
    // Numeric IPv4/IPv6 literals always resolve to themselves (in canonical
    // text); names resolve only through this table.
    void AddName(const std::string& host, const std::string& address);
    // Names (not literals) looked up without blocking are answered this much
    // virtual time later (default 0: at once, inside the call).
    void SetLookupDelay(std::int64_t ms) { lookupDelayMs_ = ms; }

    // --- network, as seen by the test ---
    // Datagrams written by local sockets since the last call, in order.
    std::vector<SentDatagram> TakeSent();
    // Delivers a datagram from fromAddress:fromPort to the local socket bound
    // at toPort (dropped when none is bound there). Called from outside an
    // event it is delivered at once; from inside one (a peer), it is queued.
    // With a latency set it is due that much later either way, and the test
    // advances the clock to deliver it.
    void Inject(const std::string& fromAddress, int fromPort, int toPort, std::string data);
    // A peer at address:port receives, as events, the datagrams sent to it.
    using Peer = std::function<void(const SentDatagram&)>;
    void AddPeer(const std::string& address, int port, Peer peer);
    void RemovePeer(const std::string& address, int port);
    // Local ports currently bound.
    std::vector<int> BoundPorts() const;

    // --- faults ---
    // The next bind fails with this OS error number.
    void FailNextBind(int errorCode);
    // Raises the Error notification of the socket bound at localPort with
    // this code, as an event (run at once when called from outside one).
    void RaiseSocketError(int localPort, int errorCode);
    // Drops each datagram, either way, with this probability (seeded, so
    // the same seed drops the same datagrams).
    void SetDropRate(double probability, std::uint32_t seed);
    // Delivery delay for datagrams, either way (default 0).
    void SetLatency(std::int64_t ms) { latencyMs_ = ms; }
    // The values RandomInRange returns next, in order, before falling back
    // to a seeded generator.
    void QueueRandomValues(std::vector<int> values);

    // --- Backend ---
    std::unique_ptr<TimerDriver> MakeTimer(std::function<void()> onExpiry) override;
    std::unique_ptr<SocketDriver> MakeSocket(SocketEvents events) override;
    std::string LookupIPAddress(const std::string& host) override;
    void LookupIPAddressLater(const std::string& host, std::function<void(std::string)> done) override;
    int RandomInRange(int low, int high) override;

    // Used by the simulated drivers.
    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
    std::int64_t now_ = 0;
    std::int64_t latencyMs_ = 0;
    std::int64_t lookupDelayMs_ = 0;
};

}  // namespace ostrel::sim
