#pragma once
// A stream of raw bytes over a local file, unbuffered so that every failure
// is reported to the call that caused it: Read tells the end of the file
// apart from a read error, Write and Close report whether the bytes reached
// the file.

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
    explicit BinaryStream(int fd);
    int fd_ = -1;
    bool eof_ = false;
    int lastError_ = 0;
    bool closeFailed_ = false;
};

}  // namespace ostrel
