#include "app/M_String.h"

#include <limits>

namespace ostrel::M_String {

namespace {

constexpr char LF = '\n';
constexpr char CR = '\r';
// A text that ends with a line ending only needs its last two bytes looked
// at: they are either CR LF or end in a lone CR or LF.
constexpr std::size_t TrailingEndingBytes = 2;

bool IsLineEndByte(char byte) { return byte == LF || byte == CR; }

}  // namespace

std::string EndOfLineOf(const std::string& text, const std::string& defaultEnding)
{
    if (text.empty())
        return defaultEnding;
    // Texts here are UTF-8 already, so the bytes are examined as they are.
    std::size_t first = 0;
    if (IsLineEndByte(text.back()) && text.size() > TrailingEndingBytes)
        first = text.size() - TrailingEndingBytes;
    for (std::size_t at = text.size(); at-- > first;) {
        if (text[at] == LF)
            return (at > first && text[at - 1] == CR) ? std::string{CR, LF} : std::string{LF};
        if (text[at] == CR)
            return std::string{CR};
    }
    return defaultEnding;
}

std::int32_t InStrByIndexB_Kov(const std::string& text, const std::string& find,
                               std::int32_t index)
{
    if (index < 1 || find.empty())
        return 0;
    const auto length = static_cast<std::uint64_t>(find.size());
    if (static_cast<std::uint64_t>(text.size()) < static_cast<std::uint64_t>(index) * length)
        return 0;
    // Zero-based offset from which the next occurrence is searched.
    std::size_t from = 0;
    std::size_t found = std::string::npos;
    for (std::int32_t n = 0; n < index; ++n) {
        found = text.find(find, from);
        if (found == std::string::npos)
            return 0;
        from = found + find.size();
    }
    if (found >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        return 0;  // beyond what a 32-bit position can name
    return static_cast<std::int32_t>(found + 1);
}

std::string Head_Kov(const std::string& text, std::int32_t count, const std::string& delimiter)
{
    if (text.empty())
        return text;
    if (count == 0)
        return std::string();
    if (count < 0)
        return text;
    const std::string cut = delimiter.empty() ? EndOfLineOf(text, std::string()) : delimiter;
    if (cut.empty())
        return text;
    const std::int32_t position = InStrByIndexB_Kov(text, cut, count);
    if (position == 0)
        return text;
    return text.substr(0, static_cast<std::size_t>(position - 1) + cut.size());
}

}  // namespace ostrel::M_String
