#include "model/NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <limits>

namespace {

size_t SkipBlanks(std::string_view text, size_t pos) {
    while (pos < text.size() && CNumberText::IsBlank(text[pos]))
        ++pos;
    return pos;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the integer (optional sign, at least one digit) at the start of text; 0 if none.
size_t IntLength(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const size_t digits = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i > digits ? i : 0;
}

long long SaturatedInt(std::string_view number) {
    const bool negative = number[0] == '-';
    long long value = 0;
    for (char c : number) {
        if (!IsDigit(c)) continue;
        if (value > (LLONG_MAX - 9) / 10) return negative ? LLONG_MIN : LLONG_MAX;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

// A decimal whose exponent makes it too large for a double overflows (an infinity, as strtod
// gives); any other out-of-range decimal is too small and reads as zero.
double OutOfRange(std::string_view number, bool negative) {
    const size_t e = number.find_first_of("eE");
    bool tiny = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
    if (e == std::string_view::npos) {
        const size_t firstDigit = number.find_first_of("123456789");
        const size_t dot = number.find('.');
        tiny = dot != std::string_view::npos &&
               (firstDigit == std::string_view::npos || firstDigit > dot);
    }
    const double magnitude = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    return negative ? -magnitude : magnitude;
}

std::string Chars(double value, std::chars_format format, int precision) {
    char buffer[400]; // "%f" of the largest double needs 309 digits and 6 decimals
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    if (ec != std::errc()) return "0";
    return std::string(buffer, end);
}

} // namespace

int CNumberText::ToInt(std::string_view text) {
    const size_t start = SkipBlanks(text, 0);
    const size_t length = IntLength(text.substr(start));
    if (length == 0) return 0;
    const long long value = SaturatedInt(text.substr(start, length));
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return int(value);
}

size_t CNumberText::DoubleLength(std::string_view text, double& value) {
    size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    // from_chars takes no sign of its own and no leading blanks.
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    double parsed = 0;
    const auto [end, ec] = std::from_chars(first, last, parsed, std::chars_format::general);
    if (end == first) return 0;
    if (ec == std::errc::result_out_of_range)
        parsed = std::fabs(OutOfRange(std::string_view(first, size_t(end - first)), false));
    value = negative ? -parsed : parsed;
    return size_t(end - text.data());
}

double CNumberText::ToDouble(std::string_view text) {
    double value = 0;
    const size_t start = SkipBlanks(text, 0);
    return DoubleLength(text.substr(start), value) ? value : 0.0;
}

// Beyond the float range the conversion would be undefined: such values become infinite.
float CNumberText::Narrow(double value) {
    if (std::fabs(value) > double(std::numeric_limits<float>::max()) && std::isfinite(value))
        return std::copysign(std::numeric_limits<float>::infinity(), float(value > 0 ? 1 : -1));
    return float(value);
}

std::string CNumberText::FormatG(double value) {
    return Chars(value, std::chars_format::general, 6);
}

std::string CNumberText::FormatF(double value) {
    return Chars(value, std::chars_format::fixed, 6);
}

void CNumberText::Scanner::SkipBlanks() {
    pos_ = ::SkipBlanks(text_, pos_);
}

CNumberText::Scanner& CNumberText::Scanner::Int(int& target) {
    if (!ok_) return *this;
    SkipBlanks();
    const std::string_view rest = text_.substr(pos_);
    const size_t length = IntLength(rest);
    if (length == 0) {
        ok_ = false;
        return *this;
    }
    target = ToInt(rest.substr(0, length));
    pos_ += length;
    return *this;
}

CNumberText::Scanner& CNumberText::Scanner::Double(double& target) {
    if (!ok_) return *this;
    SkipBlanks();
    double value = 0;
    const size_t length = DoubleLength(text_.substr(pos_), value);
    if (length == 0) {
        ok_ = false;
        return *this;
    }
    target = value;
    pos_ += length;
    return *this;
}

CNumberText::Scanner& CNumberText::Scanner::Float(float& target) {
    double value = target;
    Double(value);
    if (ok_) target = Narrow(value);
    return *this;
}
