#pragma once
// The transfer object: a UDP socket that runs exactly one TFTP transfer
// (RFC 1350), in one direction, with one server, and then stops. The base
// holds what both directions share: resolving the server, binding a random
// local port, the block counter, keeping the last packet sent so that it can
// be repeated, the retry limit, recording why a transfer failed, and shutting
// down. TFTP_Writer and TFTP_Reader supply the directions. The packet
// builders and readers live here as static functions of their arguments.
//
// Transfer objects are shared: hold them in a std::shared_ptr (make them with
// std::make_shared or the directions' Create), because the retransmission
// timer refers back to its transfer weakly. Failures are never thrown: the
// transfer records a code and a text and enters TransferStage::Failed.

#include "engine/TFTP_Timeout.h"
#include "engine/TransferStage.h"
#include "platform/BinaryStream.h"
#include "platform/Datagram.h"
#include "platform/FolderItem.h"
#include "platform/UDPSocket.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel {

class TFTP_Base : public UDPSocket, public std::enable_shared_from_this<TFTP_Base> {
public:
    // --- protocol constants ---
    static constexpr int OpReadRequest = 1;
    static constexpr int OpWriteRequest = 2;
    static constexpr int OpData = 3;
    static constexpr int OpAck = 4;
    static constexpr int OpError = 5;

    static constexpr int HeaderSize = 4;                                // opcode and block number
    static constexpr int DataBlockSize = 512;
    static constexpr int TFTPTotalBlockSize = HeaderSize + DataBlockSize;  // 516: a full DATA packet
    // Block numbers are 16 bits on the wire; the counter runs on past them.
    static constexpr std::int64_t BlockNumberSpan = 65536;

    static constexpr int MaxRetries = 5;
    static constexpr int LowestLocalPort = 10000;
    static constexpr int HighestLocalPort = 65000;
    static constexpr int RouterHopsLimit = 255;
    static constexpr int TextMode = 1;

    static constexpr int ErrorDiskFull = 3;
    static constexpr int ErrorUnknownTransferID = 5;

    TFTP_Base();
    ~TFTP_Base() override;

    // --- used by the window ---
    // Resolves the server, opens the local file, binds, sends the request
    // and starts the retransmission timer. Once per object. `mode` 1 is text
    // ("netascii"), anything else binary ("octet"). On failure returns false
    // and the object is already in TransferStage::Failed. A host name that the
    // resolver cannot answer at once is looked up in the background: the call
    // returns true, the transfer stays in TransferStage::New until the answer
    // comes (Abort and Teardown work meanwhile), and an unresolved name then
    // ends it with "Couldn't resolve address".
    bool StartTransfer(FolderItemPtr file, std::string address, std::string password, int mode);
    int GetStage() const { return stage_; }
    // Sending: blocks sent so far. Receiving: one more than blocks received.
    std::int64_t GetLastBlock() const { return lastBlock_; }
    int TerminationErrorCode() const { return terminationErrorCode_; }
    // Bytes as recorded; a server's text is passed on unchanged.
    const std::string& TerminationErrorString() const { return terminationErrorString_; }
    // Ends a running transfer with "Aborted"; nothing is sent to the server.
    void Abort();
    // Unbinds and drops the timer and closes the socket; the last call
    // before the object is released.
    void Teardown();

    // --- state, readable by anyone ---
    const std::string& TargetAddress() const { return targetAddress_; }
    int TargetPort() const { return targetPort_; }
    int MyPort() const { return myPort_; }
    const FolderItemPtr& MyFile() const { return myFile_; }
    const std::string& Password() const { return password_; }
    const Datagram& LastData() const { return lastData_; }
    TFTP_Timeout* MyTimer() const { return myTimer_.get(); }

    // --- used by the directions and the timer ---
    virtual void Retry();
    void HandleFatalError(int code, std::string text);
    void SendErrorPacket(int code, const std::string& address, int port);
    virtual void ShutDown(bool failed);
    // Takes the looked-up address of the server; false when the lookup
    // found none.
    bool SetTargetAddress(const std::string& resolved);
    static int ChooseRandomPort();

    // --- packets ---
    // The wire form of a block counter: 16 bits big-endian, modulo 65536.
    static std::string MakeBlockString(std::int64_t block);
    static std::string MakeRequestString(int opcode, std::string_view fileName, std::string_view mode,
                                         std::string_view password);
    static std::string MakeErrorPacketString(int code);
    // The text that goes with a TFTP error code; empty for unknown codes.
    static std::string ErrorText(int code);
    // The readers never fail and never read past the packet: a missing byte
    // reads as 0.
    static int GetOPCode(std::string_view packet);
    static int GetBlockNumber(std::string_view packet);
    static int GetErrorNumber(std::string_view packet);
    static std::string GetErrorMessage(std::string_view packet);

protected:
    // The direction's start: open the local file, bind, send the request,
    // enter Running. On failure it has already called HandleFatalError.
    virtual bool Event_Start() = 0;
    virtual void Event_HandlePacket(const Datagram& datagram) = 0;

    void Event_DataAvailable() override;
    void Event_Error() override;
    void Event_SendComplete() override {}

    std::string MakeRequestString(int opcode) const;
    // Binds the socket to MyPort; on failure records "Could not connect.".
    bool BindSocket();
    // Sends a packet to the server and keeps it for Retry.
    void SendToServer(std::string data);
    bool IsFromServerAddress(const Datagram& datagram) const;
    // Whether a wire block number is the one the counter awaits.
    bool IsAwaitedBlock(int wireBlock) const;
    // Progress: a full period again and a fresh retry allowance.
    void RestartTimer();
    // The rules every received packet meets before its kind matters, in
    // both directions: packets from other addresses are ignored, and an ERROR
    // from the server's address, from any of its ports, ends the transfer
    // with the server's code and text. True when the packet comes from the
    // server and is of the kind the direction acts on (`opcode`).
    bool IsServerPacketOfKind(const Datagram& datagram, int opcode);

    std::unique_ptr<BinaryStream> fileStream_;
    std::int64_t lastBlock_ = 0;
    Datagram lastData_;
    std::string modeString_;
    FolderItemPtr myFile_;
    int myPort_ = 0;
    std::unique_ptr<TFTP_Timeout> myTimer_;
    std::string password_;
    int retryCount_ = 0;
    int stage_ = TransferStage::New;
    std::string targetAddress_;
    int targetPort_ = 0;
    int terminationErrorCode_ = 0;
    std::string terminationErrorString_;

private:
    // What StartTransfer keeps while the server's name is being looked up.
    struct PendingStart {
        FolderItemPtr file;
        std::string password;
        int mode = 0;
        int serverPort = 0;  // the request port parsed from the address text
    };
    // The rest of the start, once the address is known.
    bool ContinueStart(const std::string& resolved);

    std::optional<PendingStart> pendingStart_;
};

}  // namespace ostrel
