#include "platform/com/TextEscape.h"

namespace com {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendHexEscape(std::string& out, unsigned char c) {
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 0xF];
}

} // namespace

size_t Utf8SequenceAt(std::string_view s, size_t i) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const auto cont = [&](size_t k) { return i + k < s.size() && (b(k) & 0xC0) == 0x80; };
    const unsigned char c = b(0);
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return cont(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (!cont(1) || !cont(2)) return 0;
        if (c == 0xE0 && b(1) < 0xA0) return 0; // overlong
        if (c == 0xED && b(1) > 0x9F) return 0; // surrogate
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3)) return 0;
        if (c == 0xF0 && b(1) < 0x90) return 0; // overlong
        if (c == 0xF4 && b(1) > 0x8F) return 0; // above U+10FFFF
        return 4;
    }
    return 0;
}

std::string EscapeText(std::string_view s, const EscapeRules& rules) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        // Multi-byte characters pass whole; a byte that starts none is escaped when asked.
        const size_t n = rules.hexOthers ? Utf8SequenceAt(s, i) : 1;
        if (n == 0) {
            AppendHexEscape(out, c);
            ++i;
            continue;
        }
        if (n > 1) {
            out.append(s.substr(i, n));
            i += n;
            continue;
        }
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (rules.backslashed.find(char(c)) != std::string_view::npos) {
                out += '\\';
                out += char(c);
            } else if (rules.hexOthers && (c < 0x20 || c == 0x7F)) {
                AppendHexEscape(out, c);
            } else {
                out += char(c);
            }
        }
        ++i;
    }
    return out;
}

} // namespace com
