#pragma once
// A UDPSocket's driver over a non-blocking POSIX socket on Qt's event loop.
// A QSocketNotifier watches for datagrams; each one is taken into a one-slot
// queue and announced; if the handler leaves it unread, the notifier pauses
// until it is read, so each datagram is announced exactly once and an unread
// one does not spin the loop. Errors of sends and the send-complete notice
// are raised from a short timer or just before the next datagram is
// announced, never from inside Send. The last destination's socket address
// and the last sender's text are cached: a transfer talks to one peer, and
// the per-datagram path then does no parsing or formatting. After each send
// the driver waits briefly for the answer (ReplyWait), which saves the sleep
// and wake-up that otherwise cost most of a lock-step exchange.

#include "platform/AddressText.h"
#include "platform/Backend.h"
#include "platform/real/ReplyWait.h"

#include <QBasicTimer>
#include <QObject>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QSocketNotifier;

namespace ostrel {

class RealSocketDriver final : public QObject, public SocketDriver {
public:
    explicit RealSocketDriver(SocketEvents events);
    ~RealSocketDriver() override;

    int Bind(int port, const std::string& familyHint) override;
    bool IsBound() const override { return fd_ >= 0; }
    int BoundPort() const override { return port_; }
    void SetHopLimit(int hops) override;
    void Send(const Datagram& datagram) override;
    std::optional<Datagram> Receive() override;
    void Close() override;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void Readable();
    void Listen(bool on);
    std::optional<Datagram> ReceiveNow();
    // The socket address to send to, or null with the error number.
    const SocketAddress* Destination(const Datagram& datagram, int& error);
    const std::string& SenderText(const sockaddr_storage& sender, socklen_t length);
    void ApplyHopLimit();
    void RaiseLater(int errorCode);
    void ScheduleNotices(int delayMs);
    // Both deliver the pending notices; false when a handler closed or
    // destroyed the socket.
    bool DeliverPendingFirst();
    bool DeliverPending();

    SocketEvents events_;
    int fd_ = -1;
    int family_ = 0;
    int port_ = 0;
    int hops_ = 0;
    std::unique_ptr<QSocketNotifier> notifier_;
    ReplyWait replyWait_;
    std::optional<Datagram> waiting_;
    bool listening_ = false;

    std::string destinationText_;
    int destinationPort_ = -1;
    SocketAddress destination_;
    sockaddr_storage sender_{};
    socklen_t senderLength_ = 0;
    std::string senderText_;

    QBasicTimer notifyTimer_;
    int noticeDelayMs_ = 0;
    std::vector<int> pendingErrors_;
    bool pendingSendComplete_ = false;
    // Expires with this driver: a handler that destroyed it is seen through
    // a weak reference taken before the call.
    std::shared_ptr<const bool> life_;
};

}  // namespace ostrel
