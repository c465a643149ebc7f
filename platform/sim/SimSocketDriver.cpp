#include "platform/sim/SimSocketDriver.h"

#include <utility>

namespace ostrel::sim {

SimSocketDriver::SimSocketDriver(SimWorld::Impl& world, SocketEvents events)
    : world_(&world)
    , events_(std::move(events))
{
    id_ = world_->AddSocket(this);
}

SimSocketDriver::~SimSocketDriver()
{
    Close();
    if (world_ != nullptr) {
        world_->RemoveSocket(id_);
    }
}

int SimSocketDriver::Bind(int port, const std::string& /*familyHint*/)
{
    if (world_ == nullptr) {
        return ENETDOWN;
    }
    Close();
    const int error = world_->BindPort(id_, port);
    if (error != 0) {
        return error;
    }
    bound_ = true;
    port_ = port;
    ++binding_;
    return 0;
}

void SimSocketDriver::Send(const Datagram& datagram)
{
    // A socket that is not bound has nowhere to send from.
    if (!bound_ || world_ == nullptr) {
        return;
    }
    world_->SendFromLocal(port_, datagram);
    SimWorld::Impl* world = world_;
    const int id = id_;
    const std::uint64_t binding = binding_;
    world->Schedule(world->world.Now(), [world, id, binding] {
        if (SimSocketDriver* socket = world->FindSocket(id)) {
            socket->RaiseSendComplete(binding);
        }
    });
}

std::optional<Datagram> SimSocketDriver::Receive()
{
    if (received_.empty()) {
        return std::nullopt;
    }
    Datagram next = std::move(received_.front());
    received_.pop_front();
    return next;
}

void SimSocketDriver::Close()
{
    if (!bound_) {
        return;
    }
    bound_ = false;
    received_.clear();
    if (world_ != nullptr) {
        world_->ReleasePort(port_);
    }
}

void SimSocketDriver::Deliver(std::uint64_t binding, Datagram datagram)
{
    if (!Current(binding)) {
        return;
    }
    received_.push_back(std::move(datagram));
    // The handler may close or destroy this socket: call a copy.
    const std::function<void()> notify = events_.dataAvailable;
    if (notify) {
        notify();
    }
}

void SimSocketDriver::RaiseError(std::uint64_t binding, int code)
{
    if (!Current(binding)) {
        return;
    }
    const std::function<void(int)> notify = events_.error;
    if (notify) {
        notify(code);
    }
}

void SimSocketDriver::RaiseSendComplete(std::uint64_t binding)
{
    if (!Current(binding)) {
        return;
    }
    const std::function<void()> notify = events_.sendComplete;
    if (notify) {
        notify();
    }
}

}  // namespace ostrel::sim
