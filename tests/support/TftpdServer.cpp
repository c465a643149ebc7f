#include "support/TftpdServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace ostrel::testsupport {

namespace {

constexpr int LaunchAttempts = 5;
constexpr auto StartDeadline = std::chrono::seconds(10);
constexpr auto PollInterval = std::chrono::milliseconds(5);

bool IsIPv6(const std::string& address)
{
    return address.find(':') != std::string::npos;
}

// "127.0.0.1:PORT" or "[::1]:PORT".
std::string WithPort(const std::string& address, int port)
{
    return (IsIPv6(address) ? "[" + address + "]" : address) + ":" + std::to_string(port);
}

// A UDP socket bound to address:port (0: any port); -1 on failure.
int BoundSocket(const std::string& address, int port)
{
    const int family = IsIPv6(address) ? AF_INET6 : AF_INET;
    const int fd = ::socket(family, SOCK_DGRAM, 0);
    if (fd < 0) {
        return -1;
    }
    int result = -1;
    if (family == AF_INET6) {
        sockaddr_in6 sa{};
        sa.sin6_family = AF_INET6;
        sa.sin6_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET6, address.c_str(), &sa.sin6_addr);
        result = ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    } else {
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET, address.c_str(), &sa.sin_addr);
        result = ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    }
    if (result != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool TftpdServer::HasIPv6Loopback()
{
    const int fd = BoundSocket("::1", 0);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

int TftpdServer::FreePort(const std::string& address)
{
    const int fd = BoundSocket(address, 0);
    if (fd < 0) {
        throw std::runtime_error("cannot bind a UDP socket on " + address);
    }
    sockaddr_storage sa{};
    socklen_t length = sizeof sa;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &length);
    ::close(fd);
    return sa.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&sa)->sin6_port)
                                    : ntohs(reinterpret_cast<sockaddr_in*>(&sa)->sin_port);
}

TftpdServer::TftpdServer(std::string loopbackAddress)
    : TftpdServer(Settings{std::move(loopbackAddress), {}, DefaultBinary, {}, {}})
{
}

TftpdServer::TftpdServer(Settings settings) : settings_(std::move(settings))
{
    if (::access(settings_.binary.c_str(), X_OK) != 0) {
        throw std::runtime_error(settings_.binary + " is missing: install tftpd-hpa");
    }
    if (settings_.root.empty()) {
        ownedRoot_.emplace();
        // The server runs as root inside the folder; let it write there.
        ::chmod(ownedRoot_->Path().c_str(), 0777);
        root_ = ownedRoot_->Path();
    } else {
        root_ = settings_.root;
    }
    // Another process may take the free port before the server binds it:
    // then the server exits and another port is tried.
    for (int attempt = 0; attempt < LaunchAttempts && !Abandoned(); ++attempt) {
        const int port = FreePort(settings_.address);
        if (Launch(port) && WaitUntilListening(port)) {
            port_ = port;
            return;
        }
        Stop();
    }
    throw std::runtime_error(settings_.binary + (Abandoned() ? " start abandoned on " : " did not start on ")
                             + settings_.address);
}

TftpdServer::~TftpdServer()
{
    Stop();
}

std::string TftpdServer::ClientAddress() const
{
    return WithPort(settings_.address, port_);
}

bool TftpdServer::Abandoned() const
{
    return settings_.abandon && settings_.abandon();
}

bool TftpdServer::Launch(int port)
{
    const std::string listen = WithPort(settings_.address, port);
    const std::string root = root_.string();
    std::vector<std::string> args = {settings_.binary, "-L", "-s", root, "-c", "-u", "root", "-a", listen};
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    const int error = ::posix_spawn(&pid_, settings_.binary.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        pid_ = -1;
        return false;
    }
    SetGroup(pid_);
    return true;
}

bool TftpdServer::WaitUntilListening(int port)
{
    const auto deadline = std::chrono::steady_clock::now() + StartDeadline;
    while (std::chrono::steady_clock::now() < deadline && !Abandoned()) {
        if (IsListening(port)) {
            return true;
        }
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;  // it exited: the port was taken, most likely
            SetGroup(-1);
            return false;
        }
        std::this_thread::sleep_for(PollInterval);
    }
    return false;
}

bool TftpdServer::IsListening(int port) const
{
    // The kernel's socket table shows the bound port without disturbing it.
    std::ifstream table(IsIPv6(settings_.address) ? "/proc/net/udp6" : "/proc/net/udp");
    std::string line;
    std::getline(table, line);  // column titles
    char wanted[8];
    std::snprintf(wanted, sizeof wanted, ":%04X", port);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot;
        std::string local;
        fields >> slot >> local;
        if (local.size() >= 5 && local.compare(local.size() - 5, 5, wanted) == 0) {
            return true;
        }
    }
    return false;
}

void TftpdServer::SetGroup(pid_t group)
{
    if (settings_.groupChanged) {
        settings_.groupChanged(group);
    }
}

void TftpdServer::Stop()
{
    if (pid_ <= 0) {
        return;
    }
    ::kill(-pid_, SIGTERM);
    int status = 0;
    // A signal handler installed without SA_RESTART may cut the wait short.
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    SetGroup(-1);
}

}  // namespace ostrel::testsupport
