#pragma once
#include <ctime>
#include <string>

namespace locale {

// The user's number, date and time conventions the control formats texts with. A plain
// value: the drawing environment keeps one, tests build their own.
struct Locale {
    char decimalSeparator = '.';
    std::string shortDateFormat = "%m/%d/%Y"; // strftime pattern
    std::string timeFormat = "%H:%M:%S";      // strftime pattern

    // The conventions of the process's environment (LC_ALL, LC_NUMERIC, LC_TIME, LANG);
    // the classic ones when the environment names no usable locale.
    static Locale FromProcess();
    // '.' and month/day/year, 24-hour time.
    static Locale Classic() { return Locale{}; }

    std::string FormatDate(const std::tm& when) const;
    std::string FormatTime(const std::tm& when) const;
};

} // namespace locale
