#include "platform/real/RealSocketDriver.h"

#include <QSocketNotifier>
#include <QTimerEvent>

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <unistd.h>
#include <utility>

namespace ostrel {

namespace {

constexpr int HighestPort = 0xFFFF;
// Send-complete notices wait this long for a reply to arrive, which then
// carries them: an event-loop pass of their own for every datagram would
// cost more than the datagram.
constexpr int SendCompleteDelayMs = 1;
// Room for the largest UDP payload.
constexpr std::size_t MaxDatagram = 65536;

#ifdef MSG_NOSIGNAL
constexpr int SendFlags = MSG_NOSIGNAL;
#else
constexpr int SendFlags = 0;
#endif

// One receive buffer serves every socket of the thread: a datagram is
// copied out of it into its own string at once.
std::array<char, MaxDatagram>& ReceiveBuffer()
{
    thread_local std::array<char, MaxDatagram> buffer;
    return buffer;
}

bool MakeNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0
           && ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

// The same address as IPv4-mapped IPv6, for sending to an IPv4 peer from an
// IPv6 socket.
SocketAddress MappedToIPv6(const SocketAddress& v4address)
{
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(&v4address.storage);
    SocketAddress mapped;
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&mapped.storage);
    v6->sin6_family = AF_INET6;
    v6->sin6_port = v4->sin_port;
    v6->sin6_addr.s6_addr[10] = 0xFF;
    v6->sin6_addr.s6_addr[11] = 0xFF;
    std::memcpy(v6->sin6_addr.s6_addr + 12, &v4->sin_addr, sizeof v4->sin_addr);
    mapped.length = sizeof(sockaddr_in6);
    return mapped;
}

// A full send buffer or a momentary lack of memory loses the datagram, as
// the network itself may; the protocol's retransmission covers both.
bool LostQuietly(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == ENOBUFS;
}

}  // namespace

RealSocketDriver::RealSocketDriver(SocketEvents events)
    : events_(std::move(events))
    , life_(std::make_shared<const bool>(true))
{
    senderText_.reserve(INET6_ADDRSTRLEN);
}

RealSocketDriver::~RealSocketDriver()
{
    Close();
}

int RealSocketDriver::Bind(int port, const std::string& familyHint)
{
    Close();
    if (port < 0 || port > HighestPort) {
        return EINVAL;
    }
    const int family = AddressText::IsIPv6Literal(familyHint) ? AF_INET6 : AF_INET;
    const int fd = ::socket(family, SOCK_DGRAM, 0);
    if (fd < 0) {
        return errno;
    }
    SocketAddress local;
    if (family == AF_INET6) {
        // Dual stack, so an IPv4 peer reached through a mapped address works.
        const int off = 0;
        ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&local.storage);
        v6->sin6_family = AF_INET6;
        v6->sin6_addr = in6addr_any;
        v6->sin6_port = htons(static_cast<uint16_t>(port));
        local.length = sizeof(sockaddr_in6);
    } else {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&local.storage);
        v4->sin_family = AF_INET;
        v4->sin_addr.s_addr = htonl(INADDR_ANY);
        v4->sin_port = htons(static_cast<uint16_t>(port));
        local.length = sizeof(sockaddr_in);
    }
    if (!MakeNonBlocking(fd) || ::bind(fd, local.Raw(), local.length) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    SocketAddress bound;
    bound.length = sizeof bound.storage;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&bound.storage), &bound.length) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    fd_ = fd;
    family_ = family;
    port_ = ntohs(family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound.storage)->sin6_port
                                     : reinterpret_cast<sockaddr_in*>(&bound.storage)->sin_port);
    ApplyHopLimit();
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &RealSocketDriver::Readable);
    listening_ = true;
    return 0;
}

void RealSocketDriver::SetHopLimit(int hops)
{
    hops_ = hops;
    ApplyHopLimit();
}

void RealSocketDriver::ApplyHopLimit()
{
    if (fd_ < 0) {
        return;
    }
    // An out-of-range value is refused by the system and the default stays.
    ::setsockopt(fd_, IPPROTO_IP, IP_TTL, &hops_, sizeof hops_);
    if (family_ == AF_INET6) {
        ::setsockopt(fd_, IPPROTO_IPV6, IPV6_UNICAST_HOPS, &hops_, sizeof hops_);
    }
}

void RealSocketDriver::Send(const Datagram& datagram)
{
    if (fd_ < 0) {
        return;  // closed or never bound: nothing to send from
    }
    int unreachable = 0;
    const SocketAddress* to = Destination(datagram, unreachable);
    if (to == nullptr) {
        RaiseLater(unreachable);
        return;
    }
    ssize_t sent;
    do {
        sent = ::sendto(fd_, datagram.Data.data(), datagram.Data.size(), SendFlags, to->Raw(),
                        to->length);
    } while (sent < 0 && errno == EINTR);
    if (sent < 0 && !LostQuietly(errno)) {
        RaiseLater(errno);
        return;
    }
    pendingSendComplete_ = true;
    ScheduleNotices(SendCompleteDelayMs);
    replyWait_.AfterSend(fd_);
}

