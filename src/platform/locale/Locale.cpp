#include "platform/locale/Locale.h"

#include <iomanip>
#include <locale>
#include <sstream>

namespace locale {

namespace {

std::string Format(const std::tm& when, const std::string& pattern) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::put_time(&when, pattern.c_str());
    return out.str();
}

// The date or time of a known instant written by the locale, turned back into a pattern by
// replacing the instant's fields with conversion specifiers. Fields the locale does not
// show are simply absent from the pattern.
std::string PatternOf(const std::locale& loc, const char* conversion) {
    std::tm probe{};
    probe.tm_year = 1999 - 1900; // 31/12/1999 23:45:56: every field distinct
    probe.tm_mon = 11;
    probe.tm_mday = 31;
    probe.tm_hour = 23;
    probe.tm_min = 45;
    probe.tm_sec = 56;
    std::ostringstream out;
    out.imbue(loc);
    out << std::put_time(&probe, conversion);
    std::string text = out.str();
    const std::pair<const char*, const char*> fields[] = {
        {"1999", "%Y"}, {"99", "%y"}, {"12", "%m"}, {"31", "%d"},
        {"23", "%H"},   {"45", "%M"}, {"56", "%S"}};
    std::string pattern;
    for (std::size_t i = 0; i < text.size();) {
        bool matched = false;
        for (const auto& [digits, spec] : fields) {
            if (text.compare(i, std::char_traits<char>::length(digits), digits) == 0) {
                pattern += spec;
                i += std::char_traits<char>::length(digits);
                matched = true;
                break;
            }
        }
        if (!matched) {
            if (text[i] == '%') pattern += '%';
            pattern += text[i++];
        }
    }
    return pattern;
}

} // namespace

Locale Locale::FromProcess() {
    Locale result;
    try {
        const std::locale user("");
        const char point = std::use_facet<std::numpunct<char>>(user).decimal_point();
        if (point != '\0') result.decimalSeparator = point;
        std::string date = PatternOf(user, "%x");
        std::string time = PatternOf(user, "%X");
        if (!date.empty()) result.shortDateFormat = date;
        if (!time.empty()) result.timeFormat = time;
    } catch (const std::runtime_error&) {
        // The environment names a locale that is not installed: keep the classic one.
    }
    return result;
}

std::string Locale::FormatDate(const std::tm& when) const {
    return Format(when, shortDateFormat);
}

std::string Locale::FormatTime(const std::tm& when) const {
    return Format(when, timeFormat);
}

} // namespace locale
