#pragma once
// A transfer direction (TFTP_Writer or TFTP_Reader) that tells the benchmark
// when its data has moved and when it has ended, without polling and
// without changing what the transfer does. Data has moved when the stage
// first reaches `dataDoneStage`: for a send that is the ACK of the last
// block (Succeeded), for a receive the acknowledgement of the last block
// (FinalBlock, before the wait for a repeated last block).

#include "engine/TransferStage.h"
#include "platform/Datagram.h"

#include <functional>
#include <utility>

namespace ostrel::bench {

template <class Direction>
class ObservedTransfer final : public Direction {
public:
    using Callback = std::function<void()>;

    ObservedTransfer(int dataDoneStage, Callback onDataDone, Callback onEnded)
        : dataDoneStage_(dataDoneStage), onDataDone_(std::move(onDataDone)), onEnded_(std::move(onEnded))
    {
    }

    void ShutDown(bool failed) override
    {
        Direction::ShutDown(failed);
        NoteProgress();
        if (onEnded_) {
            onEnded_();
        }
    }

protected:
    void Event_HandlePacket(const Datagram& datagram) override
    {
        Direction::Event_HandlePacket(datagram);
        NoteProgress();
    }

private:
    void NoteProgress()
    {
        const int stage = this->GetStage();
        if (dataDone_ || stage < dataDoneStage_ || stage == TransferStage::Failed) {
            return;
        }
        dataDone_ = true;
        if (onDataDone_) {
            onDataDone_();
        }
    }

    int dataDoneStage_;
    Callback onDataDone_;
    Callback onEnded_;
    bool dataDone_ = false;
};

}  // namespace ostrel::bench
