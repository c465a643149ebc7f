#include "platform/real/RealBackend.h"

#include "platform/AddressText.h"
#include "platform/ProcessSignals.h"
#include "platform/real/RealSocketDriver.h"
#include "platform/real/RealTimerDriver.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>

#include <chrono>
#include <netdb.h>
#include <sys/socket.h>
#include <utility>

namespace ostrel {

namespace {

std::uint32_t EntropySeed()
{
    try {
        std::random_device device;
        return device();
    } catch (...) {
        // No entropy source: the clock still differs from run to run.
        return static_cast<std::uint32_t>(
            std::chrono::steady_clock::now().time_since_epoch().count());
    }
}

// The first IPv4 result of the host's resolver, else its first IPv6 one:
// most devices that take files over TFTP speak only IPv4.
std::string ResolveName(const std::string& host)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) {
        return {};
    }
    const addrinfo* chosen = nullptr;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET) {
            chosen = entry;
            break;
        }
        if (entry->ai_family == AF_INET6 && chosen == nullptr) {
            chosen = entry;
        }
    }
    std::string text = chosen != nullptr ? AddressText::Format(chosen->ai_addr) : std::string();
    ::freeaddrinfo(found);
    return text;
}

}  // namespace

RealBackend& RealBackend::Instance()
{
    static RealBackend instance;
    return instance;
}

RealBackend::RealBackend()
    : generator_(EntropySeed())
{
    ProcessSignals::IgnoreFatalWriteSignals();
}

std::unique_ptr<TimerDriver> RealBackend::MakeTimer(std::function<void()> onExpiry)
{
    return std::make_unique<RealTimerDriver>(std::move(onExpiry));
}

std::unique_ptr<SocketDriver> RealBackend::MakeSocket(SocketEvents events)
{
    return std::make_unique<RealSocketDriver>(std::move(events));
}

std::string RealBackend::LookupIPAddress(const std::string& host)
{
    const std::string literal = AddressText::Canonical(host);
    if (!literal.empty()) {
        return literal;
    }
    if (host.empty() || host.find('\0') != std::string::npos) {
        return {};
    }
    return ResolveName(host);
}

void RealBackend::LookupIPAddressLater(const std::string& host, std::function<void(std::string)> done)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!AddressText::Canonical(host).empty() || application == nullptr) {
        done(LookupIPAddress(host));  // at hand, or no event loop to answer on
        return;
    }
    QThreadPool::globalInstance()->start([this, host, done = std::move(done), application]() mutable {
        std::string resolved = LookupIPAddress(host);
        QMetaObject::invokeMethod(
            application, [done = std::move(done), resolved = std::move(resolved)] { done(resolved); },
            Qt::QueuedConnection);
    });
}

int RealBackend::RandomInRange(int low, int high)
{
    if (low > high) {
        std::swap(low, high);
    }
    return std::uniform_int_distribution<int>(low, high)(generator_);
}

}  // namespace ostrel
