#pragma once
// A real tftpd-hpa on loopback, for the loopback tests and the benchmark:
// serves a folder from a free UDP port of 127.0.0.1 (or ::1), started as
//   in.tftpd -L -s DIR -c -u root -a ADDRESS:PORT
// in a process group of its own, and stopped by that id when the object
// goes (which also ends the per-transfer processes it forked). Construction
// throws std::runtime_error when the server cannot be started: a missing
// binary is a broken set-up, not a reason to skip. Only loopback is ever used.

#include "support/TempDir.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

namespace ostrel::testsupport {

class TftpdServer {
public:
    static constexpr const char* DefaultBinary = "/usr/sbin/in.tftpd";
    static constexpr const char* IPv4Loopback = "127.0.0.1";

    struct Settings {
        // "127.0.0.1" or "::1".
        std::string address = IPv4Loopback;
        // The folder to serve; empty: a fresh temporary one, writable by the server.
        std::filesystem::path root;
        std::string binary = DefaultBinary;
        // Told the server's process group when it starts and -1 once it is
        // gone, for a signal handler that must end it.
        std::function<void(pid_t group)> groupChanged;
        // Polled while the server starts; true gives up (and throws).
        std::function<bool()> abandon;
    };

    // A fresh temporary folder served on loopbackAddress ("127.0.0.1" or "::1").
    explicit TftpdServer(std::string loopbackAddress = IPv4Loopback);
    explicit TftpdServer(Settings settings);
    ~TftpdServer();
    TftpdServer(const TftpdServer&) = delete;
    TftpdServer& operator=(const TftpdServer&) = delete;

    // The folder the server serves and creates files in.
    const std::filesystem::path& Root() const { return root_; }
    // The loopback address it listens on, without the port.
    const std::string& Address() const { return settings_.address; }
    int Port() const { return port_; }
    // The address text a client types: "127.0.0.1:PORT" or "[::1]:PORT".
    std::string ClientAddress() const;

    // Whether the host can bind UDP on ::1.
    static bool HasIPv6Loopback();

private:
    static int FreePort(const std::string& address);
    bool Abandoned() const;
    bool Launch(int port);
    bool WaitUntilListening(int port);
    bool IsListening(int port) const;
    void SetGroup(pid_t group);
    void Stop();

    Settings settings_;
    std::optional<TempDir> ownedRoot_;
    std::filesystem::path root_;
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace ostrel::testsupport
