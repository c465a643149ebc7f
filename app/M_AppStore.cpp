#include "app/M_AppStore.h"

#include <QtGlobal>

#ifdef Q_OS_MACOS
#include <QOperatingSystemVersion>
#else
#include <sys/utsname.h>
#endif

#include <algorithm>
#include <utility>

namespace ostrel::M_AppStore {

std::string AppBundleIdentifier;

namespace {

bool zInited = false;
std::int32_t zMacOSVersion = UnknownVersion;
VersionQuery gQuery;

#ifdef Q_OS_MACOS
constexpr int MaxTwoDigits = 99;
constexpr int MaxDigit = 9;
constexpr int DecimalBase = 10;
constexpr int NibbleBits = 4;

// 14 becomes 0x14; the query's form has two digits for the major number and
// one each for the minor and the bug-fix number.
std::int32_t TwoDigitsBCD(int value)
{
    value = std::clamp(value, 0, MaxTwoDigits);
    return ((value / DecimalBase) << NibbleBits) | (value % DecimalBase);
}

std::int32_t DigitBCD(int value) { return std::clamp(value, 0, MaxDigit); }
#endif

}  // namespace

std::optional<std::int32_t> QueryHostVersion()
{
#ifdef Q_OS_MACOS
    const QOperatingSystemVersion host = QOperatingSystemVersion::current();
    if (host.majorVersion() <= 0)
        return std::nullopt;
    constexpr int MajorShift = 8;
    constexpr int MinorShift = 4;
    return (TwoDigitsBCD(host.majorVersion()) << MajorShift) |
           (DigitBCD(std::max(host.minorVersion(), 0)) << MinorShift) |
           DigitBCD(std::max(host.microVersion(), 0));
#else
    utsname host{};
    if (uname(&host) != 0)
        return std::nullopt;
    return FirstSupportedVersion;
#endif
}

void Init(const std::string& bundleIdentifier)
{
    if (!bundleIdentifier.empty())
        AppBundleIdentifier = bundleIdentifier;
    if (zInited)
        return;
    const std::optional<std::int32_t> answer = gQuery ? gQuery() : QueryHostVersion();
    if (answer)
        zMacOSVersion = *answer;
    zInited = true;
}

std::int32_t MacOSVersion()
{
    Init(std::string());
    return zMacOSVersion;
}

VersionQuery SetVersionQuery(VersionQuery query)
{
    zInited = false;
    zMacOSVersion = UnknownVersion;
    return std::exchange(gQuery, std::move(query));
}

}  // namespace ostrel::M_AppStore
