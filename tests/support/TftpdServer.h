#pragma once
// A real tftpd-hpa for loopback tests: serves a fresh temporary folder from
// a free UDP port of 127.0.0.1 (or ::1), started as
//   in.tftpd -L -s DIR -c -u root -a ADDRESS:PORT
// in a process group of its own, and stopped by that id when the object
// goes (which also ends the per-transfer processes it forked). Construction
// throws std::runtime_error when the server cannot be started: a missing
// binary is a broken test set-up, not a reason to skip.

#include "support/TempDir.h"

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace ostrel::testsupport {

class TftpdServer {
public:
    static constexpr const char* Binary = "/usr/sbin/in.tftpd";

    // loopbackAddress: "127.0.0.1" or "::1".
    explicit TftpdServer(std::string loopbackAddress = "127.0.0.1");
    ~TftpdServer();
    TftpdServer(const TftpdServer&) = delete;
    TftpdServer& operator=(const TftpdServer&) = delete;

    // The folder the server serves and creates files in.
    const std::filesystem::path& Root() const { return root_.Path(); }
    int Port() const { return port_; }
    // The address text a client types: "127.0.0.1:PORT" or "[::1]:PORT".
    std::string ClientAddress() const;

    // Whether the host can bind UDP on ::1.
    static bool HasIPv6Loopback();

private:
    static int FreePort(const std::string& address);
    bool Launch(int port);
    bool WaitUntilListening(int port);
    bool IsListening(int port) const;
    void Stop();

    std::string address_;
    TempDir root_;
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace ostrel::testsupport
