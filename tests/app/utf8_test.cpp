#include <gtest/gtest.h>
#include <string>
#include "gfx/utf8.h"

namespace {

const std::string REPLACEMENT = "\xEF\xBF\xBD";

std::string repeated(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

TEST(Utf8, NamesAreCutBetweenCharacters)
{
    struct Case {
        std::string text;
        size_t bytes; // in the first 15 characters
    };
    const Case cases[] = {
        {"Nova", 4},
        {"AVeryLongPlayerNameIndeed", 15},
        {"Fourteen-chars\xC3\xAB", 16},       // cut at 15 bytes this would end in half an e-umlaut
        {repeated("\xC3\x84", 16), 30},       // two-byte letters
        {repeated("\xE2\x82\xAC", 16), 45},   // euro signs, three bytes
        {repeated("\xF0\x9F\x98\x80", 16), 60}, // beyond U+FFFF, four bytes
        {"Zo\xEB", 3},                        // Latin-1: every byte a letter of its own
        {repeated("\xE9", 20), 15},
        {repeated("\xE2\x82", 10), 15},       // sequences cut short count byte by byte
        {repeated("\xC0\xAF", 10), 15},       // overlong forms are not characters
        {repeated("\xED\xA0\x80", 10), 15},   // nor are surrogates
        {std::string("\xF4\x90\x80\x80", 4) + repeated("a", 20), 15}, // past U+10FFFF
    };
    for (const Case& c : cases)
        EXPECT_EQ(bytesOfCharacters(c.text, 15), c.bytes) << c.text;
}

// Recordings keep names in 15 bytes: a longer one is cut between characters.
TEST(Utf8, NamesFitIntoBytesBetweenCharacters)
{
    const std::pair<std::string, size_t> cases[] = {
        {"Nova", 4},
        {"AVeryLongPlayerNameIndeed", 15},
        {repeated("\xC3\x84", 10), 14},
        {repeated("\xE2\x82\xAC", 6), 15},
        {repeated("\xF0\x9F\x98\x80", 4), 12},
        {repeated("\xE9", 20), 15},
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(bytesWithin(text, 15), bytes) << text;
}

TEST(Utf8, WhatCannotBeDrawnBecomesTheReplacementCharacter)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Nova tries to land", "Nova tries to land"},
        {"Zo\xC3\xAB", "Zo\xC3\xAB"},
        {"\xE2\x82\xAC 5", "\xE2\x82\xAC 5"},
        {"Zo\xEB!", "Zo" + REPLACEMENT + "!"},
        {"\xE2\x82", REPLACEMENT + REPLACEMENT},
        {"\xED\xA0\x80", repeated(REPLACEMENT, 3)},
        {"\xF0\x9F\x98\x80", REPLACEMENT},
        {"a\x1B[31mb", "a" + REPLACEMENT + "[31mb"},
        {"\xC2\x9B", REPLACEMENT},
    };
    for (const auto& [text, drawn] : cases)
        EXPECT_EQ(drawableUtf8(text.c_str()), drawn) << text;
}

TEST(Utf8, TerminalMessagesShowStrayAndControlBytesEscaped)
{
    const std::pair<std::string, std::string> cases[] = {
        {"unknown command 'jump'", "unknown command 'jump'"},
        {"'Zo\xC3\xAB'", "'Zo\xC3\xAB'"},
        {"jump\x1B[31m", "jump\\x1b[31m"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"\xFF\xFE", "\\xff\\xfe"},
        {"\xC2\x9B" "2J", "\\xc2\\x9b" "2J"},
        {"\x7F\t", "\\x7f\\x09"},
    };
    for (const auto& [text, printed] : cases)
        EXPECT_EQ(printableOnTerminal(text), printed) << printed;
}

} // namespace
