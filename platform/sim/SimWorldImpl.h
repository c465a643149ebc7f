#pragma once
// The inner state of a SimWorld: the event queue, the drivers that live in
// it, the bound ports, the peers and the name table. Drivers reach the world
// only through here; events refer to drivers by id, so an event for a driver
// that has gone, or for a binding that was closed, finds nothing and does
// nothing.

#include "platform/sim/SimWorld.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace ostrel::sim {

class SimTimerDriver;
class SimSocketDriver;

struct SimWorld::Impl {
    explicit Impl(SimWorld& owner) : world(owner) {}

    // --- events ---
    using EventKey = std::pair<std::int64_t, std::uint64_t>;  // time, order
    void Schedule(std::int64_t atMs, std::function<void()> action);
    void RunDueUntil(std::int64_t limitMs);
    bool InsideEvent() const { return eventDepth > 0; }

    // --- drivers ---
    int AddTimer(SimTimerDriver* timer);
    void RemoveTimer(int id);
    SimTimerDriver* FindTimer(int id) const;
    int AddSocket(SimSocketDriver* socket);
    void RemoveSocket(int id);
    SimSocketDriver* FindSocket(int id) const;
    // Detaches every driver still alive from the world going away.
    void DetachAll();

    // --- ports ---
    // 0 or the OS error number; `port` becomes the port bound.
    int BindPort(int socketId, int& port);
    void ReleasePort(int port);
    SimSocketDriver* SocketAtPort(int port) const;

    // --- datagrams ---
    void SendFromLocal(int fromPort, const Datagram& datagram);
    void DeliverToLocal(const std::string& fromAddress, int fromPort, int toPort, std::string data);
    bool Dropped();

    static std::string PeerKey(const std::string& address, int port);
    static std::string TextOfAddress(const std::string& address);

    SimWorld& world;

    std::map<EventKey, std::function<void()>> events;
    std::uint64_t nextEventOrder = 0;
    int eventDepth = 0;

    int nextDriverId = 1;
    std::map<int, SimTimerDriver*> timers;
    std::map<int, SimSocketDriver*> sockets;
    std::map<int, int> portOwners;  // port -> socket id
    int nextEphemeralPort = 0;
    int failNextBind = 0;

    std::vector<SentDatagram> sent;
    std::map<std::string, Peer> peers;
    std::map<std::string, std::string> names;

    double dropRate = 0.0;
    std::mt19937 dropGenerator;
    std::deque<int> queuedRandomValues;
    std::mt19937 randomGenerator;
};

}  // namespace ostrel::sim
