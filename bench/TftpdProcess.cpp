#include "bench/TftpdProcess.h"

#include "bench/BenchError.h"
#include "bench/Interruption.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace ostrel::bench {

namespace {

constexpr int LaunchAttempts = 5;
constexpr auto StartDeadline = std::chrono::seconds(10);
constexpr auto PollInterval = std::chrono::milliseconds(5);
constexpr const char* UdpTable = "/proc/net/udp";

}  // namespace

TftpdProcess::TftpdProcess(std::filesystem::path root, std::string binary)
    : root_(std::move(root)), binary_(std::move(binary))
{
    if (::access(binary_.c_str(), X_OK) != 0) {
        throw BenchError(binary_ + " is missing: install tftpd-hpa");
    }
    // Another process may take the free port before the server binds it:
    // then the server exits and another port is tried.
    for (int attempt = 0; attempt < LaunchAttempts; ++attempt) {
        const int port = FreePort();
        if (Launch(port) && WaitUntilListening(port)) {
            port_ = port;
            return;
        }
        Stop();
        Interruption::ThrowIfRequested();
    }
    throw BenchError(binary_ + " did not start on " + LoopbackAddress);
}

TftpdProcess::~TftpdProcess()
{
    Stop();
}

std::string TftpdProcess::ClientAddress() const
{
    return std::string(LoopbackAddress) + ":" + std::to_string(port_);
}

int TftpdProcess::FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = 0;
    ::inet_pton(AF_INET, LoopbackAddress, &address.sin_addr);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        throw BenchError("cannot bind a UDP socket on 127.0.0.1");
    }
    ::close(fd);
    return ntohs(address.sin_port);
}

bool TftpdProcess::Launch(int port)
{
    const std::string listen = std::string(LoopbackAddress) + ":" + std::to_string(port);
    const std::string root = root_.string();
    std::vector<std::string> args = {binary_, "-L", "-s", root, "-c", "-u", "root", "-a", listen};
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    const int error = ::posix_spawn(&pid_, binary_.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        pid_ = -1;
        return false;
    }
    Interruption::SetServerGroup(pid_);
    return true;
}

bool TftpdProcess::WaitUntilListening(int port)
{
    const auto deadline = std::chrono::steady_clock::now() + StartDeadline;
    while (std::chrono::steady_clock::now() < deadline && !Interruption::Requested()) {
        if (IsListening(port)) {
            return true;
        }
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;  // it exited: the port was taken, most likely
            Interruption::SetServerGroup(-1);
            return false;
        }
        std::this_thread::sleep_for(PollInterval);
    }
    return false;
}

bool TftpdProcess::IsListening(int port)
{
    // The kernel's socket table shows the bound port without disturbing it.
    std::ifstream table(UdpTable);
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

void TftpdProcess::Stop()
{
    if (pid_ <= 0) {
        return;
    }
    ::kill(-pid_, SIGTERM);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    Interruption::SetServerGroup(-1);
}

}  // namespace ostrel::bench
