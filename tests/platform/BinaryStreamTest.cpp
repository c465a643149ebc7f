// Files: BinaryStream's reads, writes and failures, and FolderItem's view of
// the file system, on a private temporary folder.

#include "platform/BinaryStream.h"
#include "platform/FolderItem.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>

namespace ostrel {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "ostrel-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }

    FolderItem Item(const std::string& name) const { return FolderItem(folder_ / name); }

    FolderItem WriteFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(folder_ / name, std::ios::binary) << bytes;
        return Item(name);
    }

    static std::string ReadFile(const FolderItem& item)
    {
        std::ifstream in(item.Path(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path folder_;
};

TEST_F(FilesTest, ReadGivesFewerBytesOnlyAtEndOfFile)
{
    std::string bytes(20000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    }
    const FolderItem file = WriteFile("data.bin", bytes);
    struct Case {
        bool readWrite;
        std::size_t piece;
    };
    for (const Case c : {Case{false, 512}, Case{true, 512}, Case{false, 7000}, Case{false, 1 << 20}}) {
        SCOPED_TRACE(testing::Message() << "readWrite " << c.readWrite << ", piece " << c.piece);
        auto stream = BinaryStream::Open(file, c.readWrite);
        ASSERT_NE(stream, nullptr);
        std::string all;
        for (;;) {
            const std::string piece = stream->Read(c.piece);
            all += piece;
            if (piece.size() < c.piece) {
                break;
            }
            ASSERT_FALSE(stream->EndOfFile()) << "at " << all.size();
        }
        EXPECT_EQ(all, bytes);
        EXPECT_TRUE(stream->EndOfFile());
        EXPECT_EQ(stream->Read(512), "");
        EXPECT_FALSE(stream->Failed());
        EXPECT_TRUE(stream->Close());
        EXPECT_TRUE(stream->Close()) << "closing twice is harmless";
    }
}

TEST_F(FilesTest, ReadWriteStreamWritesWhereReadingStopped)
{
    const FolderItem file = WriteFile("patch.bin", "abcdefgh");
    auto stream = BinaryStream::Open(file, true);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Read(3), "abc");
    EXPECT_TRUE(stream->Write("XY"));
    EXPECT_EQ(stream->Read(10), "fgh");
    EXPECT_TRUE(stream->Close());
    EXPECT_EQ(ReadFile(file), "abcXYfgh");
}

TEST_F(FilesTest, ReadingAFolderIsAnErrorNotEndOfFile)
{
    auto stream = BinaryStream::Open(FolderItem(folder_), false);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Read(512), "");
    EXPECT_TRUE(stream->Failed());
    EXPECT_EQ(stream->LastErrorCode(), EISDIR);
    EXPECT_FALSE(stream->EndOfFile());
}

TEST_F(FilesTest, OpenOfMissingFileIsNull)
{
    EXPECT_EQ(BinaryStream::Open(Item("missing"), false), nullptr);
    EXPECT_EQ(BinaryStream::Open(Item("missing"), true), nullptr);
}

TEST_F(FilesTest, CreateClaimsOnlyANewNameUnlessOverwriting)
{
    const FolderItem existing = WriteFile("taken", "old contents");
    EXPECT_EQ(BinaryStream::Create(existing, false), nullptr);
    EXPECT_EQ(ReadFile(existing), "old contents");

    auto replaced = BinaryStream::Create(existing, true);
    ASSERT_NE(replaced, nullptr);
    EXPECT_TRUE(replaced->Write("new"));
    EXPECT_TRUE(replaced->Close());
    EXPECT_EQ(ReadFile(existing), "new");

    const FolderItem fresh = Item("fresh");
    auto created = BinaryStream::Create(fresh, false);
    ASSERT_NE(created, nullptr);
    const std::string binary("\0\r\n\xff", 4);
    EXPECT_TRUE(created->Write(binary));
    EXPECT_TRUE(created->Write(binary));
    EXPECT_TRUE(created->Close());
    EXPECT_EQ(ReadFile(fresh), binary + binary);
    EXPECT_FALSE(created->Write("x")) << "written after close";
    EXPECT_EQ(created->LastErrorCode(), EBADF);
}

TEST_F(FilesTest, WritePastFileSizeLimitFailsWithEFBIG)
{
    constexpr rlim_t limit = 1000;
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = limit;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);

    auto stream = BinaryStream::Create(Item("big"), false);
    bool firstWrote = false;
    bool secondWrote = true;
    if (stream) {
        firstWrote = stream->Write(std::string(limit, 'a'));
        secondWrote = stream->Write("one byte too many");
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);

    ASSERT_NE(stream, nullptr);
    EXPECT_TRUE(firstWrote);
    EXPECT_FALSE(secondWrote);
    EXPECT_TRUE(stream->Failed());
    EXPECT_EQ(stream->LastErrorCode(), EFBIG);
}

TEST_F(FilesTest, FolderItemNamesSizesAndDeletes)
{
    const FolderItem file = WriteFile("report.txt", "12345");
    EXPECT_EQ(file.Name(), "report.txt");
    EXPECT_TRUE(file.Exists());
    EXPECT_FALSE(file.Directory());
    EXPECT_EQ(file.Length(), 5u);
    EXPECT_EQ(FolderItem(folder_ / "sub" / "").Name(), "sub");

    const FolderItem folder(folder_);
    EXPECT_TRUE(folder.Directory());
    EXPECT_EQ(folder.Length(), 0u);

    const FolderItem missing = Item("missing");
    EXPECT_FALSE(missing.Exists());
    EXPECT_EQ(missing.Length(), 0u);

    FolderItem doomed = file;
    EXPECT_TRUE(doomed.Delete());
    EXPECT_FALSE(file.Exists());

    // A dangling link still occupies its name.
    fs::create_symlink(folder_ / "nowhere", folder_ / "link");
    FolderItem link = Item("link");
    EXPECT_TRUE(link.Exists());
    EXPECT_TRUE(link.Delete());
    EXPECT_FALSE(link.Exists());
}

TEST_F(FilesTest, SiblingStaysInFolderAndMoveReplacesTarget)
{
    const FolderItem file = Item("a.bin");
    for (const std::string name : {"b.bin", "../escape", "..", ""}) {
        EXPECT_EQ(file.Sibling(name).Path().parent_path(), folder_) << name;
    }
    EXPECT_EQ(file.Sibling("b.bin").Name(), "b.bin");

    FolderItem partial = WriteFile("partial", "received");
    const FolderItem target = WriteFile("target", "old");
    EXPECT_EQ(partial.MoveTo(target), 0);
    EXPECT_EQ(ReadFile(target), "received");
    EXPECT_FALSE(partial.Exists());
    EXPECT_EQ(partial.MoveTo(target), ENOENT);
}

}  // namespace
}  // namespace ostrel
