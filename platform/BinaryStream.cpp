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
// What a read-only stream reads ahead: sixteen TFTP blocks, a fixed amount
// whatever the file's size.
constexpr std::size_t ReadAheadSize = 8 * 1024;

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
    // Reading ahead would move the file position past what a later write
    // expects, so only a read-only stream does it.
    return std::unique_ptr<BinaryStream>(new BinaryStream(fd, !readWrite));
}

std::unique_ptr<BinaryStream> BinaryStream::Create(const FolderItem& file, bool overwrite)
{
    const int fd = OpenFile(file, O_RDWR | O_CREAT | (overwrite ? O_TRUNC : O_EXCL));
    if (fd < 0) {
        return nullptr;
    }
    return std::unique_ptr<BinaryStream>(new BinaryStream(fd, false));
}

BinaryStream::BinaryStream(int fd, bool readAhead)
    : fd_(fd)
    , readAhead_(readAhead)
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
        const std::size_t wanted = count - got;
        if (aheadStart_ < aheadEnd_) {
            const std::size_t taken = std::min(wanted, aheadEnd_ - aheadStart_);
            bytes.append(ahead_.get() + aheadStart_, taken);
            aheadStart_ += taken;
            got += taken;
            continue;
        }
        long n;
        if (readAhead_ && wanted < ReadAheadSize) {
            if (!ahead_) {
                ahead_ = std::make_unique<char[]>(ReadAheadSize);
            }
            n = ReadOnce(ahead_.get(), ReadAheadSize);
            aheadStart_ = 0;
            aheadEnd_ = n > 0 ? static_cast<std::size_t>(n) : 0;
        } else {
            if (bytes.size() == got) {
                bytes.resize(got + std::min(wanted, ReadChunk));
            }
            n = ReadOnce(bytes.data() + got, bytes.size() - got);
            if (n > 0) {
                got += static_cast<std::size_t>(n);
            }
            bytes.resize(got);
        }
        if (n == 0) {
            eof_ = true;
        }
        if (n <= 0) {
            break;
        }
    }
    return bytes;
}

long BinaryStream::ReadOnce(char* into, std::size_t count)
{
    for (;;) {
        const ssize_t n = ::read(fd_, into, count);
        if (n >= 0) {
            return static_cast<long>(n);
        }
        if (errno != EINTR) {
            lastError_ = errno;
            return -1;
        }
    }
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
