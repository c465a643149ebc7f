#pragma once
// The host's operating-system version, asked for once and cached. The value
// is in the binary-coded form of the Mac system-version query: 0x1050 is
// 10.5.0. On macOS it is the real system version in that form; on other
// hosts, where that number has no meaning, a host that answers the query
// counts as supported (FirstSupportedVersion). A failed query leaves -1.
// The query itself is a seam, so tests can play any host.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace ostrel::M_AppStore {

// 10.5.0: older systems are refused at start-up.
constexpr std::int32_t FirstSupportedVersion = 0x1050;
// The value while the query has not succeeded.
constexpr std::int32_t UnknownVersion = -1;

// The bundle identifier last handed to Init when not empty.
extern std::string AppBundleIdentifier;

// Stores a non-empty identifier, then queries the version unless that was
// done before (a failed query is not repeated).
void Init(const std::string& bundleIdentifier);
// Init with an empty identifier, then the cached version.
std::int32_t MacOSVersion();

// The version query: a value when the host answered, nullopt when it failed.
using VersionQuery = std::function<std::optional<std::int32_t>()>;
// Replaces the query and forgets the cached answer (an empty function: back
// to the host's query). Returns the one it replaces.
VersionQuery SetVersionQuery(VersionQuery query);
// The host's own answer.
std::optional<std::int32_t> QueryHostVersion();

}  // namespace ostrel::M_AppStore
