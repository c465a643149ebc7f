#pragma once
// Runs the whole measurement: makes the random files, starts tftpd-hpa on
// loopback, and for each size and direction runs Ostrel's engine and
// tftp-hpa's client alternately, each in a child process of its own, a
// number of times. Every transfer is verified byte for byte before its
// figures count; the first failure ends the run with a BenchError.

#include "bench/BenchResults.h"
#include "bench/BenchOptions.h"
#include "bench/ChildProcess.h"
#include "bench/ScratchFolder.h"
#include "support/TftpdServer.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace ostrel::bench {

class BenchRunner {
public:
    BenchRunner(BenchOptions options, std::filesystem::path selfBinary);

    BenchResults Run();

private:
    static constexpr std::uint64_t BytesPerMB = 1024 * 1024;

    std::vector<std::uint64_t> AllSizes() const;
    std::vector<Client> ClientsFor(std::uint64_t sizeMB) const;
    void MakePayloads();
    void StartServer();
    long MeasureRssFloor();
    void MeasureCase(BenchCase& benchCase, int run);

    Sample MeasureSend(Client client, std::uint64_t sizeMB, int run);
    Sample MeasureReceive(Client client, std::uint64_t sizeMB);
    std::vector<std::string> OstrelCommand(const char* direction, const std::filesystem::path& local) const;
    std::vector<std::string> TftpCommand(const char* command, const std::string& first,
                                         const std::string& second) const;
    ChildResult RunClient(const std::vector<std::string>& command) const;
    Sample ToSample(Client client, const ChildResult& result) const;
    void Verify(const std::filesystem::path& expected, const std::filesystem::path& actual,
                const ChildResult& result, const std::string& what) const;

    static std::string PayloadName(std::uint64_t sizeMB);
    static const char* ClientTag(Client client);
    std::filesystem::path Payload(std::uint64_t sizeMB) const;

    BenchOptions options_;
    std::filesystem::path self_;
    ScratchFolder scratch_;
    std::filesystem::path served_;
    std::filesystem::path outbox_;
    std::filesystem::path inbox_;
    std::filesystem::path logs_;
    std::unique_ptr<testsupport::TftpdServer> server_;
};

}  // namespace ostrel::bench
