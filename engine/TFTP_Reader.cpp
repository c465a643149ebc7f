#include "engine/TFTP_Reader.h"

#include <string_view>

namespace ostrel {

namespace {
constexpr const char* TemporaryPrefix = ".";
constexpr const char* TemporarySuffix = ".part";
constexpr const char* FallbackTemporaryBase = "ostrel-receive";
constexpr const char* SaveFailedText = "Couldn't save the received file";
}  // namespace

TFTP_Reader::~TFTP_Reader()
{
    // Released mid-transfer: the partial file must not stay behind.
    if (fileStream_) {
        fileStream_->Close();
        fileStream_.reset();
    }
    DiscardTemporaryFile();
}

std::string TFTP_Reader::MakeACKString(std::int64_t block)
{
    return std::string{'\0', static_cast<char>(OpAck)} + MakeBlockString(block);
}

bool TFTP_Reader::Event_Start()
{
    if (!CreateTemporaryFile()) {
        HandleFatalError(0, "Couldn't open file");
        return false;
    }
    if (!BindSocket()) {
        return false;  // the failure shutdown removes the temporary file
    }
    stage_ = TransferStage::Running;
    SendToServer(MakeRequestString(OpReadRequest));
    lastBlock_ = 1;
    return true;
}

std::string TFTP_Reader::TemporaryName(int attempt) const
{
    // Derived from the target's name so a leftover is recognisable, but
    // kept short enough that the suffixes still fit a file name.
    const std::string name = myFile_->Name();
    std::string base = name.size() <= LongestNameInTemporaryName ? name : FallbackTemporaryBase;
    std::string result = TemporaryPrefix + base;
    if (attempt > 0) {
        result += '-';
        result += std::to_string(attempt);
    }
    return result + TemporarySuffix;
}

bool TFTP_Reader::CreateTemporaryFile()
{
    for (int attempt = 0; attempt < MaxTemporaryNameAttempts; ++attempt) {
        auto candidate = std::make_shared<FolderItem>(myFile_->Sibling(TemporaryName(attempt)));
        if (auto stream = BinaryStream::Create(*candidate, false)) {
            fileStream_ = std::move(stream);
            temporaryFile_ = std::move(candidate);
            return true;
        }
        if (!candidate->Exists()) {
            return false;  // not a name already taken: the folder refuses
        }
    }
    return false;
}

void TFTP_Reader::Event_HandlePacket(const Datagram& datagram)
{
    // ACKs, requests and unknown packets mean nothing to a receiver.
    if (IsServerPacketOfKind(datagram, OpData)) {
        HandleData(datagram);
    }
}

void TFTP_Reader::HandleData(const Datagram& datagram)
{
    if (!IsAwaitedBlock(GetBlockNumber(datagram.Data))) {
        Retry();
        return;
    }
    const bool firstBlock = lastBlock_ == 1;
    if (!firstBlock && datagram.Port != targetPort_) {
        SendErrorPacket(ErrorUnknownTransferID, datagram.Address, datagram.Port);
        return;
    }
    if (firstBlock) {
        // Block 1 comes from the server's transfer port; ACKs and repeats go
        // there from now on.
        targetPort_ = datagram.Port;
        lastData_.Port = targetPort_;
    }
    if (stage_ == TransferStage::FinalBlock) {
        ShutDown(false);  // the server has moved past the end: done
        return;
    }
    lastData_.Data = MakeACKString();
    Write(lastData_);
    ++lastBlock_;
    if (!StoreBlock(datagram.Data)) {
        SendErrorPacket(ErrorDiskFull, targetAddress_, targetPort_);
        HandleFatalError(ErrorDiskFull, ErrorText(ErrorDiskFull));
        return;
    }
    if (static_cast<int>(datagram.Data.size()) < TFTPTotalBlockSize) {
        stage_ = TransferStage::FinalBlock;
    }
    RestartTimer();
}

bool TFTP_Reader::StoreBlock(const std::string& packet)
{
    if (static_cast<int>(packet.size()) <= HeaderSize) {
        return true;
    }
    return fileStream_->Write(std::string_view(packet).substr(HeaderSize));
}

void TFTP_Reader::Retry()
{
    if (stage_ == TransferStage::FinalBlock) {
        ShutDown(false);
        return;
    }
    TFTP_Base::Retry();
}

void TFTP_Reader::ShutDown(bool failed)
{
    if (!failed && !MoveIntoPlace()) {
        terminationErrorString_ = SaveFailedText;
        terminationErrorCode_ = 0;
        failed = true;
    }
    TFTP_Base::ShutDown(failed);
    if (failed) {
        DiscardTemporaryFile();
    }
}

bool TFTP_Reader::MoveIntoPlace()
{
    // The bytes must be on disk before the file takes the target's place.
    const bool closed = !fileStream_ || fileStream_->Close();
    fileStream_.reset();
    if (!closed || !temporaryFile_ || !myFile_) {
        return false;
    }
    if (temporaryFile_->MoveTo(*myFile_) != 0) {
        return false;
    }
    temporaryFile_.reset();
    return true;
}

void TFTP_Reader::DiscardTemporaryFile()
{
    if (temporaryFile_) {
        temporaryFile_->Delete();
        temporaryFile_.reset();
    }
}

}  // namespace ostrel
