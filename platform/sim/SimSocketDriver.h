#pragma once
// A UDPSocket's driver in the simulated world: binds ports of the one
// simulated host, hands written datagrams to the world, and raises the
// socket's notifications when the world's events reach it.

#include "platform/sim/SimWorldImpl.h"

#include <cstdint>
#include <deque>

namespace ostrel::sim {

class SimSocketDriver final : public SocketDriver {
public:
    SimSocketDriver(SimWorld::Impl& world, SocketEvents events);
    ~SimSocketDriver() override;

    int Bind(int port, const std::string& familyHint) override;
    bool IsBound() const override { return bound_; }
    int BoundPort() const override { return port_; }
    void SetHopLimit(int hops) override { hops_ = hops; }
    int HopLimit() const { return hops_; }
    void Send(const Datagram& datagram) override;
    std::optional<Datagram> Receive() override;
    void Close() override;

    // Run by the world's events. `binding` names the binding the event was
    // made for; events of an earlier binding are stale.
    std::uint64_t Binding() const { return binding_; }
    void Deliver(std::uint64_t binding, Datagram datagram);
    void RaiseError(std::uint64_t binding, int code);
    void RaiseSendComplete(std::uint64_t binding);

    int Id() const { return id_; }
    void Detach() { world_ = nullptr; }

private:
    bool Current(std::uint64_t binding) const { return bound_ && binding == binding_; }

    SimWorld::Impl* world_;
    int id_ = 0;
    SocketEvents events_;
    bool bound_ = false;
    int port_ = 0;
    int hops_ = 0;
    std::uint64_t binding_ = 0;
    std::deque<Datagram> received_;
};

}  // namespace ostrel::sim
