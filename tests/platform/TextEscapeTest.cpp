// The one backslash escaper behind the shell's quoted strings and the property bag's text.
#include "platform/com/TextEscape.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    std::string text;
    std::string quoted; // as the shell writes it inside quotes: '"' escaped, bytes as they are
    std::string name;   // as the property bag writes a name: '=' escaped, other bytes in hex
    std::string value;  // as the property bag writes a value
};

} // namespace

TEST(TextEscape, ShellStringsAndPropertyBagNamesAndValues) {
    const Case cases[] = {
        {"plain", "plain", "plain", "plain"},
        {"a\\b\nc\rd\te", "a\\\\b\\nc\\rd\\te", "a\\\\b\\nc\\rd\\te", "a\\\\b\\nc\\rd\\te"},
        {"say \"hi\"", "say \\\"hi\\\"", "say \"hi\"", "say \"hi\""},
        {"k=v", "k=v", "k\\=v", "k=v"},
        {std::string("\x01\x7F", 2), std::string("\x01\x7F", 2), "\\x01\\x7F", "\\x01\\x7F"},
        {"\xC3\xA9\xE2\x82\xAC", "\xC3\xA9\xE2\x82\xAC", "\xC3\xA9\xE2\x82\xAC",
         "\xC3\xA9\xE2\x82\xAC"},                                 // é € pass whole
        {"\xC3(\xFF", "\xC3(\xFF", "\\xC3(\\xFF", "\\xC3(\\xFF"}, // not UTF-8
        {std::string("\0z", 2), std::string("\0z", 2), "\\x00z", "\\x00z"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(com::EscapeText(c.text, {"\"", false}), c.quoted) << c.text;
        EXPECT_EQ(com::EscapeText(c.text, {"=", true}), c.name) << c.text;
        EXPECT_EQ(com::EscapeText(c.text, {"", true}), c.value) << c.text;
    }
}

TEST(TextEscape, Utf8SequencesAreWellFormedOnly) {
    EXPECT_EQ(com::Utf8SequenceAt("a", 0), 1u);
    EXPECT_EQ(com::Utf8SequenceAt("\xC3\xA9", 0), 2u);
    EXPECT_EQ(com::Utf8SequenceAt("\xE2\x82\xAC", 0), 3u);
    EXPECT_EQ(com::Utf8SequenceAt("\xF0\x9F\x98\x80", 0), 4u);
    EXPECT_EQ(com::Utf8SequenceAt("\xC0\x80", 0), 0u);         // overlong
    EXPECT_EQ(com::Utf8SequenceAt("\xED\xA0\x80", 0), 0u);     // surrogate
    EXPECT_EQ(com::Utf8SequenceAt("\xF4\x90\x80\x80", 0), 0u); // above U+10FFFF
    EXPECT_EQ(com::Utf8SequenceAt("\xE2\x82", 0), 0u);         // cut short
}
