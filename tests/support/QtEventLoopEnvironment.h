#pragma once
// For GoogleTest programs that run the real backend: the QCoreApplication
// its sockets and timers need, alive for the whole program, and a way to run
// its event loop until a condition holds. Header-only, so that the support
// library stays free of any test framework. Register it once per program:
//   const auto* const qt = ::testing::AddGlobalTestEnvironment(new QtEventLoopEnvironment("name"));

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>
#include <memory>
#include <string>

namespace ostrel::testsupport {

class QtEventLoopEnvironment : public ::testing::Environment {
public:
    // How long one wait for events may block before the condition is looked at again.
    static constexpr int PumpSliceMs = 20;

    explicit QtEventLoopEnvironment(std::string programName) : name_(std::move(programName)) {}
    QtEventLoopEnvironment(const QtEventLoopEnvironment&) = delete;
    QtEventLoopEnvironment& operator=(const QtEventLoopEnvironment&) = delete;

    void SetUp() override { app_ = std::make_unique<QCoreApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

    // Runs the event loop until `done` holds or the time runs out; whether it holds.
    static bool PumpUntil(const std::function<bool()>& done, int timeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!done()) {
            if (deadline.hasExpired()) {
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, PumpSliceMs);
        }
        return true;
    }

private:
    // QCoreApplication keeps referring to its arguments: they live here.
    std::string name_;
    int argc_ = 1;
    char* argv_[2] = {name_.data(), nullptr};
    std::unique_ptr<QCoreApplication> app_;
};

}  // namespace ostrel::testsupport
