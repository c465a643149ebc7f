#pragma once
// A small TFTP server test double that lives in a SimWorld: it answers read
// and write requests at address:requestPort from a transfer port of its own
// (transferPort, then the next ports for further concurrent sessions), keeps
// its files in memory, and is purely reactive: it answers each packet and
// repeats its last packet when the client repeats its own, so with a lossy
// network the client's retransmissions drive recovery. Block numbers wrap
// modulo 65536 on the wire, as common servers do. It builds its packets
// itself, independently of the engine under test.

#include "platform/sim/SimWorld.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ostrel::testsupport {

class ScriptedTftpServer {
public:
    static constexpr int DefaultTransferPort = 3456;

    struct Request {
        int opcode = 0;
        std::string fileName;
        std::string mode;
        std::string password;  // the field after the mode, if any
        int clientPort = 0;
    };

    ScriptedTftpServer(sim::SimWorld& world, std::string address, int requestPort = 69,
                       int transferPort = DefaultTransferPort);
    ~ScriptedTftpServer();
    ScriptedTftpServer(const ScriptedTftpServer&) = delete;
    ScriptedTftpServer& operator=(const ScriptedTftpServer&) = delete;

    void SetFile(const std::string& name, std::string content);
    // A file the server holds: set by the test or completely uploaded.
    std::optional<std::string> File(const std::string& name) const;
    const std::vector<Request>& Requests() const { return requests_; }
    // Sessions whose last block was acknowledged (download) or received
    // (upload).
    int CompletedTransfers() const { return completed_; }

private:
    struct Session {
        bool upload = false;
        std::string fileName;
        std::string content;      // download: the file; upload: bytes so far
        std::int64_t block = 0;   // download: block sent last; upload: block acknowledged last
        bool finished = false;
        int clientPort = 0;
        int transferPort = 0;
        std::string lastSent;
    };

    void OnRequest(const sim::SentDatagram& datagram);
    void OnTransferPacket(int transferPort, const sim::SentDatagram& datagram);
    void StartSession(const Request& request);
    void HandleAck(Session& session, int wireBlock);
    void HandleData(Session& session, int wireBlock, const std::string& packet);
    void SendBlock(Session& session, std::int64_t block);
    void Send(Session& session, std::string packet);
    Session* SessionForClient(int clientPort);

    sim::SimWorld& world_;
    std::string address_;
    int requestPort_;
    int nextTransferPort_;
    std::map<std::string, std::string> files_;
    std::map<int, Session> sessions_;  // by transfer port
    std::vector<Request> requests_;
    int completed_ = 0;
};

}  // namespace ostrel::testsupport
