#include "platform/com/PropExchange.h"

#include "platform/com/TextEscape.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <limits>

namespace com {

namespace {

constexpr std::array<std::uint8_t, 4> kMagic = {'T', 'X', 'P', 'X'};
constexpr size_t kHeaderSize = 12; // magic, payload length, CRC-32 of the payload

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    static constexpr std::array<std::uint32_t, 256> kTable = MakeCrcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::uint8_t b : bytes)
        c = kTable[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void AppendLE(std::vector<std::uint8_t>& out, std::uint32_t bits, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back(std::uint8_t(bits >> (8 * i)));
}

std::uint32_t ReadLE(const std::uint8_t* p, int size) {
    std::uint32_t bits = 0;
    for (int i = 0; i < size; ++i)
        bits |= std::uint32_t(p[i]) << (8 * i);
    return bits;
}

[[noreturn]] void ReadFault(const std::string& what) {
    throw DispatchError(STG_E_READFAULT, "Property data cannot be read: " + what);
}

// --- text escaping ---

// A name ends at the first unescaped '=', so inside a name the '=' is escaped too.
std::string Escape(std::string_view s, bool isName) {
    return EscapeText(s, EscapeRules{isName ? "=" : "", true});
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

[[noreturn]] void LineFault(size_t lineNo, const std::string& what) {
    ReadFault("line " + std::to_string(lineNo) + " " + what);
}

// Unescapes one field of a line; stops at an unescaped '=' when stopAtEquals, and tells
// where through end.
std::string Unescape(std::string_view s, size_t lineNo, bool stopAtEquals, size_t& end) {
    std::string out;
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (stopAtEquals && c == '=') break;
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 >= s.size()) LineFault(lineNo, "ends in a lone backslash");
        const char e = s[i + 1];
        i += 2;
        switch (e) {
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case '=':
            out += '=';
            break;
        case 'x': {
            const int hi = i < s.size() ? HexDigit(s[i]) : -1;
            const int lo = i + 1 < s.size() ? HexDigit(s[i + 1]) : -1;
            if (hi < 0 || lo < 0) LineFault(lineNo, "has a \\x escape without two hex digits");
            out += char(hi * 16 + lo);
            i += 2;
            break;
        }
        default:
            LineFault(lineNo, std::string("has an unknown escape \\") + e);
        }
    }
    end = i;
    return out;
}

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Decimal, or hexadecimal after "0x"; the whole text must be the number.
bool ParseInteger(std::string_view text, long long& value) {
    text = TrimSpaces(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+') return false;
    unsigned long long magnitude = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc() || ptr != text.data() + text.size()) return false;
    if (magnitude > 0xFFFFFFFFull) return false; // no property is wider than 32 bits
    value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return true;
}

std::string HexText(std::uint32_t v) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string s = "0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        s += kHex[(v >> shift) & 0xF];
    return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Binary stream

BinaryPropExchange::BinaryPropExchange() : PropExchange(false) {}

BinaryPropExchange::BinaryPropExchange(std::span<const std::uint8_t> data) : PropExchange(true) {
    if (data.size() < kHeaderSize)
        ReadFault("it is " + std::to_string(data.size()) + " bytes, shorter than its header");
    if (!std::equal(kMagic.begin(), kMagic.end(), data.begin()))
        ReadFault("it does not start with the property data mark");
    const std::uint32_t length = ReadLE(data.data() + 4, 4);
    const size_t actual = data.size() - kHeaderSize;
    if (length != actual)
        ReadFault("the header announces " + std::to_string(length) +
                  " bytes of values, the data holds " + std::to_string(actual));
    const std::span<const std::uint8_t> payload = data.subspan(kHeaderSize);
    if (Crc32(payload) != ReadLE(data.data() + 8, 4)) ReadFault("its checksum does not match");
    payload_.assign(payload.begin(), payload.end());
}

std::vector<std::uint8_t> BinaryPropExchange::Bytes() const {
    std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
    out.reserve(kHeaderSize + payload_.size());
    AppendLE(out, std::uint32_t(payload_.size()), 4);
    AppendLE(out, Crc32(payload_), 4);
    out.insert(out.end(), payload_.begin(), payload_.end());
    return out;
}

void BinaryPropExchange::Fail(std::string_view name, const std::string& why) const {
    ReadFault(std::string(name) + " at byte " + std::to_string(kHeaderSize + next_) + ": " + why);
}

void BinaryPropExchange::Put(Tag tag, std::uint32_t bits, int size) {
    payload_.push_back(tag);
    AppendLE(payload_, bits, size);
}

void BinaryPropExchange::Expect(Tag tag, std::string_view name) {
    if (next_ >= payload_.size()) Fail(name, "the data ends before this value");
    if (payload_[next_] != tag)
        Fail(name, std::string("a value of kind '") + char(payload_[next_]) + "' stands where '" +
                       char(tag) + "' belongs");
    ++next_;
}

std::uint32_t BinaryPropExchange::Take(Tag tag, std::string_view name, int size) {
    Expect(tag, name);
    if (payload_.size() - next_ < size_t(size)) Fail(name, "the data ends inside this value");
    const std::uint32_t bits = ReadLE(payload_.data() + next_, size);
    next_ += size_t(size);
    return bits;
}

void BinaryPropExchange::Version(std::uint32_t& loaded, std::uint32_t current) {
    if (IsLoading())
        loaded = Take(TagVersion, "version", 4);
    else
        Put(TagVersion, loaded = current, 4);
}

void BinaryPropExchange::String(std::string_view name, std::string& value, const std::string&) {
    if (!IsLoading()) {
        if (value.size() > std::numeric_limits<std::uint32_t>::max())
            throw DispatchError(E_INVALIDARG, std::string(name) + " is too long to save");
        Put(TagString, std::uint32_t(value.size()), 4);
        payload_.insert(payload_.end(), value.begin(), value.end());
        return;
    }
    const std::uint32_t length = Take(TagString, name, 4);
    // The length is checked against what the data holds before anything is allocated.
    if (payload_.size() - next_ < length)
        Fail(name, "a text of " + std::to_string(length) + " bytes is longer than the data left");
    value.assign(reinterpret_cast<const char*>(payload_.data() + next_), length);
    next_ += length;
}

void BinaryPropExchange::Short(std::string_view name, std::int16_t& value, std::int16_t) {
    if (IsLoading())
        value = std::int16_t(std::uint16_t(Take(TagShort, name, 2)));
    else
        Put(TagShort, std::uint16_t(value), 2);
}

void BinaryPropExchange::Long(std::string_view name, std::int32_t& value, std::int32_t) {
    if (IsLoading())
        value = std::int32_t(Take(TagLong, name, 4));
    else
        Put(TagLong, std::uint32_t(value), 4);
}

void BinaryPropExchange::Bool(std::string_view name, bool& value, bool) {
    if (IsLoading())
        value = Take(TagBool, name, 4) != 0;
    else
        Put(TagBool, value ? 1u : 0u, 4);
}

void BinaryPropExchange::Float(std::string_view name, float& value, float) {
    if (IsLoading())
        value = std::bit_cast<float>(Take(TagFloat, name, 4));
    else
        Put(TagFloat, std::bit_cast<std::uint32_t>(value), 4);
}

void BinaryPropExchange::Color(std::string_view name, std::uint32_t& value, std::uint32_t) {
    if (IsLoading())
        value = Take(TagColor, name, 4);
    else
        Put(TagColor, value, 4);
}

// ---------------------------------------------------------------------------------------------
// Property bag

void PropertyBag::Set(std::string_view name, std::string value) {
    if (const auto it = byName_.find(name); it != byName_.end()) {
        entries_[it->second].second = std::move(value);
        return;
    }
    byName_.emplace(std::string(name), entries_.size());
    entries_.emplace_back(std::string(name), std::move(value));
}

const std::string* PropertyBag::Find(std::string_view name) const {
    const auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : &entries_[it->second].second;
}

std::string PropertyBag::ToText() const {
    std::string text;
    for (const auto& [name, value] : entries_)
        text += Escape(name, true) + "=" + Escape(value, false) + "\n";
    return text;
}

PropertyBag PropertyBag::FromText(std::string_view text) {
    PropertyBag bag;
    size_t lineNo = 0;
    while (!text.empty()) {
        ++lineNo;
        const size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        for (size_t i = 0; i < line.size();) {
            const size_t n = Utf8SequenceAt(line, i);
            if (n == 0) LineFault(lineNo, "is not UTF-8");
            i += n;
        }
        size_t nameEnd = 0;
        std::string name = Unescape(line, lineNo, true, nameEnd);
        if (nameEnd >= line.size()) LineFault(lineNo, "has no '='");
        if (name.empty()) LineFault(lineNo, "has no name");
        if (bag.Find(name)) LineFault(lineNo, "repeats the name " + name);
        size_t valueEnd = 0;
        std::string value = Unescape(line.substr(nameEnd + 1), lineNo, false, valueEnd);
        bag.Set(name, std::move(value));
    }
    return bag;
}

// ---------------------------------------------------------------------------------------------
// Property bag exchange

template <class T>
void BagPropExchange::Integer(std::string_view name, T& value, T dflt) {
    if (!IsLoading()) {
        bag_.Set(name, std::to_string(value));
        return;
    }
    const std::string* text = bag_.Find(name);
    if (!text) {
        value = dflt;
        return;
    }
    long long v = 0;
    if (!ParseInteger(*text, v) || v < std::numeric_limits<T>::min() ||
        v > std::numeric_limits<T>::max())
        ReadFault(std::string(name) + " = \"" + *text + "\" is not a number of its range");
    value = T(v);
}

void BagPropExchange::Version(std::uint32_t& loaded, std::uint32_t current) {
    if (!IsLoading()) {
        bag_.Set(kVersionName, HexText(loaded = current));
        return;
    }
    Integer(kVersionName, loaded, current);
}

void BagPropExchange::String(std::string_view name, std::string& value, const std::string& dflt) {
    if (!IsLoading()) {
        bag_.Set(name, value);
        return;
    }
    const std::string* text = bag_.Find(name);
    value = text ? *text : dflt;
}

void BagPropExchange::Short(std::string_view name, std::int16_t& value, std::int16_t dflt) {
    Integer(name, value, dflt);
}

void BagPropExchange::Long(std::string_view name, std::int32_t& value, std::int32_t dflt) {
    Integer(name, value, dflt);
}

void BagPropExchange::Bool(std::string_view name, bool& value, bool dflt) {
    if (!IsLoading()) {
        bag_.Set(name, value ? "TRUE" : "FALSE");
        return;
    }
    const std::string* text = bag_.Find(name);
    if (!text) {
        value = dflt;
        return;
    }
    const std::string_view t = TrimSpaces(*text);
    long long v = 0;
    if (EqualsNoCase(t, "TRUE"))
        value = true;
    else if (EqualsNoCase(t, "FALSE"))
        value = false;
    else if (ParseInteger(t, v) && v >= std::numeric_limits<std::int32_t>::min() &&
             v <= std::numeric_limits<std::int32_t>::max())
        value = v != 0;
    else
        ReadFault(std::string(name) + " = \"" + *text + "\" is neither TRUE nor FALSE");
}

void BagPropExchange::Float(std::string_view name, float& value, float dflt) {
    if (!IsLoading()) {
        char buffer[32];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
        bag_.Set(name, std::string(buffer, ec == std::errc() ? end : buffer));
        return;
    }
    const std::string* text = bag_.Find(name);
    if (!text) {
        value = dflt;
        return;
    }
    const std::string_view t = TrimSpaces(*text);
    float v = 0;
    const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || ptr != t.data() + t.size())
        ReadFault(std::string(name) + " = \"" + *text + "\" is not a number");
    value = v;
}

void BagPropExchange::Color(std::string_view name, std::uint32_t& value, std::uint32_t dflt) {
    if (!IsLoading()) {
        bag_.Set(name, HexText(value));
        return;
    }
    Integer(name, value, dflt);
}

} // namespace com
