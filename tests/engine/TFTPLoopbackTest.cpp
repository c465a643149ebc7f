// The engine on the real backend against tftpd-hpa on loopback: whole files
// both ways and in both modes, compared byte for byte, the server's own
// error text, and IPv6 where the host has ::1. Traffic never leaves
// 127.0.0.1 / ::1. Transfers of a test run side by side, so each test waits
// for the receivers' lingering once.

#include "engine/TFTP_Reader.h"
#include "engine/TFTP_Writer.h"
#include "support/QtEventLoopEnvironment.h"
#include "support/TempDir.h"
#include "support/TftpPackets.h"
#include "support/TftpdServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace ostrel {
namespace {

namespace pk = testsupport::packets;
using testsupport::QtEventLoopEnvironment;
using testsupport::TempDir;
using testsupport::TftpdServer;

constexpr int TransferDeadlineMs = 180000;
constexpr std::size_t OneMegabyte = 1024 * 1024;
constexpr std::size_t FortyMegabytes = 40 * OneMegabyte;

const auto* const qtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEventLoopEnvironment("engine_loopback_test"));

// Bytes that tftpd-hpa's netascii handling leaves alone: no CR, no LF.
std::string WithoutLineEnds(std::string bytes)
{
    std::replace(bytes.begin(), bytes.end(), '\r', 'r');
    std::replace(bytes.begin(), bytes.end(), '\n', 'n');
    return bytes;
}

struct Job {
    std::string what;
    std::shared_ptr<TFTP_Base> transfer;
    std::filesystem::path result;  // where the transferred bytes end up
    std::string expected;
};

class LoopbackTest : public ::testing::Test {
protected:
    TempDir local;
    std::vector<Job> jobs;

    void Send(const TftpdServer& server, const std::string& name, const std::string& content, int mode,
              const std::string& password = {}, const std::string& address = {})
    {
        TempDir::WriteFile(local / name, content);
        auto writer = TFTP_Writer::Create();
        const bool started = writer->StartTransfer(std::make_shared<FolderItem>(local / name),
                                                   address.empty() ? server.ClientAddress() : address,
                                                   password, mode);
        EXPECT_TRUE(started) << name << ": " << writer->TerminationErrorString();
        jobs.push_back({"send " + name, writer, server.Root() / name, content});
    }

    void Receive(const TftpdServer& server, const std::string& name, const std::string& content, int mode,
                 const std::string& password = {})
    {
        TempDir::WriteFile(server.Root() / name, content);
        auto reader = TFTP_Reader::Create();
        const bool started = reader->StartTransfer(std::make_shared<FolderItem>(local / name),
                                                   server.ClientAddress(), password, mode);
        EXPECT_TRUE(started) << name << ": " << reader->TerminationErrorString();
        jobs.push_back({"receive " + name, reader, local / name, content});
    }

    // Runs the event loop until every transfer has ended or time runs out.
    static void RunUntilEnded(const std::vector<std::shared_ptr<TFTP_Base>>& transfers)
    {
        const auto ended = [&] {
            return std::all_of(transfers.begin(), transfers.end(),
                               [](const auto& t) { return TransferStage::HasEnded(t->GetStage()); });
        };
        QtEventLoopEnvironment::PumpUntil(ended, TransferDeadlineMs);
    }

    void RunJobsAndCompare()
    {
        std::vector<std::shared_ptr<TFTP_Base>> transfers;
        for (const auto& job : jobs) {
            transfers.push_back(job.transfer);
        }
        RunUntilEnded(transfers);
        for (const auto& job : jobs) {
            SCOPED_TRACE(job.what);
            ASSERT_EQ(job.transfer->GetStage(), TransferStage::Succeeded) << job.transfer->TerminationErrorString();
            const std::string stored = TempDir::ReadFile(job.result);
            EXPECT_EQ(stored.size(), job.expected.size());
            EXPECT_TRUE(stored == job.expected) << "byte for byte";
            job.transfer->Teardown();
        }
    }
};

