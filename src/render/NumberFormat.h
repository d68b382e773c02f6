#pragma once
#include "platform/locale/Locale.h"

#include <string>

// The number texts of axes and tooltips.
namespace NumberFormat {

// The runtime's general conversion: digits significant digits (1 when fewer), fixed notation
// unless the exponent is below −4 or not below digits, trailing zeros dropped, a whole number
// in fixed notation ending in '.', the exponent as e+XX or e−XX with at least two digits.
std::string Gcvt(double value, int digits);

// Tick label text for measuring: the fewest of 6, 7 or 8 significant digits at which value
// differs from value ± step, exponents shortened (1.5e10, 2e-5). digitsUsed receives the
// digits chosen.
std::string FormatTickText(double value, double step, int* digitsUsed = nullptr);

// Removes trailing zeros after the decimal point, and the point with them, from a text that
// has no exponent.
std::string TrimTrailingZeros(std::string text, char point = '.');

// Number text with digits (at most 16) significant digits. Not localised: Gcvt, with ".0"
// appended when it has no '.', 'e' or 'E'. Localised: "0.0" for zero; Gcvt with the locale's
// decimal separator from 1e6 up and at 0.001 and below; fixed notation in between, trailing
// zeros dropped but one digit kept after the separator (100.0, 12.5, 0.0025).
std::string FormatNumber(double x, int digits, bool localised, const locale::Locale& locale);

} // namespace NumberFormat
