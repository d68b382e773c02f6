#pragma once

#include <string>

// The text between the first and the last character that is not a blank (space, tab, line
// break, vertical tab or form feed); empty when there is none.
inline std::string TrimBlanks(const std::string& s) {
    const char* blanks = " \t\r\n\v\f";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}
