#pragma once
// The sending direction: sends a local file to the server with a write
// request, learns the server's transfer port from ACK 0, then sends the file
// in lock-step DATA blocks of 512 bytes. The next block is read ahead as soon
// as the current one has gone out. Here the block counter is the number of
// the ACK awaited, which is the number of the DATA block sent last.

#include "engine/TFTP_Base.h"

#include <memory>
#include <string>

namespace ostrel {

class TFTP_Writer : public TFTP_Base {
public:
    static std::shared_ptr<TFTP_Writer> Create() { return std::make_shared<TFTP_Writer>(); }

    TFTP_Writer() = default;
    ~TFTP_Writer() override = default;

protected:
    bool Event_Start() override;
    void Event_HandlePacket(const Datagram& datagram) override;
    // Prepares the DATA packet after the one last sent. A read error (not
    // the end of the file) fails the transfer and returns false.
    bool FillNextDataString();

private:
    void HandleAck(const Datagram& datagram);
    void SendNextBlock();

    std::string nextDataString_;
};

}  // namespace ostrel
