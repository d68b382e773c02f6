#pragma once
#include "platform/com/Variant.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A line the shell cannot read; the message says what is wrong with it.
class SyntaxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The shell's notation for automation values, read and written:
//   42 -3 (I4, or R8 when out of range)   1.5 1e28 inf nan (R8)   TRUE FALSE
//   "text with \" \\ \n \r \t"   [1 2 3]   [[0 1 2] [0.1 1.5 2.5]] (rows of samples)
//   empty   null
// Formatting writes the shortest text that reads back to the same value of its type.
class ValueText {
public:
    // Reads one value starting at pos (blanks before it are skipped) and moves pos past it.
    static com::Variant Parse(std::string_view text, size_t& pos);
    // Reads values separated by blanks up to the end of text.
    static std::vector<com::Variant> ParseAll(std::string_view text);
    // Reads a directive's word: a quoted string (unescaped) or a run of non-blanks.
    static std::string ParseWord(std::string_view text, size_t& pos);

    static std::string Format(const com::Variant& v);
    static std::string Quote(std::string_view utf8);

    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    static size_t SkipBlanks(std::string_view text, size_t pos);
};
