#pragma once
// The seam between Ostrel's platform classes (Timer, UDPSocket, name lookup,
// random numbers) and what drives them. Production code runs on the real
// backend (Qt's event loop, OS sockets, the host's resolver); tests install a
// simulated one (virtual clock, in-memory network, name table) for as long as
// a SimWorld lives. Objects keep the backend that was current when they were
// made.

#include "platform/Datagram.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ostrel {

// Drives one Timer. The owner's callback runs on the event loop, never from
// inside Start or Stop.
class TimerDriver {
public:
    virtual ~TimerDriver() = default;
    // Starts a full period from now; a running timer is restarted.
    virtual void Start(int periodMs, bool repeating) = 0;
    virtual void Stop() = 0;
};

// What a socket driver tells its UDPSocket. Notifications always arrive as
// later events on the event loop, never from inside a driver call, and never
// after Close.
struct SocketEvents {
    std::function<void()> dataAvailable;  // once per received datagram waiting
    std::function<void(int)> error;       // OS error number
    std::function<void()> sendComplete;   // after a write
};

// Drives one UDPSocket.
class SocketDriver {
public:
    virtual ~SocketDriver() = default;
    // Binds the local port (0: any) in the address family of familyHint (an
    // IPv6 address text selects IPv6, anything else IPv4). Returns 0 or the OS
    // error number.
    virtual int Bind(int port, const std::string& familyHint) = 0;
    virtual bool IsBound() const = 0;
    virtual int BoundPort() const = 0;
    virtual void SetHopLimit(int hops) = 0;
    virtual void Send(const Datagram& datagram) = 0;
    // Removes and returns the next received datagram, if any.
    virtual std::optional<Datagram> Receive() = 0;
    virtual void Close() = 0;
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual std::unique_ptr<TimerDriver> MakeTimer(std::function<void()> onExpiry) = 0;
    virtual std::unique_ptr<SocketDriver> MakeSocket(SocketEvents events) = 0;
    // Numeric address text for a host name or literal; empty when unresolved.
    virtual std::string LookupIPAddress(const std::string& host) = 0;
    // The same without blocking the event loop on a slow resolver: `done`
    // gets the result inside this call when it is at hand (address literals;
    // by default everything), otherwise later, as an event of its own.
    virtual void LookupIPAddressLater(const std::string& host, std::function<void(std::string)> done);
    // A uniformly drawn integer from low to high inclusive.
    virtual int RandomInRange(int low, int high) = 0;

    // The backend new platform objects use: the real one unless a test has
    // installed another.
    static Backend& Current();
    // Installs `backend` as current (nullptr: back to the real one).
    static void Install(Backend* backend);
};

}  // namespace ostrel
