#include "bench/OstrelChild.h"

#include "bench/ChildProcess.h"
#include "bench/ObservedTransfer.h"
#include "engine/TFTP_Reader.h"
#include "engine/TFTP_Writer.h"
#include "engine/TransferStage.h"
#include "platform/FolderItem.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

namespace ostrel::bench {

namespace {

constexpr int BinaryMode = 0;
constexpr int UsageExit = 2;
constexpr int FailedExit = 1;

template <class Direction>
std::shared_ptr<TFTP_Base> MakeTransfer(int dataDoneStage, std::int64_t& dataDoneNs)
{
    return std::make_shared<ObservedTransfer<Direction>>(
        dataDoneStage, [&dataDoneNs] { dataDoneNs = ChildProcess::MonotonicNs(); },
        [] { QCoreApplication::exit(0); });
}

// Error texts come from the server: one line, printable bytes only.
std::string OneLine(const std::string& text)
{
    std::string line;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        line += byte >= 0x20 && byte < 0x7F ? c : '?';
    }
    return line;
}

}  // namespace

int OstrelChild::Main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: ostrel_bench %s send|receive ADDRESS FILE\n", Argument);
        return UsageExit;
    }
    const std::string direction = argv[0];
    const std::string address = argv[1];
    auto file = std::make_shared<FolderItem>(argv[2]);

    int qtArgc = 1;
    char name[] = "ostrel_bench";
    char* qtArgv[] = {name, nullptr};
    QCoreApplication app(qtArgc, qtArgv);

    std::int64_t dataDoneNs = 0;
    std::shared_ptr<TFTP_Base> transfer;
    if (direction == SendDirection) {
        transfer = MakeTransfer<TFTP_Writer>(TransferStage::Succeeded, dataDoneNs);
    } else if (direction == ReceiveDirection) {
        transfer = MakeTransfer<TFTP_Reader>(TransferStage::FinalBlock, dataDoneNs);
    } else {
        std::fprintf(stderr, "unknown direction: %s\n", direction.c_str());
        return UsageExit;
    }

    // Started from inside the loop, so that a start that fails at once can
    // already end it.
    QTimer::singleShot(0, &app, [&] { transfer->StartTransfer(file, address, std::string(), BinaryMode); });
    app.exec();

    const int stage = transfer->GetStage();
    std::printf("%s %d\n%s %d\n%s %lld\n%s %s\n", StageKey, stage, CodeKey, transfer->TerminationErrorCode(),
                DataDoneKey, static_cast<long long>(dataDoneNs), TextKey,
                OneLine(transfer->TerminationErrorString()).c_str());
    transfer->Teardown();
    return stage == TransferStage::Succeeded ? 0 : FailedExit;
}

std::string OstrelChild::ReportValue(const std::string& report, const std::string& key)
{
    std::istringstream lines(report);
    std::string line;
    const std::string prefix = key + " ";
    while (std::getline(lines, line)) {
        if (line.compare(0, prefix.size(), prefix) == 0) {
            return line.substr(prefix.size());
        }
    }
    return {};
}

}  // namespace ostrel::bench
