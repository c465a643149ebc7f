#pragma once
// The Ostrel side of one measurement, run in a child process of its own
// (`ostrel_bench --ostrel-child send|receive ADDRESS FILE`): one transfer
// with TFTP_Writer or TFTP_Reader on the real backend, driven by a
// QCoreApplication event loop, in binary mode, as the transfer window runs
// it. It prints what the parent needs as "key value" lines and exits 0 only
// when the transfer succeeded.

#include <cstdint>
#include <string>

namespace ostrel::bench {

class OstrelChild {
public:
    static constexpr const char* Argument = "--ostrel-child";
    static constexpr const char* SendDirection = "send";
    static constexpr const char* ReceiveDirection = "receive";

    // Report keys.
    static constexpr const char* DataDoneKey = "data-done-ns";
    static constexpr const char* StageKey = "stage";
    static constexpr const char* CodeKey = "code";
    static constexpr const char* TextKey = "text";

    // argv after the internal argument: direction, address, local file.
    static int Main(int argc, char** argv);

    // Reads a value back from a child's report (empty when absent).
    static std::string ReportValue(const std::string& report, const std::string& key);
};

}  // namespace ostrel::bench
