#include "render/NumberFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace NumberFormat {

namespace {

constexpr int kMaxDigits = 16;
constexpr double kFixedFrom = 0.001; // at and below: exponent form
constexpr double kFixedTo = 1e6;     // at and above: exponent form
// Significant digits that hold every double in [0.001, 1e6) exactly.
constexpr int kExactDigits = 80;

std::string ToChars(double value, std::chars_format format, int precision) {
    std::array<char, 128> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
    return std::string(buffer.data(), result.ptr);
}

bool HasExponent(const std::string& text) {
    return text.find_first_of("eE") != std::string::npos;
}

// "1.50000e+10" -> "1.5e10", "2.00000e-05" -> "2e-5", "1.50000e+00" -> "1.5e0".
std::string ShortenExponent(const std::string& text) {
    const std::size_t e = text.find_first_of("eE");
    std::string mantissa = TrimTrailingZeros(text.substr(0, e));
    std::string exponent = text.substr(e + 1);
    std::string sign;
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
        if (exponent[0] == '-') sign = "-";
        exponent.erase(0, 1);
    }
    const std::size_t firstDigit = exponent.find_first_not_of('0');
    exponent = firstDigit == std::string::npos ? "0" : exponent.substr(firstDigit);
    if (exponent == "0") sign.clear();
    return mantissa + text[e] + sign + exponent;
}

// The formatter of tick texts: general notation with p digits, exponents shortened.
std::string FixedOrExponent(double value, int p) {
    std::string text = ToChars(value, std::chars_format::general, p);
    if (value != 0 && HasExponent(text)) {
        text = ToChars(value, std::chars_format::scientific, 5);
        const std::size_t point = text.find('.');
        if (point != std::string::npos && point + 5 < text.size() && text[point + 5] == '9')
            text = ToChars(value * (1 + 1e-6), std::chars_format::scientific, 5);
        return ShortenExponent(text);
    }
    text = TrimTrailingZeros(text);
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

// Significant digits of |x| rounded to count digits, rounding up only when the rest of the
// exact value exceeds half a unit of the last digit. exponent receives the power of ten of
// the first digit.
std::string SignificantDigits(double x, int count, int& exponent) {
    const std::string exact = ToChars(std::fabs(x), std::chars_format::scientific, kExactDigits);
    const std::size_t e = exact.find('e');
    exponent = std::atoi(exact.c_str() + e + 1);
    std::string all = exact.substr(0, 1) + exact.substr(2, e - 2); // drop the point
    std::string digits = all.substr(0, static_cast<std::size_t>(count));
    const std::string rest = all.substr(static_cast<std::size_t>(count));
    const bool aboveHalf =
        !rest.empty() &&
        (rest[0] > '5' || (rest[0] == '5' && rest.find_first_not_of('0', 1) != std::string::npos));
    if (!aboveHalf) return digits;
    // Carry through nines; a carry out of the first digit inserts a leading 1.
    int i = count - 1;
    for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i)
        digits[static_cast<std::size_t>(i)] = '0';
    if (i >= 0) {
        ++digits[static_cast<std::size_t>(i)];
    } else {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++exponent;
    }
    return digits;
}

std::string LocalisedFixed(double x, int digits, char separator) {
    int exponent = 0;
    const std::string d = SignificantDigits(x, digits, exponent);
    std::string text = x < 0 ? "-" : "";
    if (exponent < 0) {
        text += '0';
        text += separator;
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += d;
    } else {
        const std::size_t units = static_cast<std::size_t>(exponent) + 1;
        std::string whole = d.substr(0, std::min(units, d.size()));
        whole.append(units - whole.size(), '0'); // zeros up to the units digit
        text += whole;
        text += separator;
        if (d.size() > units) text += d.substr(units);
    }
    text = TrimTrailingZeros(text, separator);
    if (text.find(separator) == std::string::npos) text += separator;
    if (text.back() == separator) text += '0';
    return text;
}

} // namespace

std::string Gcvt(double value, int digits) {
    std::string text = ToChars(value, std::chars_format::general, std::max(1, digits));
    const bool wholeFixed = std::isfinite(value) && text.find_first_of(".eE") == std::string::npos;
    if (wholeFixed) text += '.';
    return text;
}

std::string TrimTrailingZeros(std::string text, char point) {
    if (HasExponent(text)) return text;
    const std::size_t at = text.find(point);
    if (at == std::string::npos) return text;
    const std::size_t last = text.find_last_not_of('0');
    text.erase(last == at ? at : last + 1);
    return text;
}

std::string FormatTickText(double value, double step, int* digitsUsed) {
    std::string text;
    for (int p = 6; p <= 8; ++p) {
        text = FixedOrExponent(value, p);
        if (digitsUsed) *digitsUsed = p;
        if (text != FixedOrExponent(value + step, p) && text != FixedOrExponent(value - step, p))
            break;
    }
    return text;
}

std::string FormatNumber(double x, int digits, bool localised, const locale::Locale& locale) {
    digits = std::clamp(digits, 1, kMaxDigits);
    if (!localised) {
        std::string text = Gcvt(x, digits);
        if (std::isfinite(x) && text.find_first_of(".eE") == std::string::npos) text += ".0";
        return text;
    }
    if (x == 0) return "0.0";
    const double magnitude = std::fabs(x);
    if (!(magnitude < kFixedTo) || magnitude <= kFixedFrom) {
        std::string text = Gcvt(x, digits);
        std::replace(text.begin(), text.end(), '.', locale.decimalSeparator);
        return text;
    }
    return LocalisedFixed(x, digits, locale.decimalSeparator);
}

} // namespace NumberFormat
