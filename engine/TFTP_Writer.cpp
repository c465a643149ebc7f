#include "engine/TFTP_Writer.h"

#include <utility>

namespace ostrel {

bool TFTP_Writer::Event_Start()
{
    fileStream_ = BinaryStream::Open(*myFile_, false);
    if (!fileStream_) {
        HandleFatalError(0, "Couldn't open file");
        return false;
    }
    if (!BindSocket()) {
        return false;
    }
    // Block 1 is read before the request goes out, so that a file that
    // cannot be read never reaches the server as an empty one.
    if (!FillNextDataString()) {
        return false;
    }
    stage_ = TransferStage::Running;
    SendToServer(MakeRequestString(OpWriteRequest));
    return true;
}

bool TFTP_Writer::FillNextDataString()
{
    nextDataString_ = std::string{'\0', static_cast<char>(OpData)};
    nextDataString_ += MakeBlockString(lastBlock_ + 1);
    nextDataString_ += fileStream_->Read(DataBlockSize);
    if (fileStream_->Failed()) {
        HandleFatalError(0, "Couldn't read file");
        return false;
    }
    return true;
}

void TFTP_Writer::Event_HandlePacket(const Datagram& datagram)
{
    // DATA, requests and unknown packets mean nothing to a sender.
    if (IsServerPacketOfKind(datagram, OpAck)) {
        HandleAck(datagram);
    }
}

void TFTP_Writer::HandleAck(const Datagram& datagram)
{
    if (!IsAwaitedBlock(GetBlockNumber(datagram.Data))) {
        Retry();
        return;
    }
    const bool portKnown = lastBlock_ >= 1;
    if (portKnown && datagram.Port != targetPort_) {
        SendErrorPacket(ErrorUnknownTransferID, datagram.Address, datagram.Port);
        return;
    }
    if (stage_ == TransferStage::FinalBlock) {
        ShutDown(false);
        return;
    }
    if (!portKnown) {
        // ACK 0 answers the write request; its port is the server's port
        // for the rest of the transfer.
        if (datagram.Port < 0) {
            HandleFatalError(0, "Negative port reported!");
            return;
        }
        targetPort_ = datagram.Port;
    }
    SendNextBlock();
}

void TFTP_Writer::SendNextBlock()
{
    SendToServer(std::move(nextDataString_));
    ++lastBlock_;
    if (static_cast<int>(lastData_.Data.size()) == TFTPTotalBlockSize) {
        if (!FillNextDataString()) {
            return;
        }
    } else {
        stage_ = TransferStage::FinalBlock;
    }
    RestartTimer();
}

}  // namespace ostrel
