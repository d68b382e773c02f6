#include "ValueText.h"

#include "platform/com/TextEscape.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

namespace {

using com::FloatArray;
using com::Variant;
using com::VarType;

bool EndsToken(char c) {
    return ValueText::IsBlank(c) || c == '[' || c == ']' || c == '"';
}

std::string_view ReadToken(std::string_view text, size_t& pos) {
    const size_t start = pos;
    while (pos < text.size() && !EndsToken(text[pos]))
        ++pos;
    return text.substr(start, pos - start);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (std::tolower(x) != std::tolower(y)) return false;
    }
    return true;
}

// from_chars takes no leading '+'; drop it when a number follows.
std::string_view WithoutPlus(std::string_view token) {
    if (token.size() > 1 && token[0] == '+' && token[1] != '-' && token[1] != '+')
        return token.substr(1);
    return token;
}

bool IsIntegerText(std::string_view token) {
    const size_t start = (token[0] == '-' || token[0] == '+') ? 1 : 0;
    if (start == token.size()) return false;
    for (size_t i = start; i < token.size(); ++i)
        if (token[i] < '0' || token[i] > '9') return false;
    return true;
}

// Reads a whole token as a number of type Number; false when it is not one.
template <typename Number>
bool ReadNumber(std::string_view token, Number& value) {
    const std::string_view digits = WithoutPlus(token);
    const char* end = digits.data() + digits.size();
    const auto [ptr, ec] = std::from_chars(digits.data(), end, value);
    if (ec == std::errc::result_out_of_range)
        throw SyntaxError("number out of range: " + std::string(token));
    return ec == std::errc() && ptr == end;
}

// Integers that fit are I4; larger ones are still exact enough as R8.
Variant ParseNumber(std::string_view token) {
    if (IsIntegerText(token)) {
        std::int32_t i = 0;
        const std::string_view digits = WithoutPlus(token);
        const char* end = digits.data() + digits.size();
        const auto [ptr, ec] = std::from_chars(digits.data(), end, i);
        if (ec == std::errc() && ptr == end) return Variant::I4(i);
    }
    double d = 0;
    if (!ReadNumber(token, d)) throw SyntaxError("not a value: " + std::string(token));
    return Variant::R8(d);
}

Variant ParseWordValue(std::string_view token) {
    if (EqualsIgnoringCase(token, "TRUE")) return Variant::Bool(true);
    if (EqualsIgnoringCase(token, "FALSE")) return Variant::Bool(false);
    if (EqualsIgnoringCase(token, "empty")) return Variant();
    if (EqualsIgnoringCase(token, "null")) return Variant::Object(nullptr);
    return ParseNumber(token);
}

char Unescape(char c) {
    switch (c) {
    case '"':
        return '"';
    case '\\':
        return '\\';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    default:
        throw SyntaxError(std::string("unknown escape \\") + c);
    }
}

// pos is at the opening quote; returns the unescaped text and moves past the closing quote.
std::string ReadString(std::string_view text, size_t& pos) {
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\') {
            if (++pos == text.size()) break;
            out += Unescape(text[pos]);
        } else {
            out += c;
        }
    }
    throw SyntaxError("unterminated string");
}

float ReadFloat(std::string_view text, size_t& pos) {
    const std::string_view token = ReadToken(text, pos);
    float f = 0;
    if (token.empty() || !ReadNumber(token, f))
        throw SyntaxError("not a number in array: " +
                          std::string(token.empty() ? text.substr(pos, 1) : token));
    return f;
}

// pos is just inside '['; reads numbers up to and past the closing ']'.
std::vector<float> ReadFloats(std::string_view text, size_t& pos) {
    std::vector<float> values;
    for (;;) {
        pos = ValueText::SkipBlanks(text, pos);
        if (pos == text.size()) throw SyntaxError("unterminated array");
        if (text[pos] == ']') {
            ++pos;
            return values;
        }
        if (text[pos] == '[') throw SyntaxError("unexpected [ inside a row of numbers");
        values.push_back(ReadFloat(text, pos));
    }
}

