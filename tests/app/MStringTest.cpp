// The byte-string helpers behind the error report: the last line ending of a
// text, the index-th occurrence of a string, and a text's first lines.

#include "app/M_String.h"

#include <gtest/gtest.h>

#include <string>

using namespace ostrel;

TEST(M_String, EndOfLineOfFindsTheLastLineEnding)
{
    const struct {
        std::string text;
        std::string defaultEnding;
        std::string expected;
    } cases[] = {
        {"a\r\nb", "x", "\r\n"},
        {"a\nb\r", "x", "\r"},  // the last one wins
        {"a\rb\n", "x", "\n"},
        {"a\r\n", "x", "\r\n"},
        {"\n", "x", "\n"},
        {"\r", "x", "\r"},
        {"abc", "x", "x"},
        {"", "x", "x"},
        {"", "", ""},
        // Ends with LF: only the last two bytes count, so the earlier CR LF
        // is not looked at.
        {"a\r\nbc\n", "x", "\n"},
        {"\xC3\xA9t\xC3\xA9\r\n", "x", "\r\n"},  // UTF-8 bytes before it
    };
    for (const auto& c : cases)
        EXPECT_EQ(M_String::EndOfLineOf(c.text, c.defaultEnding), c.expected)
            << "text: " << testing::PrintToString(c.text);
}

TEST(M_String, InStrByIndexCountsOccurrencesThatDoNotOverlap)
{
    const struct {
        std::string text;
        std::string find;
        int index;
        int expected;
    } cases[] = {
        {"aaaa", "aa", 1, 1},
        {"aaaa", "aa", 2, 3},
        {"aaaa", "aa", 3, 0},
        {"aaaa", "aa", 0, 0},
        {"aaaa", "aa", -1, 0},
        {"aaaa", "", 1, 0},
        {"", "a", 1, 0},
        {"a\rb\rc", "\r", 2, 4},
        {"abcabc", "bc", 2, 5},
        {"abcabc", "x", 1, 0},
        {"ab", "abc", 1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(M_String::InStrByIndexB_Kov(c.text, c.find, c.index), c.expected)
            << testing::PrintToString(c.text) << " find " << testing::PrintToString(c.find)
            << " index " << c.index;
}

TEST(M_String, HeadKeepsTheTextUpToTheCountthDelimiter)
{
    const std::string abc = "a\rb\rc";
    const struct {
        std::string text;
        int count;
        std::string delimiter;
        std::string expected;
    } cases[] = {
        {"", 0, "", ""},
        {"", 3, "", ""},
        {"", -1, "", ""},
        {abc, 0, "", ""},
        {abc, -1, "", abc},
        {abc, 5, "", abc},
        {abc, 1, "", "a\r"},
        {abc, 2, "", "a\rb\r"},
        {"no line ending", 2, "", "no line ending"},
        {"1\r\n2\r\n3", 2, "", "1\r\n2\r\n"},
        {"1,2,3,4", 3, ",", "1,2,3,"},
        {"1::2::3", 1, "::", "1::"},
        {"1\n2\n3\n", 3, "", "1\n2\n3\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(M_String::Head_Kov(c.text, c.count, c.delimiter), c.expected)
            << testing::PrintToString(c.text) << " count " << c.count;
}

TEST(M_String, HeadOfTwentyLinesIsTheFirstFifteenWithTheirEndings)
{
    std::string twenty;
    std::string fifteen;
    for (int line = 1; line <= 20; ++line) {
        const std::string text = "frame " + std::to_string(line);
        twenty += text + (line < 20 ? "\n" : "");
        if (line <= 15)
            fifteen += text + "\n";
    }
    EXPECT_EQ(M_String::Head_Kov(twenty, 15), fifteen);
}