const SocketAddress* RealSocketDriver::Destination(const Datagram& datagram, int& error)
{
    if (datagram.Port == destinationPort_ && datagram.Address == destinationText_) {
        return &destination_;
    }
    std::optional<SocketAddress> parsed = AddressText::Parse(datagram.Address, datagram.Port);
    if (!parsed) {
        error = EINVAL;  // not a numeric address, or no valid port
        return nullptr;
    }
    if (parsed->Family() != family_) {
        if (family_ != AF_INET6) {
            error = EAFNOSUPPORT;  // an IPv4 socket cannot reach an IPv6 peer
            return nullptr;
        }
        parsed = MappedToIPv6(*parsed);
    }
    destination_ = *parsed;
    destinationText_ = datagram.Address;
    destinationPort_ = datagram.Port;
    return &destination_;
}

std::optional<Datagram> RealSocketDriver::Receive()
{
    if (!waiting_) {
        return ReceiveNow();
    }
    std::optional<Datagram> next = std::move(waiting_);
    waiting_.reset();
    if (!listening_) {
        Listen(true);
    }
    return next;
}

void RealSocketDriver::Readable()
{
    if (waiting_) {
        return;
    }
    replyWait_.AnswerSeen();
    // Notices of earlier sends go first, so that they keep their order with
    // the reply; in lock-step this is where they are usually delivered.
    if (!DeliverPendingFirst()) {
        return;
    }
    waiting_ = ReceiveNow();
    if (!waiting_) {
        return;
    }
    // The handler may close or destroy this socket.
    const std::weak_ptr<const bool> alive = life_;
    const std::function<void()> notify = events_.dataAvailable;
    if (notify) {
        notify();
    }
    if (alive.expired()) {
        return;
    }
    // Left unread, the datagram would keep the level-triggered notifier
    // firing: stop listening until it is read. Toggling the notifier costs
    // the event loop a wake-up, so the usual path, read at once, keeps it.
    if (waiting_ && listening_) {
        Listen(false);
    }
}

void RealSocketDriver::Listen(bool on)
{
    listening_ = on;
    if (notifier_) {
        notifier_->setEnabled(on);
    }
}

std::optional<Datagram> RealSocketDriver::ReceiveNow()
{
    if (fd_ < 0) {
        return std::nullopt;
    }
    std::array<char, MaxDatagram>& buffer = ReceiveBuffer();
    sockaddr_storage from{};
    socklen_t fromLength = sizeof from;
    ssize_t got;
    do {
        got = ::recvfrom(fd_, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from),
                         &fromLength);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            // A lasting failure would keep the notifier firing; report it
            // once and stop listening.
            Listen(false);
            RaiseLater(errno);
        }
        return std::nullopt;
    }
    Datagram datagram;
    datagram.Address = SenderText(from, fromLength);
    datagram.Port = ntohs(from.ss_family == AF_INET6
                              ? reinterpret_cast<const sockaddr_in6*>(&from)->sin6_port
                              : reinterpret_cast<const sockaddr_in*>(&from)->sin_port);
    datagram.Data.assign(buffer.data(), static_cast<std::size_t>(got));
    return datagram;
}

const std::string& RealSocketDriver::SenderText(const sockaddr_storage& sender, socklen_t length)
{
    // Ports differ between a peer's datagrams and are compared apart, so the
    // cache compares the address alone.
    sockaddr_storage key = sender;
    if (key.ss_family == AF_INET6) {
        reinterpret_cast<sockaddr_in6*>(&key)->sin6_port = 0;
    } else {
        reinterpret_cast<sockaddr_in*>(&key)->sin_port = 0;
    }
    if (length != senderLength_ || std::memcmp(&key, &sender_, length) != 0) {
        sender_ = key;
        senderLength_ = length;
        senderText_ = AddressText::Format(reinterpret_cast<const sockaddr*>(&key));
    }
    return senderText_;
}

void RealSocketDriver::Close()
{
    notifier_.reset();
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    waiting_.reset();
    notifyTimer_.stop();
    pendingErrors_.clear();
    pendingSendComplete_ = false;
    destinationPort_ = -1;
    destinationText_.clear();
}

void RealSocketDriver::RaiseLater(int errorCode)
{
    pendingErrors_.push_back(errorCode);
    ScheduleNotices(0);
}

void RealSocketDriver::ScheduleNotices(int delayMs)
{
    if (!notifyTimer_.isActive() || delayMs < noticeDelayMs_) {
        notifyTimer_.start(delayMs, Qt::PreciseTimer, this);
        noticeDelayMs_ = delayMs;
    }
}

void RealSocketDriver::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != notifyTimer_.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    notifyTimer_.stop();
    DeliverPending();
}

bool RealSocketDriver::DeliverPendingFirst()
{
    if (!notifyTimer_.isActive()) {
        return true;
    }
    notifyTimer_.stop();
    return DeliverPending();
}

bool RealSocketDriver::DeliverPending()
{
    // Each handler may close or destroy this socket. Closing clears what is
    // pending.
    const std::weak_ptr<const bool> alive = life_;
    while (!pendingErrors_.empty()) {
        const int code = pendingErrors_.front();
        pendingErrors_.erase(pendingErrors_.begin());
        const std::function<void(int)> notify = events_.error;
        if (notify) {
            notify(code);
        }
        if (alive.expired()) {
            return false;
        }
    }
    if (pendingSendComplete_) {
        pendingSendComplete_ = false;
        const std::function<void()> notify = events_.sendComplete;
        if (notify) {
            notify();
        }
        if (alive.expired()) {
            return false;
        }
    }
    return fd_ >= 0;
}

}  // namespace ostrel
