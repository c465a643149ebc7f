#pragma once
// The files the benchmark moves: random bytes, so that nothing on the way
// can compress or guess them, and a byte-for-byte comparison that streams
// both files through small buffers (the benchmark process itself must stay
// small, see ChildProcess).

#include <cstdint>
#include <filesystem>

namespace ostrel::bench::PayloadFiles {

// Writes `size` random bytes to `file`, readable by everyone (the server
// only sends world-readable files).
void MakeRandomFile(const std::filesystem::path& file, std::uint64_t size);

// Whether both files exist with the same length and the same bytes.
bool SameContents(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace ostrel::bench::PayloadFiles
