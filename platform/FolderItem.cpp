#include "platform/FolderItem.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace ostrel {

namespace fs = std::filesystem;

namespace {

// True when something sits at the path, including a symbolic link whose
// target is missing: such a link still blocks creating a file there.
bool SomethingAt(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// A name that stays inside its folder: no separators, no "." or "..".
std::string BareName(std::string name)
{
    std::replace(name.begin(), name.end(), '/', '_');
    if (name.empty() || name == "." || name == "..") {
        return std::string(1, '_');
    }
    return name;
}

}  // namespace

FolderItem::FolderItem(fs::path path)
    : path_(std::move(path))
{
}

std::string FolderItem::Name() const
{
    fs::path name = path_.filename();
    if (name.empty()) {
        // "folder/" names the folder itself.
        name = path_.parent_path().filename();
    }
    return name.string();
}

bool FolderItem::Exists() const
{
    return SomethingAt(path_);
}

bool FolderItem::Directory() const
{
    std::error_code ec;
    return fs::is_directory(path_, ec);
}

std::uint64_t FolderItem::Length() const
{
    std::error_code ec;
    if (!fs::is_regular_file(path_, ec)) {
        return 0;
    }
    const std::uintmax_t size = fs::file_size(path_, ec);
    return ec ? 0 : size;
}

bool FolderItem::Delete()
{
    std::error_code ec;
    fs::remove(path_, ec);
    return !SomethingAt(path_);
}

FolderItem FolderItem::Sibling(const std::string& name) const
{
    return FolderItem(path_.parent_path() / BareName(name));
}

int FolderItem::MoveTo(const FolderItem& target)
{
    std::error_code ec;
    fs::rename(path_, target.path_, ec);
    if (ec != std::errc::cross_device_link) {
        return ec.value();
    }
    // Another file system: rename cannot cross it, so copy and then remove
    // the original, keeping it if the copy failed.
    ec.clear();
    fs::copy_file(path_, target.path_, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        return ec.value();
    }
    fs::remove(path_, ec);
    return ec.value();
}

}  // namespace ostrel