TEST_F(LoopbackTest, SmallAndMediumFilesBothWaysInBothModes)
{
    TftpdServer server;
    for (const int mode : {0, 1}) {
        for (const std::size_t size : {std::size_t{0}, std::size_t{512}, std::size_t{513}, OneMegabyte}) {
            const std::string suffix = (mode == 1 ? "-text-" : "-binary-") + std::to_string(size);
            std::string content = pk::Pattern(size, static_cast<unsigned>(size + mode));
            if (mode == 1) {
                content = WithoutLineEnds(content);
            }
            // Text-mode requests carry a password, which the server ignores.
            const std::string password = mode == 1 ? "secret" : "";
            Send(server, "up" + suffix, content, mode, password);
            Receive(server, "down" + suffix, content, mode, password);
        }
    }
    // The server by name rather than by literal.
    Send(server, "up-by-name", "named", 0, "", "localhost:" + std::to_string(server.Port()));
    RunJobsAndCompare();
}

TEST_F(LoopbackTest, FortyMegabytesBothWaysPastTheBlockNumberRollover)
{
    TftpdServer server;
    Send(server, "up-40mb.bin", pk::Pattern(FortyMegabytes, 1), 0);
    Receive(server, "down-40mb.bin", pk::Pattern(FortyMegabytes, 2), 0);
    RunJobsAndCompare();
    for (const auto& job : jobs) {
        EXPECT_GT(job.transfer->GetLastBlock(), 65535) << job.what;
    }
}

TEST_F(LoopbackTest, ATextModeReceiveStoresTheServersNetasciiBytes)
{
    TftpdServer server;
    TempDir::WriteFile(server.Root() / "lines.txt", "one\ntwo\n\nend");
    auto reader = TFTP_Reader::Create();
    ASSERT_TRUE(reader->StartTransfer(std::make_shared<FolderItem>(local / "lines.txt"), server.ClientAddress(),
                                      "", 1));
    RunUntilEnded({reader});
    ASSERT_EQ(reader->GetStage(), TransferStage::Succeeded) << reader->TerminationErrorString();
    EXPECT_EQ(TempDir::ReadFile(local / "lines.txt"), "one\r\ntwo\r\n\r\nend");
}

TEST_F(LoopbackTest, AMissingRemoteFileGivesTheServersErrorAndKeepsLocalFiles)
{
    TftpdServer server;
    TempDir::WriteFile(local / "kept.bin", "precious");
    auto overExisting = TFTP_Reader::Create();
    auto fresh = TFTP_Reader::Create();
    ASSERT_TRUE(overExisting->StartTransfer(std::make_shared<FolderItem>(local / "kept.bin"),
                                            server.ClientAddress(), "", 0));
    ASSERT_TRUE(fresh->StartTransfer(std::make_shared<FolderItem>(local / "absent.bin"), server.ClientAddress(),
                                     "", 0));
    RunUntilEnded({overExisting, fresh});
    for (const auto& reader : {overExisting, fresh}) {
        EXPECT_EQ(reader->GetStage(), TransferStage::Failed);
        EXPECT_EQ(reader->TerminationErrorCode(), 1);
        EXPECT_EQ(reader->TerminationErrorString(), "File not found");
    }
    EXPECT_EQ(TempDir::ReadFile(local / "kept.bin"), "precious");
    EXPECT_EQ(local.Listing(), "kept.bin");
}

TEST_F(LoopbackTest, TheSameOverIPv6Loopback)
{
    if (!TftpdServer::HasIPv6Loopback()) {
        GTEST_SKIP() << "this host has no IPv6 loopback";
    }
    TftpdServer server("::1");
    EXPECT_EQ(server.ClientAddress().rfind("[::1]:", 0), 0u);
    for (const int mode : {0, 1}) {
        const std::string content = WithoutLineEnds(pk::Pattern(513 + mode * 4000, 9));
        const std::string suffix = mode == 1 ? "-text" : "-binary";
        Send(server, "up6" + suffix, content, mode);
        Receive(server, "down6" + suffix, content, mode);
    }
    TempDir::WriteFile(local / "kept6.bin", "precious");
    auto missing = TFTP_Reader::Create();
    ASSERT_TRUE(missing->StartTransfer(std::make_shared<FolderItem>(local / "kept6.bin"), server.ClientAddress(),
                                       "", 0));
    RunJobsAndCompare();
    RunUntilEnded({missing});
    EXPECT_EQ(missing->TerminationErrorCode(), 1);
    EXPECT_EQ(TempDir::ReadFile(local / "kept6.bin"), "precious");
}

}  // namespace
}  // namespace ostrel
