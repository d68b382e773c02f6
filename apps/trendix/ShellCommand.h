#pragma once
#include "platform/com/Variant.h"

#include <string>
#include <string_view>
#include <vector>

// One line of shell input, read but not yet carried out.
//   # comment | .directive word ... | Name = value | Name | Name value ...
struct ShellCommand {
    enum class Kind { Nothing, Directive, Put, Get, Call };

    Kind kind = Kind::Nothing;
    std::string name;                 // member name, or directive name without its dot
    std::vector<com::Variant> values; // the value put, or the arguments written
    std::vector<std::string> words;   // what follows a directive's name

    // Throws SyntaxError when the line does not read.
    static ShellCommand Parse(std::string_view line);
};