// pos is just inside the outer '['; reads rows of samples up to and past the closing ']'.
FloatArray ReadRows(std::string_view text, size_t& pos) {
    std::vector<std::vector<float>> rows;
    for (;;) {
        pos = ValueText::SkipBlanks(text, pos);
        if (pos == text.size()) throw SyntaxError("unterminated array");
        if (text[pos] == ']') break;
        if (text[pos] != '[') throw SyntaxError("a two-dimensional array holds only rows");
        ++pos;
        rows.push_back(ReadFloats(text, pos));
        if (rows.back().size() != rows.front().size()) throw SyntaxError("ragged array");
    }
    ++pos;
    const auto columns = static_cast<std::uint32_t>(rows.front().size());
    FloatArray a = FloatArray::Matrix(static_cast<std::uint32_t>(rows.size()), columns);
    for (std::uint32_t i = 0; i < a.count1; ++i)
        for (std::uint32_t j = 0; j < columns; ++j)
            a.at(i, j) = rows[i][j];
    return a;
}

// pos is at '['.
FloatArray ReadArray(std::string_view text, size_t& pos) {
    pos = ValueText::SkipBlanks(text, pos + 1);
    if (pos < text.size() && text[pos] == '[') return ReadRows(text, pos);
    return FloatArray::Vector(ReadFloats(text, pos));
}

template <typename Number>
std::string NumberText(Number n) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    return std::string(buf, r.ptr);
}

void AppendRow(std::string& out, const float* values, size_t count) {
    out += '[';
    for (size_t k = 0; k < count; ++k) {
        if (k) out += ' ';
        out += NumberText(values[k]);
    }
    out += ']';
}

std::string FormatArray(const FloatArray& a) {
    std::string out;
    if (a.dims != 2) {
        AppendRow(out, a.data.data(), a.data.size());
        return out;
    }
    // Never trust the counts beyond the storage actually held.
    const size_t columns = a.count2;
    const size_t rows = columns ? std::min<size_t>(a.count1, a.data.size() / columns) : a.count1;
    out += '[';
    for (size_t i = 0; i < rows; ++i) {
        if (i) out += ' ';
        AppendRow(out, a.data.data() + i * columns, columns);
    }
    out += ']';
    return out;
}

} // namespace

size_t ValueText::SkipBlanks(std::string_view text, size_t pos) {
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos;
}

Variant ValueText::Parse(std::string_view text, size_t& pos) {
    pos = SkipBlanks(text, pos);
    if (pos == text.size()) throw SyntaxError("expected a value");
    if (text[pos] == '"') return Variant::Str(ReadString(text, pos));
    if (text[pos] == '[') return Variant::Array(ReadArray(text, pos));
    if (text[pos] == ']') throw SyntaxError("unexpected ]");
    return ParseWordValue(ReadToken(text, pos));
}

std::vector<Variant> ValueText::ParseAll(std::string_view text) {
    std::vector<Variant> values;
    size_t pos = SkipBlanks(text, 0);
    while (pos < text.size()) {
        values.push_back(Parse(text, pos));
        if (pos < text.size() && !IsBlank(text[pos]))
            throw SyntaxError("expected a blank after " + Format(values.back()));
        pos = SkipBlanks(text, pos);
    }
    return values;
}

std::string ValueText::ParseWord(std::string_view text, size_t& pos) {
    pos = SkipBlanks(text, pos);
    if (pos < text.size() && text[pos] == '"') return ReadString(text, pos);
    const size_t start = pos;
    while (pos < text.size() && !IsBlank(text[pos]))
        ++pos;
    return std::string(text.substr(start, pos - start));
}

std::string ValueText::Quote(std::string_view utf8) {
    return '"' + com::EscapeText(utf8, com::EscapeRules{"\"", false}) + '"';
}

std::string ValueText::Format(const Variant& v) {
    switch (v.type()) {
    case VarType::Empty:
        return "empty";
    case VarType::I2:
        return NumberText(v.i2());
    case VarType::I4:
        return NumberText(v.i4());
    case VarType::R4:
        return NumberText(v.r4());
    case VarType::R8:
        return NumberText(v.r8());
    case VarType::Bool:
        return v.boolean() ? "TRUE" : "FALSE";
    case VarType::BStr:
        return Quote(v.narrow());
    case VarType::Unknown:
        return v.object() ? "object" : "null";
    case VarType::ArrayR4:
        return FormatArray(v.array());
    case VarType::ByRef:
        return v.ref() ? Format(*v.ref()) : "null";
    default:
        return "?";
    }
}
