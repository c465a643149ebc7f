#pragma once
// A UDP socket with the operations and notifications the TFTP engine relies
// on: set Port, Connect (bind), then Write and Read datagrams; DataAvailable
// is raised once for each received datagram waiting, Error when the socket
// fails (LastErrorCode holds the OS error number). Notifications arrive as
// events of their own, never from inside Write or Connect, and none follow
// Close.

#include "platform/Backend.h"
#include "platform/Datagram.h"

#include <memory>
#include <string>

namespace ostrel {

class UDPSocket {
public:
    UDPSocket();
    virtual ~UDPSocket();
    UDPSocket(const UDPSocket&) = delete;
    UDPSocket& operator=(const UDPSocket&) = delete;

    // Before Connect: the local port asked for. After: the port bound.
    int Port() const { return port_; }
    void SetPort(int port) { port_ = port; }

    // The address this socket will talk to; Connect binds in its family.
    void SetPeerAddressHint(const std::string& address) { peerHint_ = address; }

    // Binds to Port(). On success LastErrorCode() is 0 and IsConnected() true.
    void Connect();
    bool IsConnected() const;
    int LastErrorCode() const { return lastError_; }

    // Time-to-live of outgoing datagrams (IP_TTL / IPV6_UNICAST_HOPS).
    int RouterHops() const { return hops_; }
    void SetRouterHops(int hops);

    void Write(const Datagram& datagram);
    // Removes and returns the next received datagram (empty when none).
    Datagram Read();
    void Close();

protected:
    virtual void Event_DataAvailable() {}
    virtual void Event_Error() {}
    virtual void Event_SendComplete() {}

private:
    int port_ = 0;
    int hops_ = 64;
    int lastError_ = 0;
    std::string peerHint_;
    std::unique_ptr<SocketDriver> driver_;
};

}  // namespace ostrel
