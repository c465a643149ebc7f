#include "platform/BinaryStream.h"

#include "platform/ProcessSignals.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace ostrel {

namespace {

// Permissions of a new file before the user's umask applies.
constexpr mode_t NewFileMode = 0666;
// Reads grow their buffer by at most this much at a time, so that a huge
// count does not allocate memory the file cannot fill.
constexpr std::size_t ReadChunk = 64 * 1024;

int OpenFile(const FolderItem& file, int flags)
{
    ProcessSignals::IgnoreFatalWriteSignals();
    int fd;
    do {
        fd = ::open(file.Path().c_str(), flags | O_CLOEXEC, NewFileMode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace

std::unique_ptr<BinaryStream> BinaryStream::Open(const FolderItem& file, bool readWrite)
{
    const int fd = OpenFile(file, readWrite ? O_RDWR : O_RDONLY);
    if (fd < 0) {
        return nullptr;
    }
    return std::unique_ptr<BinaryStream>(new BinaryStream(fd));
}

std::unique_ptr<BinaryStream> BinaryStream::Create(const FolderItem& file, bool overwrite)
{
    const int fd = OpenFile(file, O_RDWR | O_CREAT | (overwrite ? O_TRUNC : O_EXCL));
    if (fd < 0) {
        return nullptr;
    }
    return std::unique_ptr<BinaryStream>(new BinaryStream(fd));
}

BinaryStream::BinaryStream(int fd)
    : fd_(fd)
{
}

BinaryStream::~BinaryStream()
{
    Close();
}

std::string BinaryStream::Read(std::size_t count)
{
    std::string bytes;
    if (fd_ < 0) {
        lastError_ = EBADF;
        return bytes;
    }
    std::size_t got = 0;
    while (got < count) {
        if (bytes.size() == got) {
            bytes.resize(got + std::min(count - got, ReadChunk));
        }
        const ssize_t n = ::read(fd_, bytes.data() + got, bytes.size() - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
        } else if (n == 0) {
            eof_ = true;
            break;
        } else if (errno != EINTR) {
            lastError_ = errno;
            break;
        }
    }
    bytes.resize(got);
    return bytes;
}

bool BinaryStream::Write(std::string_view bytes)
{
    if (fd_ < 0) {
        lastError_ = EBADF;
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n == 0) {
            // No progress and no error: the device takes nothing more.
            lastError_ = EIO;
            return false;
        } else if (errno != EINTR) {
            lastError_ = errno;
            return false;
        }
    }
    return true;
}

bool BinaryStream::Close()
{
    if (fd_ < 0) {
        return !closeFailed_;
    }
    // Not retried on EINTR: the descriptor is released either way on Linux,
    // and a retry could close one that another part of the program just got.
    const int result = ::close(fd_);
    fd_ = -1;
    if (result != 0 && errno != EINTR) {
        lastError_ = errno;
        closeFailed_ = true;
    }
    return !closeFailed_;
}

}  // namespace ostrel
