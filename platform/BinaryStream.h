#pragma once
// A stream of raw bytes over a local file that reports every failure to the
// call that meets it: Read tells the end of the file apart from a read
// error, Write and Close report whether the bytes reached the file. Writes
// are unbuffered. A read-only stream reads ahead in one small chunk (a file
// being sent is read block by block, and a system call per block would cost
// more than the block); a failure then surfaces at the position where it
// happened, after the bytes before it, exactly as without the chunk.

#include "platform/FolderItem.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace ostrel {

class BinaryStream {
public:
    // Opens an existing file (read-only unless readWrite); null on failure.
    static std::unique_ptr<BinaryStream> Open(const FolderItem& file, bool readWrite);
    // Creates a file for writing. Without overwrite, an existing file makes
    // it fail (null), so it can claim a new name safely.
    static std::unique_ptr<BinaryStream> Create(const FolderItem& file, bool overwrite);

    ~BinaryStream();
    BinaryStream(const BinaryStream&) = delete;
    BinaryStream& operator=(const BinaryStream&) = delete;

    // Up to `count` bytes; fewer only at the end of the file or on an error.
    std::string Read(std::size_t count);
    bool EndOfFile() const { return eof_; }
    // True once a read or write failed; LastErrorCode gives the OS error.
    bool Failed() const { return lastError_ != 0; }
    int LastErrorCode() const { return lastError_; }

    // Appends all of `bytes`; false when they could not all be written.
    bool Write(std::string_view bytes);
    // Closes the file; false when closing reported an error. Idempotent.
    bool Close();

private:
    BinaryStream(int fd, bool readAhead);
    // Reads once from the file into `into`; the count, 0 at the end, or -1
    // with lastError_ set.
    long ReadOnce(char* into, std::size_t count);

    int fd_ = -1;
    bool readAhead_ = false;
    std::unique_ptr<char[]> ahead_;
    std::size_t aheadStart_ = 0;
    std::size_t aheadEnd_ = 0;
    bool eof_ = false;
    int lastError_ = 0;
    bool closeFailed_ = false;
};

}  // namespace ostrel
