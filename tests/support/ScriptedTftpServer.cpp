#include "support/ScriptedTftpServer.h"

#include <utility>

namespace ostrel::testsupport {

namespace {

constexpr int OpRead = 1;
constexpr int OpWrite = 2;
constexpr int OpData = 3;
constexpr int OpAck = 4;
constexpr int OpError = 5;
constexpr std::size_t Header = 4;
constexpr std::size_t BlockBytes = 512;
constexpr std::int64_t WireSpan = 65536;

int Byte(const std::string& packet, std::size_t offset)
{
    return offset < packet.size() ? static_cast<unsigned char>(packet[offset]) : -1;
}

int WireBlockOf(const std::string& packet)
{
    if (packet.size() < Header) {
        return -1;
    }
    return Byte(packet, 2) * 256 + Byte(packet, 3);
}

int Wire(std::int64_t block)
{
    return static_cast<int>(block % WireSpan);
}

std::string Packet(int opcode, int number)
{
    return {'\0', static_cast<char>(opcode), static_cast<char>(number / 256), static_cast<char>(number % 256)};
}

// The zero-terminated fields after the opcode of a request.
std::vector<std::string> RequestFields(const std::string& packet)
{
    std::vector<std::string> fields;
    std::size_t start = 2;
    while (start < packet.size()) {
        const auto end = packet.find('\0', start);
        if (end == std::string::npos) {
            break;
        }
        fields.push_back(packet.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

}  // namespace

ScriptedTftpServer::ScriptedTftpServer(sim::SimWorld& world, std::string address, int requestPort,
                                       int transferPort)
    : world_(world), address_(std::move(address)), requestPort_(requestPort), nextTransferPort_(transferPort)
{
    world_.AddPeer(address_, requestPort_, [this](const sim::SentDatagram& d) { OnRequest(d); });
}

ScriptedTftpServer::~ScriptedTftpServer()
{
    world_.RemovePeer(address_, requestPort_);
    for (const auto& [port, session] : sessions_) {
        world_.RemovePeer(address_, port);
    }
}

void ScriptedTftpServer::SetFile(const std::string& name, std::string content)
{
    files_[name] = std::move(content);
}

std::optional<std::string> ScriptedTftpServer::File(const std::string& name) const
{
    const auto it = files_.find(name);
    if (it == files_.end()) {
        return std::nullopt;
    }
    return it->second;
}

ScriptedTftpServer::Session* ScriptedTftpServer::SessionForClient(int clientPort)
{
    for (auto& [port, session] : sessions_) {
        if (session.clientPort == clientPort) {
            return &session;
        }
    }
    return nullptr;
}

void ScriptedTftpServer::OnRequest(const sim::SentDatagram& datagram)
{
    const int opcode = Byte(datagram.data, 1);
    if (Byte(datagram.data, 0) != 0 || (opcode != OpRead && opcode != OpWrite)) {
        return;
    }
    if (Session* session = SessionForClient(datagram.fromPort)) {
        // The client repeated its request: our answer was lost.
        world_.Inject(address_, session->transferPort, session->clientPort, session->lastSent);
        return;
    }
    const auto fields = RequestFields(datagram.data);
    Request request;
    request.opcode = opcode;
    request.fileName = fields.size() > 0 ? fields[0] : std::string();
    request.mode = fields.size() > 1 ? fields[1] : std::string();
    request.password = fields.size() > 2 ? fields[2] : std::string();
    request.clientPort = datagram.fromPort;
    requests_.push_back(request);
    StartSession(request);
}

void ScriptedTftpServer::StartSession(const Request& request)
{
    const int transferPort = nextTransferPort_++;
    Session& session = sessions_[transferPort];
    session.upload = request.opcode == OpWrite;
    session.fileName = request.fileName;
    session.clientPort = request.clientPort;
    session.transferPort = transferPort;
    world_.AddPeer(address_, transferPort,
                   [this, transferPort](const sim::SentDatagram& d) { OnTransferPacket(transferPort, d); });

    if (session.upload) {
        session.block = 0;
        Send(session, Packet(OpAck, 0));
        return;
    }
    const auto file = files_.find(request.fileName);
    if (file == files_.end()) {
        std::string error = Packet(OpError, 1) + "File not found.";
        error.push_back('\0');
        session.finished = true;
        Send(session, std::move(error));
        return;
    }
    session.content = file->second;
    SendBlock(session, 1);
}

void ScriptedTftpServer::OnTransferPacket(int transferPort, const sim::SentDatagram& datagram)
{
    auto it = sessions_.find(transferPort);
    if (it == sessions_.end() || datagram.fromPort != it->second.clientPort) {
        return;
    }
    Session& session = it->second;
    const int opcode = Byte(datagram.data, 1);
    const int wireBlock = WireBlockOf(datagram.data);
    if (opcode == OpError) {
        session.finished = true;
    } else if (opcode == OpAck && !session.upload) {
        HandleAck(session, wireBlock);
    } else if (opcode == OpData && session.upload) {
        HandleData(session, wireBlock, datagram.data);
    }
}

void ScriptedTftpServer::HandleAck(Session& session, int wireBlock)
{
    if (session.finished) {
        return;
    }
    if (wireBlock == Wire(session.block)) {
        const bool lastWasFinal = session.content.size() < static_cast<std::size_t>(session.block) * BlockBytes;
        if (lastWasFinal) {
            session.finished = true;
            ++completed_;
            return;
        }
        SendBlock(session, session.block + 1);
    } else if (wireBlock == Wire(session.block - 1)) {
        Send(session, session.lastSent);  // our block was lost
    }
}

void ScriptedTftpServer::HandleData(Session& session, int wireBlock, const std::string& packet)
{
    if (wireBlock == Wire(session.block)) {
        Send(session, session.lastSent);  // our ACK was lost
        return;
    }
    if (session.finished || wireBlock != Wire(session.block + 1)) {
        return;
    }
    const std::string payload = packet.size() > Header ? packet.substr(Header) : std::string();
    session.content += payload;
    ++session.block;
    Send(session, Packet(OpAck, Wire(session.block)));
    if (payload.size() < BlockBytes) {
        session.finished = true;
        files_[session.fileName] = session.content;
        ++completed_;
    }
}

void ScriptedTftpServer::SendBlock(Session& session, std::int64_t block)
{
    session.block = block;
    const std::size_t offset = static_cast<std::size_t>(block - 1) * BlockBytes;
    std::string packet = Packet(OpData, Wire(block));
    if (offset < session.content.size()) {
        packet += session.content.substr(offset, BlockBytes);
    }
    Send(session, std::move(packet));
}

void ScriptedTftpServer::Send(Session& session, std::string packet)
{
    session.lastSent = std::move(packet);
    world_.Inject(address_, session.transferPort, session.clientPort, session.lastSent);
}

}  // namespace ostrel::testsupport
