#include "engine/TFTP_Base.h"

#include "engine/ServerAddress.h"
#include "platform/Network.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cctype>
#include <utility>

namespace ostrel {

namespace {

constexpr const char* OctetMode = "octet";
constexpr const char* NetasciiMode = "netascii";
constexpr const char* NoErrorMessage = "No error message.";
constexpr std::size_t ShortestErrorWithText = 6;  // header, one text byte, terminator
constexpr int ByteSpan = 256;

const std::array<const char*, 8> ErrorTexts = {
    "Not defined.",
    "File not found.",
    "Access violation.",
    "Disk full or allocation exceeded.",
    "Illegal TFTP operation.",
    "Unknown transfer ID.",
    "File already exists.",
    "No such user.",
};

// Bytes past the end of a short packet read as 0.
int ByteAt(std::string_view packet, std::size_t offset)
{
    return offset < packet.size() ? static_cast<unsigned char>(packet[offset]) : 0;
}

int TwoByteNumberAt(std::string_view packet, std::size_t offset)
{
    return ByteAt(packet, offset) * ByteSpan + ByteAt(packet, offset + 1);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    // Sender and resolved address come in the same text form, so the exact
    // comparison is the one that decides on every packet.
    if (a == b) {
        return true;
    }
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

TFTP_Base::TFTP_Base()
{
    myPort_ = ChooseRandomPort();
    lastBlock_ = 0;
    targetPort_ = ServerAddress::DefaultPort;
    stage_ = TransferStage::New;
    SetRouterHops(RouterHopsLimit);
}

TFTP_Base::~TFTP_Base()
{
    myTimer_.reset();
}

// --- packets ---

std::string TFTP_Base::MakeBlockString(std::int64_t block)
{
    const auto wire = static_cast<int>(block % BlockNumberSpan);
    return {static_cast<char>(wire / ByteSpan), static_cast<char>(wire % ByteSpan)};
}

std::string TFTP_Base::MakeRequestString(int opcode, std::string_view fileName, std::string_view mode,
                                         std::string_view password)
{
    std::string packet{'\0', static_cast<char>(opcode)};
    packet.append(fileName).push_back('\0');
    packet.append(mode).push_back('\0');
    if (!password.empty()) {
        packet.append(password).push_back('\0');
    }
    return packet;
}

std::string TFTP_Base::MakeRequestString(int opcode) const
{
    return MakeRequestString(opcode, myFile_ ? myFile_->Name() : std::string(), modeString_, password_);
}

std::string TFTP_Base::ErrorText(int code)
{
    if (code < 0 || code >= static_cast<int>(ErrorTexts.size())) {
        return {};
    }
    return ErrorTexts[static_cast<std::size_t>(code)];
}

std::string TFTP_Base::MakeErrorPacketString(int code)
{
    std::string packet{'\0', static_cast<char>(OpError), '\0', static_cast<char>(code)};
    packet.append(ErrorText(code)).push_back('\0');
    return packet;
}

int TFTP_Base::GetOPCode(std::string_view packet)
{
    return ByteAt(packet, 1);
}

int TFTP_Base::GetBlockNumber(std::string_view packet)
{
    return TwoByteNumberAt(packet, 2);
}

int TFTP_Base::GetErrorNumber(std::string_view packet)
{
    return TwoByteNumberAt(packet, 2);
}

std::string TFTP_Base::GetErrorMessage(std::string_view packet)
{
    if (packet.size() < ShortestErrorWithText) {
        return NoErrorMessage;
    }
    // The last byte is taken to be the terminator, whatever it holds.
    return std::string(packet.substr(HeaderSize, packet.size() - HeaderSize - 1));
}

// --- the transfer ---

int TFTP_Base::ChooseRandomPort()
{
    return Random::InRange(LowestLocalPort, HighestLocalPort);
}

bool TFTP_Base::SetTargetAddress(const std::string& resolved)
{
    if (resolved.empty()) {
        return false;
    }
    targetAddress_ = resolved;
    return true;
}

bool TFTP_Base::StartTransfer(FolderItemPtr file, std::string address, std::string password, int mode)
{
    if (stage_ != TransferStage::New || pendingStart_) {
        return false;  // one transfer per object
    }
    const auto parsed = file ? ServerAddress::Parse(address) : std::nullopt;
    if (!parsed) {
        HandleFatalError(0, "Couldn't resolve address");
        return false;
    }
    pendingStart_ = PendingStart{std::move(file), std::move(password), mode, parsed->Port()};

    // A name may take the resolver a while: the window must not freeze
    // meanwhile, so the transfer stays in Stage New until the answer comes.
    // Address literals are answered at once, inside the call.
    struct Answer {
        bool withinCall = true;
        std::optional<std::string> resolved;
    };
    auto answer = std::make_shared<Answer>();
    std::weak_ptr<TFTP_Base> self = weak_from_this();
    Network::LookupIPAddressLater(parsed->Host(), [answer, self](std::string resolved) {
        if (answer->withinCall) {
            answer->resolved = std::move(resolved);
        } else if (const auto transfer = self.lock()) {
            transfer->ContinueStart(resolved);
        }
    });
    answer->withinCall = false;
    if (answer->resolved) {
        return ContinueStart(*answer->resolved);
    }
    return true;
}

bool TFTP_Base::ContinueStart(const std::string& resolved)
{
    if (!pendingStart_) {
        return false;
    }
    PendingStart start = std::move(*pendingStart_);
    pendingStart_.reset();
    if (stage_ != TransferStage::New) {
        return false;  // aborted while the name was being looked up
    }
    if (!SetTargetAddress(resolved)) {
        HandleFatalError(0, "Couldn't resolve address");
        return false;
    }
    targetPort_ = start.serverPort;
    myFile_ = std::move(start.file);
    password_ = std::move(start.password);
    modeString_ = start.mode == TextMode ? NetasciiMode : OctetMode;
    SetPeerAddressHint(targetAddress_);

    if (!Event_Start()) {
        return false;
    }
    // Without an owning shared_ptr the timer would have nobody to retry.
    assert(!weak_from_this().expired() && "hold transfer objects in a std::shared_ptr");
    myTimer_ = std::make_unique<TFTP_Timeout>(weak_from_this());
    return true;
}

bool TFTP_Base::BindSocket()
{
    SetPort(myPort_);
    Connect();
    if (LastErrorCode() != 0 || !IsConnected()) {
        HandleFatalError(LastErrorCode(), "Could not connect.");
        return false;
    }
    myPort_ = Port();
    return true;
}

void TFTP_Base::SendToServer(std::string data)
{
    lastData_.Address = targetAddress_;
    lastData_.Port = targetPort_;
    lastData_.Data = std::move(data);
    Write(lastData_);
}

bool TFTP_Base::IsFromServerAddress(const Datagram& datagram) const
{
    return EqualIgnoringCase(datagram.Address, targetAddress_);
}

bool TFTP_Base::IsAwaitedBlock(int wireBlock) const
{
    return wireBlock == lastBlock_ % BlockNumberSpan;
}

void TFTP_Base::RestartTimer()
{
    retryCount_ = 0;
    if (myTimer_) {
        myTimer_->SetMode(Timer::ModeOff);
        myTimer_->SetMode(Timer::ModeSingle);
    }
}

bool TFTP_Base::IsServerPacketOfKind(const Datagram& datagram, int opcode)
{
    if (!IsFromServerAddress(datagram)) {
        return false;
    }
    const int kind = GetOPCode(datagram.Data);
    if (kind == OpError) {
        HandleFatalError(GetErrorNumber(datagram.Data), GetErrorMessage(datagram.Data));
        return false;
    }
    return kind == opcode;
}

void TFTP_Base::Event_DataAvailable()
{
    const Datagram datagram = Read();
    if (stage_ == TransferStage::New || TransferStage::HasEnded(stage_)) {
        return;  // nothing is awaited
    }
    Event_HandlePacket(datagram);
}

void TFTP_Base::Event_Error()
{
    if (TransferStage::HasEnded(stage_)) {
        return;
    }
    const int code = LastErrorCode();
    HandleFatalError(code, "An error of type " + std::to_string(code) + " occurred");
}

void TFTP_Base::Retry()
{
    if (TransferStage::HasEnded(stage_)) {
        return;
    }
    if (retryCount_ < MaxRetries) {
        if (myTimer_) {
            myTimer_->SetMode(Timer::ModeOff);
        }
        Write(lastData_);
        ++retryCount_;
        if (myTimer_) {
            myTimer_->SetMode(Timer::ModeSingle);
        }
    } else {
        HandleFatalError(0, "No response from server.");
    }
}

void TFTP_Base::SendErrorPacket(int code, const std::string& address, int port)
{
    Write(Datagram{address, port, MakeErrorPacketString(code)});
}

void TFTP_Base::HandleFatalError(int code, std::string text)
{
    terminationErrorString_ = std::move(text);
    terminationErrorCode_ = code;
    ShutDown(true);
}

void TFTP_Base::ShutDown(bool failed)
{
    if (myTimer_) {
        myTimer_->SetMode(Timer::ModeOff);
    }
    if (fileStream_) {
        fileStream_->Close();
        fileStream_.reset();
    }
    stage_ = failed ? TransferStage::Failed : TransferStage::Succeeded;
    Close();
}

void TFTP_Base::Abort()
{
    if (!TransferStage::HasEnded(stage_)) {
        HandleFatalError(0, "Aborted");
    }
}

void TFTP_Base::Teardown()
{
    if (myTimer_) {
        myTimer_->TearDown();
        myTimer_.reset();
    }
    Close();
}

}  // namespace ostrel
