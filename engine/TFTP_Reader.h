#pragma once
// The receiving direction: fetches a file from the server with a read
// request, learns the server's transfer port from DATA block 1, acknowledges
// each block and appends it to the local file, recognises the end by a block
// shorter than 516 bytes, and lingers one timer period before declaring
// success (so that a repeated last block can be recognised).
//
// The file is received into a fresh temporary file beside the target and
// moved into place only on success: a failed or aborted receive leaves an
// existing file of that name as it was and no partial file behind. The
// request still names the target. Here the block counter is the number of
// the DATA block awaited next.

#include "engine/TFTP_Base.h"

#include <memory>
#include <string>

namespace ostrel {

class TFTP_Reader : public TFTP_Base {
public:
    static std::shared_ptr<TFTP_Reader> Create() { return std::make_shared<TFTP_Reader>(); }

    TFTP_Reader() = default;
    ~TFTP_Reader() override;

    // The ACK of a block counter (wire form modulo 65536).
    static std::string MakeACKString(std::int64_t block);
    // The ACK of the block awaited now, which is the one just accepted.
    std::string MakeACKString() const { return MakeACKString(lastBlock_); }

    // Lingering ends successfully; otherwise as the base.
    void Retry() override;
    // On success the received file replaces the target; on failure the
    // temporary file goes.
    void ShutDown(bool failed) override;

    // The temporary file being received into, or null when there is none.
    const FolderItemPtr& TemporaryFile() const { return temporaryFile_; }

protected:
    bool Event_Start() override;
    void Event_HandlePacket(const Datagram& datagram) override;

private:
    static constexpr int MaxTemporaryNameAttempts = 100;
    static constexpr std::size_t LongestNameInTemporaryName = 200;

    bool CreateTemporaryFile();
    std::string TemporaryName(int attempt) const;
    void HandleData(const Datagram& datagram);
    bool StoreBlock(const std::string& packet);
    bool MoveIntoPlace();
    void DiscardTemporaryFile();

    FolderItemPtr temporaryFile_;
};

}  // namespace ostrel
