#pragma once
// A fresh temporary folder for one test, removed with all it holds when the
// object goes.

#include <filesystem>
#include <string>

namespace ostrel::testsupport {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Whole-file helpers for test data.
    static void WriteFile(const std::filesystem::path& file, const std::string& bytes);
    static std::string ReadFile(const std::filesystem::path& file);
    // Names of the entries in the folder, sorted.
    std::string Listing() const;

private:
    std::filesystem::path path_;
};

}  // namespace ostrel::testsupport
