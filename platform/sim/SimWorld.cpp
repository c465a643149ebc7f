#include "platform/sim/SimWorld.h"

#include "platform/AddressText.h"
#include "platform/sim/SimSocketDriver.h"
#include "platform/sim/SimTimerDriver.h"
#include "platform/sim/SimWorldImpl.h"

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace ostrel::sim {

namespace {

constexpr int FirstEphemeralPort = 49152;
constexpr int LastPort = 65535;
// Seeds used until a test asks for others, so every run is the same.
constexpr std::uint32_t DefaultDropSeed = 1;
constexpr std::uint32_t DefaultRandomSeed = 1;

std::string Lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

// ---------------------------------------------------------------- Impl

void SimWorld::Impl::Schedule(std::int64_t atMs, std::function<void()> action)
{
    events.emplace(EventKey{atMs, nextEventOrder++}, std::move(action));
}

void SimWorld::Impl::RunDueUntil(std::int64_t limitMs)
{
    struct DepthGuard {
        int& depth;
        explicit DepthGuard(int& d) : depth(d) { ++depth; }
        ~DepthGuard() { --depth; }
    };
    while (!events.empty() && events.begin()->first.first <= limitMs) {
        auto node = events.extract(events.begin());
        world.now_ = std::max(world.now_, node.key().first);
        DepthGuard guard(eventDepth);
        node.mapped()();
    }
}

int SimWorld::Impl::AddTimer(SimTimerDriver* timer)
{
    const int id = nextDriverId++;
    timers.emplace(id, timer);
    return id;
}

void SimWorld::Impl::RemoveTimer(int id)
{
    timers.erase(id);
}

SimTimerDriver* SimWorld::Impl::FindTimer(int id) const
{
    const auto it = timers.find(id);
    return it == timers.end() ? nullptr : it->second;
}

int SimWorld::Impl::AddSocket(SimSocketDriver* socket)
{
    const int id = nextDriverId++;
    sockets.emplace(id, socket);
    return id;
}

void SimWorld::Impl::RemoveSocket(int id)
{
    sockets.erase(id);
}

SimSocketDriver* SimWorld::Impl::FindSocket(int id) const
{
    const auto it = sockets.find(id);
    return it == sockets.end() ? nullptr : it->second;
}

void SimWorld::Impl::DetachAll()
{
    for (auto& [id, timer] : timers) {
        timer->Detach();
    }
    for (auto& [id, socket] : sockets) {
        socket->Detach();
    }
    timers.clear();
    sockets.clear();
    portOwners.clear();
}

int SimWorld::Impl::BindPort(int socketId, int& port)
{
    if (failNextBind != 0) {
        return std::exchange(failNextBind, 0);
    }
    if (port < 0 || port > LastPort) {
        return EINVAL;
    }
    if (port == 0) {
        const int span = LastPort - FirstEphemeralPort + 1;
        for (int tried = 0; tried < span; ++tried) {
            const int candidate = FirstEphemeralPort + (nextEphemeralPort + tried) % span;
            if (portOwners.count(candidate) == 0) {
                nextEphemeralPort = (candidate - FirstEphemeralPort + 1) % span;
                port = candidate;
                break;
            }
        }
        if (port == 0) {
            return EADDRINUSE;
        }
    } else if (portOwners.count(port) != 0) {
        return EADDRINUSE;
    }
    portOwners.emplace(port, socketId);
    return 0;
}

void SimWorld::Impl::ReleasePort(int port)
{
    portOwners.erase(port);
}

SimSocketDriver* SimWorld::Impl::SocketAtPort(int port) const
{
    const auto it = portOwners.find(port);
    return it == portOwners.end() ? nullptr : FindSocket(it->second);
}

bool SimWorld::Impl::Dropped()
{
    if (dropRate <= 0.0) {
        return false;
    }
    return std::bernoulli_distribution(std::min(dropRate, 1.0))(dropGenerator);
}

std::string SimWorld::Impl::TextOfAddress(const std::string& address)
{
    const std::string canonical = AddressText::Canonical(address);
    return canonical.empty() ? address : canonical;
}

std::string SimWorld::Impl::PeerKey(const std::string& address, int port)
{
    return TextOfAddress(address) + " " + std::to_string(port);
}

void SimWorld::Impl::SendFromLocal(int fromPort, const Datagram& datagram)
{
    SentDatagram record;
    record.toAddress = TextOfAddress(datagram.Address);
    record.toPort = datagram.Port;
    const bool ipv6 = record.toAddress.find(':') != std::string::npos;
    record.fromAddress = ipv6 ? LocalAddressV6 : LocalAddressV4;
    record.fromPort = fromPort;
    record.data = datagram.Data;
    record.atMs = world.Now();
    if (SimSocketDriver* socket = SocketAtPort(fromPort)) {
        record.hopLimit = socket->HopLimit();
    }
    sent.push_back(record);

    if (Dropped()) {
        return;
    }
    const std::string key = PeerKey(record.toAddress, record.toPort);
    Schedule(world.Now() + world.latencyMs_, [this, key, record] {
        const auto it = peers.find(key);
        if (it == peers.end()) {
            return;
        }
        // The peer may remove itself while it runs: call a copy.
        const Peer peer = it->second;
        peer(record);
    });
}

void SimWorld::Impl::DeliverToLocal(const std::string& fromAddress, int fromPort, int toPort,
                                    std::string data)
{
    if (Dropped()) {
        return;
    }
    Datagram datagram;
    datagram.Address = TextOfAddress(fromAddress);
    datagram.Port = fromPort;
    datagram.Data = std::move(data);
    // The receiving socket is the one bound when the datagram arrives.
    Schedule(world.Now() + world.latencyMs_, [this, toPort, datagram = std::move(datagram)]() mutable {
        if (SimSocketDriver* socket = SocketAtPort(toPort)) {
            socket->Deliver(socket->Binding(), std::move(datagram));
        }
    });
}

// ---------------------------------------------------------------- SimWorld

SimWorld::SimWorld()
    : impl_(std::make_unique<Impl>(*this))
{
    impl_->dropGenerator.seed(DefaultDropSeed);
    impl_->randomGenerator.seed(DefaultRandomSeed);
    Backend::Install(this);
}

SimWorld::~SimWorld()
{
    Backend::Install(nullptr);
    // Objects made in this world may outlive it; they go quiet.
    impl_->DetachAll();
}

void SimWorld::Advance(std::int64_t ms)
{
    const std::int64_t target = now_ + std::max<std::int64_t>(ms, 0);
    impl_->RunDueUntil(target);
    now_ = target;
}

void SimWorld::RunUntilIdle()
{
    impl_->RunDueUntil(now_);
}

void SimWorld::AddName(const std::string& host, const std::string& address)
{
    impl_->names[Lowercase(host)] = address;
}

std::vector<SentDatagram> SimWorld::TakeSent()
{
    return std::exchange(impl_->sent, {});
}

void SimWorld::Inject(const std::string& fromAddress, int fromPort, int toPort, std::string data)
{
    impl_->DeliverToLocal(fromAddress, fromPort, toPort, std::move(data));
    if (!impl_->InsideEvent()) {
        RunUntilIdle();
    }
}

void SimWorld::AddPeer(const std::string& address, int port, Peer peer)
{
    impl_->peers[Impl::PeerKey(address, port)] = std::move(peer);
}

void SimWorld::RemovePeer(const std::string& address, int port)
{
    impl_->peers.erase(Impl::PeerKey(address, port));
}

std::vector<int> SimWorld::BoundPorts() const
{
    std::vector<int> ports;
    for (const auto& [port, socket] : impl_->portOwners) {
        ports.push_back(port);
    }
    return ports;
}

void SimWorld::FailNextBind(int errorCode)
{
    impl_->failNextBind = errorCode;
}

void SimWorld::RaiseSocketError(int localPort, int errorCode)
{
    SimSocketDriver* socket = impl_->SocketAtPort(localPort);
    if (socket == nullptr) {
        return;
    }
    Impl* world = impl_.get();
    const int id = socket->Id();
    const std::uint64_t binding = socket->Binding();
    impl_->Schedule(now_, [world, id, binding, errorCode] {
        if (SimSocketDriver* target = world->FindSocket(id)) {
            target->RaiseError(binding, errorCode);
        }
    });
    if (!impl_->InsideEvent()) {
        RunUntilIdle();
    }
}

void SimWorld::SetDropRate(double probability, std::uint32_t seed)
{
    impl_->dropRate = probability;
    impl_->dropGenerator.seed(seed);
}

void SimWorld::QueueRandomValues(std::vector<int> values)
{
    impl_->queuedRandomValues.insert(impl_->queuedRandomValues.end(), values.begin(), values.end());
}

std::unique_ptr<TimerDriver> SimWorld::MakeTimer(std::function<void()> onExpiry)
{
    return std::make_unique<SimTimerDriver>(*impl_, std::move(onExpiry));
}

std::unique_ptr<SocketDriver> SimWorld::MakeSocket(SocketEvents events)
{
    return std::make_unique<SimSocketDriver>(*impl_, std::move(events));
}

std::string SimWorld::LookupIPAddress(const std::string& host)
{
    const std::string literal = AddressText::Canonical(host);
    if (!literal.empty()) {
        return literal;
    }
    const auto it = impl_->names.find(Lowercase(host));
    return it == impl_->names.end() ? std::string() : Impl::TextOfAddress(it->second);
}

void SimWorld::LookupIPAddressLater(const std::string& host, std::function<void(std::string)> done)
{
    std::string resolved = LookupIPAddress(host);
    if (lookupDelayMs_ <= 0 || !AddressText::Canonical(host).empty()) {
        done(std::move(resolved));
        return;
    }
    impl_->Schedule(now_ + lookupDelayMs_,
                    [done = std::move(done), resolved = std::move(resolved)] { done(resolved); });
}

int SimWorld::RandomInRange(int low, int high)
{
    if (low > high) {
        std::swap(low, high);
    }
    if (!impl_->queuedRandomValues.empty()) {
        const int value = impl_->queuedRandomValues.front();
        impl_->queuedRandomValues.pop_front();
        return value;
    }
    return std::uniform_int_distribution<int>(low, high)(impl_->randomGenerator);
}

}  // namespace ostrel::sim
