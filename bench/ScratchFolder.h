#pragma once
// The benchmark's temporary folder (under $TMPDIR, else /tmp), removed with
// everything in it when the object goes, whether the run succeeded or not.

#include <filesystem>

namespace ostrel::bench {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // A sub-folder, made on first use. `worldWritable` for the folder the
    // server (running as root, but checking permissions) creates files in.
    std::filesystem::path Folder(const char* name, bool worldWritable = false) const;

private:
    std::filesystem::path path_;
};

}  // namespace ostrel::bench
