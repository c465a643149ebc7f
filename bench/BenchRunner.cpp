#include "bench/BenchRunner.h"

#include "bench/BenchError.h"
#include "bench/BenchReport.h"
#include "bench/Interruption.h"
#include "bench/OstrelChild.h"
#include "bench/PayloadFiles.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

namespace ostrel::bench {

namespace {

constexpr std::chrono::seconds ClientTimeLimit{600};
constexpr const char* EmptyChild = "/bin/true";
constexpr const char* BinaryModeName = "binary";

std::string Trimmed(const std::string& text)
{
    const auto end = text.find_last_not_of(" \n\r\t");
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

}  // namespace

BenchRunner::BenchRunner(BenchOptions options, std::filesystem::path selfBinary)
    : options_(std::move(options)), self_(std::move(selfBinary))
{
    served_ = scratch_.Folder("served", true);
    outbox_ = scratch_.Folder("outbox");
    inbox_ = scratch_.Folder("inbox");
    logs_ = scratch_.Folder("logs");
}

BenchResults BenchRunner::Run()
{
    BenchResults results;
    if (::access(options_.tftpBinary.c_str(), X_OK) != 0) {
        throw BenchError(options_.tftpBinary + " is missing: install tftp-hpa");
    }
    results.rssFloorKiB = MeasureRssFloor();
    MakePayloads();
    StartServer();

    for (const std::uint64_t size : AllSizes()) {
        for (const Direction direction : {Direction::Send, Direction::Receive}) {
            std::vector<BenchCase> cases;
            for (const Client client : ClientsFor(size)) {
                cases.push_back(BenchCase{direction, size, client, {}});
            }
            for (int run = 0; run < options_.repeat; ++run) {
                // Alternating which client goes first evens out drifts of the
                // machine (page cache, other load) between the two.
                for (std::size_t i = 0; i < cases.size(); ++i) {
                    const std::size_t index = run % 2 == 0 ? i : cases.size() - 1 - i;
                    MeasureCase(cases[index], run);
                }
            }
            for (BenchCase& c : cases) {
                results.cases.push_back(std::move(c));
            }
        }
    }
    server_.reset();
    return results;
}

void BenchRunner::StartServer()
{
    testsupport::TftpdServer::Settings settings;
    settings.root = served_;
    settings.binary = options_.tftpdBinary;
    // Ctrl-C must end the server's process group from the signal handler.
    settings.groupChanged = Interruption::SetServerGroup;
    settings.abandon = Interruption::Requested;
    try {
        server_ = std::make_unique<testsupport::TftpdServer>(std::move(settings));
    } catch (const std::runtime_error& failure) {
        Interruption::ThrowIfRequested();
        throw BenchError(failure.what());
    }
    std::fprintf(stderr, "tftpd-hpa serving on %s\n", server_->ClientAddress().c_str());
}

std::vector<std::uint64_t> BenchRunner::AllSizes() const
{
    std::vector<std::uint64_t> sizes = {BenchOptions::ReferenceSizeMB};
    for (const std::uint64_t size : options_.sizesMB) {
        if (size != BenchOptions::ReferenceSizeMB) {
            sizes.push_back(size);
        }
    }
    return sizes;
}

std::vector<Client> BenchRunner::ClientsFor(std::uint64_t sizeMB) const
{
    // The 1 MB file is Ostrel's memory reference; it is compared with
    // tftp-hpa only when it was asked for as a size of its own.
    const bool compared = std::find(options_.sizesMB.begin(), options_.sizesMB.end(), sizeMB)
                          != options_.sizesMB.end();
    if (compared) {
        return {Client::Ostrel, Client::TftpHpa};
    }
    return {Client::Ostrel};
}

long BenchRunner::MeasureRssFloor()
{
    const ChildResult result = ChildProcess::Run({EmptyChild}, logs_, ClientTimeLimit);
    return result.maxRssKiB;
}

void BenchRunner::MakePayloads()
{
    for (const std::uint64_t size : AllSizes()) {
        std::fprintf(stderr, "making %s\n", PayloadName(size).c_str());
        PayloadFiles::MakeRandomFile(Payload(size), size * BytesPerMB);
        Interruption::ThrowIfRequested();
    }
}

void BenchRunner::MeasureCase(BenchCase& benchCase, int run)
{
    const Sample sample = benchCase.direction == Direction::Send
                              ? MeasureSend(benchCase.client, benchCase.sizeMB, run)
                              : MeasureReceive(benchCase.client, benchCase.sizeMB);
    benchCase.samples.Add(sample);
    const double megabytes = static_cast<double>(benchCase.sizeMB);
    std::fprintf(stderr, "%-7s %4llu MB  %-8s run %d/%d: %8.2f MB/s  %6.2f CPU s  %7ld KiB\n",
                 BenchReport::DirectionName(benchCase.direction), static_cast<unsigned long long>(benchCase.sizeMB),
                 BenchReport::ClientName(benchCase.client), run + 1, options_.repeat,
                 megabytes / sample.dataSeconds, sample.cpuSeconds, sample.maxRssKiB);
}

Sample BenchRunner::MeasureSend(Client client, std::uint64_t sizeMB, int run)
{
    // The remote name is the local file's name, so each send goes out from a
    // link to the payload under a name of its own: the server refuses to
    // replace a file it did not create world-writable, and every arrival is
    // checked on its own.
    const std::string remote =
        std::string("up-") + ClientTag(client) + "-" + std::to_string(sizeMB) + "M-" + std::to_string(run) + ".bin";
    const std::filesystem::path local = outbox_ / remote;
    std::filesystem::create_hard_link(Payload(sizeMB), local);
    const ChildResult result = RunClient(client == Client::Ostrel
                                             ? OstrelCommand(OstrelChild::SendDirection, local)
                                             : TftpCommand("put", local.string(), remote));
    const std::filesystem::path arrived = served_ / remote;
    Verify(Payload(sizeMB), arrived, result, std::string("send by ") + BenchReport::ClientName(client));
    std::filesystem::remove(arrived);
    std::filesystem::remove(local);
    return ToSample(client, result);
}

Sample BenchRunner::MeasureReceive(Client client, std::uint64_t sizeMB)
{
    const std::string remote = PayloadName(sizeMB);
    const std::filesystem::path local = inbox_ / remote;
    const ChildResult result = RunClient(client == Client::Ostrel
                                             ? OstrelCommand(OstrelChild::ReceiveDirection, local)
                                             : TftpCommand("get", remote, local.string()));
    Verify(Payload(sizeMB), local, result, std::string("receive by ") + BenchReport::ClientName(client));
    std::filesystem::remove(local);
    return ToSample(client, result);
}

std::vector<std::string> BenchRunner::OstrelCommand(const char* direction, const std::filesystem::path& local) const
{
    return {self_.string(), OstrelChild::Argument, direction, server_->ClientAddress(), local.string()};
}

std::vector<std::string> BenchRunner::TftpCommand(const char* command, const std::string& first,
                                                  const std::string& second) const
{
    return {options_.tftpBinary, server_->Address(), std::to_string(server_->Port()), "-m",
            BinaryModeName, "-c", command, first, second};
}

ChildResult BenchRunner::RunClient(const std::vector<std::string>& command) const
{
    ChildResult result = ChildProcess::Run(command, logs_, ClientTimeLimit);
    if (result.timedOut) {
        throw BenchError(command[0] + " took longer than " + std::to_string(ClientTimeLimit.count()) + " s");
    }
    if (!result.Succeeded()) {
        throw BenchError(command[0] + " failed (exit " + std::to_string(result.exitCode) + "): "
                         + Trimmed(result.output));
    }
    return result;
}

Sample BenchRunner::ToSample(Client client, const ChildResult& result) const
{
    Sample sample;
    sample.wholeSeconds = result.WallSeconds();
    sample.dataSeconds = sample.wholeSeconds;
    if (client == Client::Ostrel) {
        const std::string done = OstrelChild::ReportValue(result.output, OstrelChild::DataDoneKey);
        const long long doneNs = done.empty() ? 0 : std::stoll(done);
        if (doneNs <= result.startNs || doneNs > result.endNs) {
            throw BenchError("Ostrel's child gave no time for the end of the data: " + Trimmed(result.output));
        }
        sample.dataSeconds = static_cast<double>(doneNs - result.startNs) / 1e9;
    }
    sample.cpuSeconds = result.CpuSeconds();
    sample.maxRssKiB = result.maxRssKiB;
    return sample;
}

void BenchRunner::Verify(const std::filesystem::path& expected, const std::filesystem::path& actual,
                         const ChildResult& result, const std::string& what) const
{
    if (!PayloadFiles::SameContents(expected, actual)) {
        // tftp-hpa exits 0 even when the server refused: its output says why.
        throw BenchError(what + ": " + actual.filename().string() + " did not arrive intact"
                         + (result.output.empty() ? std::string() : " (" + Trimmed(result.output) + ")"));
    }
}

std::string BenchRunner::PayloadName(std::uint64_t sizeMB)
{
    return "payload-" + std::to_string(sizeMB) + "M.bin";
}

const char* BenchRunner::ClientTag(Client client)
{
    return client == Client::Ostrel ? "ostrel" : "tftp-hpa";
}

std::filesystem::path BenchRunner::Payload(std::uint64_t sizeMB) const
{
    return served_ / PayloadName(sizeMB);
}

}  // namespace ostrel::bench
