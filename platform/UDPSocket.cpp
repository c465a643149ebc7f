#include "platform/UDPSocket.h"

#include <utility>

namespace ostrel {

UDPSocket::UDPSocket()
{
    // The driver only calls back from the event loop, never from inside one
    // of its own calls, so the subclass is fully built before any of these
    // virtual handlers can run.
    SocketEvents events;
    events.dataAvailable = [this] { Event_DataAvailable(); };
    events.error = [this](int code) {
        lastError_ = code;
        Event_Error();
    };
    events.sendComplete = [this] { Event_SendComplete(); };
    driver_ = Backend::Current().MakeSocket(std::move(events));
    driver_->SetHopLimit(hops_);
}

// Destroying the driver closes the socket; no notification follows.
UDPSocket::~UDPSocket() = default;

void UDPSocket::Connect()
{
    lastError_ = driver_->Bind(port_, peerHint_);
    if (lastError_ == 0) {
        port_ = driver_->BoundPort();
    }
}

bool UDPSocket::IsConnected() const
{
    return driver_->IsBound();
}

void UDPSocket::SetRouterHops(int hops)
{
    hops_ = hops;
    driver_->SetHopLimit(hops);
}

void UDPSocket::Write(const Datagram& datagram)
{
    driver_->Send(datagram);
}

Datagram UDPSocket::Read()
{
    std::optional<Datagram> received = driver_->Receive();
    if (!received) {
        return {};
    }
    return std::move(*received);
}

void UDPSocket::Close()
{
    driver_->Close();
}

}  // namespace ostrel
