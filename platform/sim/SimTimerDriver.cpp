#include "platform/sim/SimTimerDriver.h"

#include <utility>

namespace ostrel::sim {

SimTimerDriver::SimTimerDriver(SimWorld::Impl& world, std::function<void()> onExpiry)
    : world_(&world)
    , onExpiry_(std::move(onExpiry))
{
    id_ = world_->AddTimer(this);
}

SimTimerDriver::~SimTimerDriver()
{
    if (world_ != nullptr) {
        world_->RemoveTimer(id_);
    }
}

void SimTimerDriver::Start(int periodMs, bool repeating)
{
    periodMs_ = periodMs;
    repeating_ = repeating;
    running_ = true;
    ++generation_;
    ScheduleExpiry();
}

void SimTimerDriver::Stop()
{
    running_ = false;
    ++generation_;
}

void SimTimerDriver::Expire(std::uint64_t generation)
{
    if (!running_ || generation != generation_) {
        return;
    }
    if (repeating_) {
        ScheduleExpiry();
    } else {
        running_ = false;
    }
    // The callback may destroy this driver: call a copy, touch nothing after.
    const std::function<void()> onExpiry = onExpiry_;
    onExpiry();
}

void SimTimerDriver::ScheduleExpiry()
{
    if (world_ == nullptr) {
        return;
    }
    SimWorld::Impl* world = world_;
    const int id = id_;
    const std::uint64_t generation = generation_;
    world->Schedule(world->world.Now() + periodMs_, [world, id, generation] {
        if (SimTimerDriver* timer = world->FindTimer(id)) {
            timer->Expire(generation);
        }
    });
}

}  // namespace ostrel::sim
