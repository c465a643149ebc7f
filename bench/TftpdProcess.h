#pragma once
// tftpd-hpa serving a folder from a free UDP port of 127.0.0.1, started as
//   in.tftpd -L -s DIR -c -u root -a 127.0.0.1:PORT
// in a process group of its own and stopped by that id when the object goes
// (which also ends the per-transfer processes it forked). Only loopback is
// ever used.

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace ostrel::bench {

class TftpdProcess {
public:
    static constexpr const char* DefaultBinary = "/usr/sbin/in.tftpd";
    static constexpr const char* LoopbackAddress = "127.0.0.1";

    // Throws BenchError when the server cannot be started.
    TftpdProcess(std::filesystem::path root, std::string binary = DefaultBinary);
    ~TftpdProcess();
    TftpdProcess(const TftpdProcess&) = delete;
    TftpdProcess& operator=(const TftpdProcess&) = delete;

    int Port() const { return port_; }
    // "127.0.0.1:PORT", the address text Ostrel's engine takes.
    std::string ClientAddress() const;

private:
    static int FreePort();
    bool Launch(int port);
    bool WaitUntilListening(int port);
    static bool IsListening(int port);
    void Stop();

    std::filesystem::path root_;
    std::string binary_;
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace ostrel::bench
