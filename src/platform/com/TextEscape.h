#pragma once

#include <string>
#include <string_view>

namespace com {

// What a backslash escape stands for besides itself, "\n", "\r" and "\t".
struct EscapeRules {
    // Characters written with a backslash in front of them ('"' inside a quoted string, '='
    // in a name that an '=' ends).
    std::string_view backslashed;
    // Other control characters and bytes that are not well-formed UTF-8 are written as "\xHH";
    // otherwise they pass through as they are.
    bool hexOthers = false;
};

// The text with backslash, line feed, carriage return and tab written as "\\", "\n", "\r",
// "\t", and the characters the rules name escaped as they say.
std::string EscapeText(std::string_view text, const EscapeRules& rules);

// The length of the well-formed UTF-8 sequence at text[i] (no overlong forms, no surrogates,
// nothing above U+10FFFF); 0 when there is none.
size_t Utf8SequenceAt(std::string_view text, size_t i);

} // namespace com
