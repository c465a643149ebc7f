#include "bench/ChildProcess.h"

#include "bench/BenchError.h"
#include "bench/Interruption.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace ostrel::bench {

namespace {

constexpr const char* OutputName = "child-output.txt";
constexpr int ExecFailedExit = 127;
constexpr std::int64_t NsPerSecond = 1'000'000'000;
constexpr double MicrosecondsPerSecond = 1e6;

volatile std::sig_atomic_t gAlarmRang = 0;

extern "C" void OnAlarm(int)
{
    gAlarmRang = 1;
}

double Seconds(const timeval& value)
{
    return static_cast<double>(value.tv_sec) + static_cast<double>(value.tv_usec) / MicrosecondsPerSecond;
}

// The time limit interrupts the blocking wait instead of polling it, so the
// moment of the child's end is seen at once.
void ArmTimeLimit(std::chrono::seconds limit)
{
    struct sigaction action {};
    action.sa_handler = OnAlarm;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    ::sigaction(SIGALRM, &action, nullptr);
    gAlarmRang = 0;
    ::alarm(static_cast<unsigned>(limit.count()));
}

std::string ReadWhole(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

std::int64_t ChildProcess::MonotonicNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * NsPerSecond + now.tv_nsec;
}

ChildResult ChildProcess::Run(const std::vector<std::string>& argv, const std::filesystem::path& outputFolder,
                              std::chrono::seconds timeLimit)
{
    const std::filesystem::path outputPath = outputFolder / OutputName;
    const int outputFd = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (outputFd < 0) {
        throw BenchError("cannot create " + outputPath.string());
    }
    // Everything the child needs is prepared before fork: after it, the
    // child only redirects and execs.
    std::vector<std::string> args = argv;
    std::vector<char*> pointers;
    for (auto& arg : args) {
        pointers.push_back(arg.data());
    }
    pointers.push_back(nullptr);
    const std::string execFailed = "cannot run " + argv[0] + "\n";

    ChildResult result;
    result.startNs = MonotonicNs();
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(outputFd);
        throw BenchError("fork failed");
    }
    if (pid == 0) {
        ::dup2(outputFd, STDOUT_FILENO);
        ::dup2(outputFd, STDERR_FILENO);
        ::execv(pointers[0], pointers.data());
        const ssize_t ignored = ::write(STDERR_FILENO, execFailed.data(), execFailed.size());
        (void)ignored;
        ::_exit(ExecFailedExit);
    }
    ::close(outputFd);
    Interruption::SetCurrentChild(pid);
    ArmTimeLimit(timeLimit);

    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            break;
        }
        if (gAlarmRang != 0) {
            result.timedOut = true;
            ::kill(pid, SIGKILL);
        }
    }
    result.endNs = MonotonicNs();
    ::alarm(0);
    Interruption::SetCurrentChild(-1);

    result.exited = WIFEXITED(status);
    result.exitCode = result.exited ? WEXITSTATUS(status) : -1;
    result.userSeconds = Seconds(usage.ru_utime);
    result.systemSeconds = Seconds(usage.ru_stime);
    result.maxRssKiB = usage.ru_maxrss;
    result.output = ReadWhole(outputPath);
    std::filesystem::remove(outputPath);
    Interruption::ThrowIfRequested();
    return result;
}

}  // namespace ostrel::bench
