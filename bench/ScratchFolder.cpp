#include "bench/ScratchFolder.h"

#include "bench/BenchError.h"

#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

namespace ostrel::bench {

namespace {
constexpr const char* NameTemplate = "ostrel-bench-XXXXXX";
}

ScratchFolder::ScratchFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    const std::filesystem::path base = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
    std::string pattern = (base / NameTemplate).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        throw BenchError("cannot make a temporary folder in " + base.string());
    }
    path_ = buffer.data();
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path ScratchFolder::Folder(const char* name, bool worldWritable) const
{
    const std::filesystem::path folder = path_ / name;
    std::filesystem::create_directories(folder);
    // The folders above must be reachable by the server too.
    std::filesystem::permissions(path_, std::filesystem::perms::all ^ std::filesystem::perms::group_write
                                            ^ std::filesystem::perms::others_write);
    if (worldWritable) {
        std::filesystem::permissions(folder, std::filesystem::perms::all);
    }
    return folder;
}

}  // namespace ostrel::bench
