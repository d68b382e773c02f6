#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Numbers in the plot's text formats (settings text, input files, scripts), read and written
// with '.' as the decimal point whatever the process locale is.
//
// Reading follows the C conversions the formats were defined with: ToInt as atoi (leading
// blanks, optional sign, digits; no digits gives 0; saturated at the int range), ToDouble as
// atof (0 when nothing parses, overflow gives an infinity), and Scanner as a scanf format of
// %d and %f fields that stops quietly at the first field that does not parse.
class CNumberText {
public:
    static int ToInt(std::string_view text);
    static double ToDouble(std::string_view text);
    // ToDouble narrowed to a float; values beyond the float range become infinite.
    static float ToFloat(std::string_view text) { return Narrow(ToDouble(text)); }
    static float Narrow(double value);
    // Number of characters ToDouble would take from text (after its leading blanks); 0 when
    // no number starts there.
    static size_t DoubleLength(std::string_view text, double& value);

    static std::string FormatG(double value); // printf "%g"
    static std::string FormatF(double value); // printf "%f"

    // Reads blank-separated fields one after another; once a field fails, every later one
    // fails too and leaves its target unchanged.
    class Scanner {
    public:
        explicit Scanner(std::string_view text) : text_(text) {}
        Scanner& Int(int& target);
        Scanner& Double(double& target);
        Scanner& Float(float& target);
        bool ok() const { return ok_; }
        // The text after the fields read so far.
        std::string_view rest() const { return text_.substr(pos_); }

    private:
        void SkipBlanks();
        std::string_view text_;
        size_t pos_ = 0;
        bool ok_ = true;
    };

    static bool IsBlank(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }
};
