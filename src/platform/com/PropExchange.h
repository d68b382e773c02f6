#pragma once
#include "platform/com/DispatchError.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace com {

// What a load of property data that cannot be read fails with (truncated, oversized,
// corrupted or malformed data).
inline constexpr HRESULT STG_E_READFAULT = 0x8003001Eu;

// Exchanges a control's persisted properties with a container, in one direction: a save
// writes each value under its name, a load reads it back into the same variable. Values are
// exchanged in order; strings are narrow UTF-8. A load that meets data it cannot read throws
// DispatchError(STG_E_READFAULT) and never leaves a value half read.
class PropExchange {
public:
    virtual ~PropExchange() = default;
    bool IsLoading() const { return loading_; }

    // Saving writes current; loading reads the stored version. loaded receives the version
    // of the data (current when saving).
    virtual void Version(std::uint32_t& loaded, std::uint32_t current) = 0;
    // dflt is taken by a load when the data has no value of that name.
    virtual void String(std::string_view name, std::string& value, const std::string& dflt) = 0;
    virtual void Short(std::string_view name, std::int16_t& value, std::int16_t dflt) = 0;
    virtual void Long(std::string_view name, std::int32_t& value, std::int32_t dflt) = 0;
    // A 32-bit BOOL in the data.
    virtual void Bool(std::string_view name, bool& value, bool dflt) = 0;
    virtual void Float(std::string_view name, float& value, float dflt) = 0;
    // A colour 0x00BBGGRR.
    virtual void Color(std::string_view name, std::uint32_t& value, std::uint32_t dflt) = 0;

protected:
    explicit PropExchange(bool loading) : loading_(loading) {}

private:
    bool loading_;
};

// The binary stream form: a header ("TXPX", payload length, CRC-32 of the payload) and the
// values in order, each a type tag and its little-endian bytes; names are not stored, so a
// load must ask for the values in the order they were saved. A load checks the header, the
// length and the checksum before it hands out any value, and every read is bounded by the
// data, so that no length in the data can make it allocate or read more than it holds.
class BinaryPropExchange : public PropExchange {
public:
    BinaryPropExchange(); // saving
    // Loading; throws DispatchError(STG_E_READFAULT) when the header, length or checksum
    // are wrong.
    explicit BinaryPropExchange(std::span<const std::uint8_t> data);

    // The saved stream, header included.
    std::vector<std::uint8_t> Bytes() const;

    void Version(std::uint32_t& loaded, std::uint32_t current) override;
    void String(std::string_view name, std::string& value, const std::string& dflt) override;
    void Short(std::string_view name, std::int16_t& value, std::int16_t dflt) override;
    void Long(std::string_view name, std::int32_t& value, std::int32_t dflt) override;
    void Bool(std::string_view name, bool& value, bool dflt) override;
    void Float(std::string_view name, float& value, float dflt) override;
    void Color(std::string_view name, std::uint32_t& value, std::uint32_t dflt) override;

private:
    enum Tag : std::uint8_t {
        TagVersion = 'V',
        TagString = 'S',
        TagShort = 'h',
        TagLong = 'l',
        TagBool = 'b',
        TagFloat = 'f',
        TagColor = 'c'
    };
    void Put(Tag tag, std::uint32_t bits, int size);
    std::uint32_t Take(Tag tag, std::string_view name, int size);
    void Expect(Tag tag, std::string_view name);
    [[noreturn]] void Fail(std::string_view name, const std::string& why) const;

    std::vector<std::uint8_t> payload_; // saving: written so far; loading: the data's values
    size_t next_ = 0;                   // loading: the next byte to read
};

// The text property bag: values by name, each held as text. Its text form is one
// `name=value` line per property, in the order they were set; a backslash escapes "\\",
// "\n", "\r", "\t", "\=" (in names) and "\xHH" for other control bytes and bytes that are
// not UTF-8, so that any string survives the round trip and the text is valid UTF-8.
class PropertyBag {
public:
    void Set(std::string_view name, std::string value);
    const std::string* Find(std::string_view name) const; // null when absent
    size_t size() const { return entries_.size(); }

    std::string ToText() const;
    // Throws DispatchError(STG_E_READFAULT) naming the line that does not read: no "=",
    // an empty or repeated name, a bad escape.
    static PropertyBag FromText(std::string_view text);

private:
    std::vector<std::pair<std::string, std::string>> entries_;
    std::map<std::string, size_t, std::less<>> byName_;
};

// The property bag form of the exchange: a value absent from the bag loads as its default,
// a value whose text does not read as its type fails the load.
class BagPropExchange : public PropExchange {
public:
    BagPropExchange(PropertyBag& bag, bool loading) : PropExchange(loading), bag_(bag) {}

    // The name the version is kept under.
    static constexpr std::string_view kVersionName = "_Version";

    void Version(std::uint32_t& loaded, std::uint32_t current) override;
    void String(std::string_view name, std::string& value, const std::string& dflt) override;
    void Short(std::string_view name, std::int16_t& value, std::int16_t dflt) override;
    void Long(std::string_view name, std::int32_t& value, std::int32_t dflt) override;
    void Bool(std::string_view name, bool& value, bool dflt) override;
    void Float(std::string_view name, float& value, float dflt) override;
    void Color(std::string_view name, std::uint32_t& value, std::uint32_t dflt) override;

private:
    template <class T>
    void Integer(std::string_view name, T& value, T dflt);

    PropertyBag& bag_;
};

} // namespace com
