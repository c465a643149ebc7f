#pragma once
// A reference to a file or folder by path. The file need not exist (a file
// to be received is named before it is created). Passed around as
// std::shared_ptr<FolderItem>; a null pointer means "no file".

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace ostrel {

class FolderItem {
public:
    explicit FolderItem(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path_; }
    // The bare name, without any folder part, as raw bytes (the file
    // system's own encoding: UTF-8 on Linux and macOS).
    std::string Name() const;
    bool Exists() const;
    bool Directory() const;
    // Size in bytes; 0 when it does not exist or is not a regular file.
    std::uint64_t Length() const;
    // Deletes the file; true when it is gone afterwards.
    bool Delete();
    // Another item in the same folder.
    FolderItem Sibling(const std::string& name) const;
    // Moves this file onto `target`, replacing a file there, atomically where
    // the file system allows. Returns 0 or the OS error number.
    int MoveTo(const FolderItem& target);

private:
    std::filesystem::path path_;
};

using FolderItemPtr = std::shared_ptr<FolderItem>;

}  // namespace ostrel
