#pragma once
// Byte-string helpers the error report uses to cut a long report down to
// its first lines. Texts are UTF-8 byte strings; positions are one-based byte
// positions and lengths are byte counts, 0 standing for "none".

#include <cstdint>
#include <string>

namespace ostrel::M_String {

// The line ending that occurs last in `text` (CR LF, LF or CR), or
// `defaultEnding` when it has none. When the text ends with CR or LF only its
// last two bytes are looked at.
std::string EndOfLineOf(const std::string& text, const std::string& defaultEnding);

// The text up to and including the count-th `delimiter` (empty: the line
// ending EndOfLineOf finds). An empty text or count 0 gives the empty
// string; a negative count, or fewer than `count` delimiters, the whole text.
std::string Head_Kov(const std::string& text, std::int32_t count,
                     const std::string& delimiter = std::string());

// The byte position of the index-th occurrence of `find` in `text`, counting
// occurrences that do not overlap; 0 when there is none, when index < 1 or
// `find` is empty. A text too short to hold `index` occurrences is not
// searched.
std::int32_t InStrByIndexB_Kov(const std::string& text, const std::string& find,
                               std::int32_t index);

}  // namespace ostrel::M_String
