#include "ValueText.h"

#include "platform/com/Variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using com::FloatArray;
using com::Variant;
using com::VarType;

namespace {

Variant ParseOne(const std::string& text) {
    const std::vector<Variant> values = ValueText::ParseAll(text);
    if (values.size() != 1) throw std::logic_error("expected one value in " + text);
    return values[0];
}

// The value a dispatcher would see for a parameter of type t after the text is read back.
Variant ReadBack(const Variant& v, VarType t) {
    return com::Coerce(ParseOne(ValueText::Format(v)), t);
}

float FloatFromBits(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

double DoubleFromBits(std::uint64_t bits) {
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

} // namespace

TEST(ValueTextFormat, ShortestRealsOfTheirOwnType) {
    EXPECT_EQ(ValueText::Format(Variant::R4(0.1f)), "0.1");
    EXPECT_EQ(ValueText::Format(Variant::R8(0.1)), "0.1");
    EXPECT_EQ(ValueText::Format(Variant::R4(1.0f / 3)), "0.33333334");
    EXPECT_EQ(ValueText::Format(Variant::R8(1.0 / 3)), "0.3333333333333333");
    EXPECT_EQ(ValueText::Format(Variant::R4(1e28f)), "1e+28");
    EXPECT_EQ(ValueText::Format(Variant::R8(1e28)), "1e+28");
    EXPECT_EQ(ValueText::Format(Variant::R8(-2.5e-7)), "-2.5e-07");
    EXPECT_EQ(ValueText::Format(Variant::R8(3)), "3");
    EXPECT_EQ(ValueText::Format(Variant::R4(-0.0f)), "-0");
    EXPECT_EQ(ValueText::Format(Variant::R8(std::numeric_limits<double>::infinity())), "inf");
}

TEST(ValueTextFormat, OtherTypes) {
    EXPECT_EQ(ValueText::Format(Variant()), "empty");
    EXPECT_EQ(ValueText::Format(Variant::I2(-32768)), "-32768");
    EXPECT_EQ(ValueText::Format(Variant::I4(2147483647)), "2147483647");
    EXPECT_EQ(ValueText::Format(Variant::Bool(true)), "TRUE");
    EXPECT_EQ(ValueText::Format(Variant::Bool(false)), "FALSE");
    EXPECT_EQ(ValueText::Format(Variant::Object(nullptr)), "null");
    com::Unknown host;
    EXPECT_EQ(ValueText::Format(Variant::Object(&host)), "object");
    EXPECT_EQ(ValueText::Format(Variant::Str("a\"b\\c\nd\re\tf")), R"("a\"b\\c\nd\re\tf")");
    EXPECT_EQ(ValueText::Format(Variant::Str("")), R"("")");
    Variant target = Variant::I2(9);
    EXPECT_EQ(ValueText::Format(Variant::Ref(&target)), "9");
}

TEST(ValueTextFormat, Arrays) {
    EXPECT_EQ(ValueText::Format(Variant::Array(FloatArray::Vector({}))), "[]");
    EXPECT_EQ(ValueText::Format(Variant::Array(FloatArray::Vector({0.1f, -2, 1e28f}))),
              "[0.1 -2 1e+28]");
    FloatArray m = FloatArray::Matrix(2, 3);
    m.at(0, 1) = 1;
    m.at(0, 2) = 2;
    m.at(1, 0) = 0.1f;
    m.at(1, 1) = 1.5f;
    m.at(1, 2) = 2.5f;
    EXPECT_EQ(ValueText::Format(Variant::Array(m)), "[[0 1 2] [0.1 1.5 2.5]]");
    EXPECT_EQ(ValueText::Format(Variant::Array(FloatArray::Matrix(2, 0))), "[[] []]");
}

TEST(ValueTextFormat, ArrayWithShortStorageDoesNotOverrun) {
    FloatArray m = FloatArray::Matrix(3, 2);
    m.data.resize(3); // counts claim more than is held
    EXPECT_EQ(ValueText::Format(Variant::Array(m)), "[[0 0]]");
}

TEST(ValueTextParse, NumbersBecomeI4OrR8) {
    EXPECT_EQ(ParseOne("42"), Variant::I4(42));
    EXPECT_EQ(ParseOne("-3"), Variant::I4(-3));
    EXPECT_EQ(ParseOne("+7"), Variant::I4(7));
    EXPECT_EQ(ParseOne("-2147483648"), Variant::I4(-2147483648));
    EXPECT_EQ(ParseOne("2147483648"), Variant::R8(2147483648.0));
    EXPECT_EQ(ParseOne("-99999999999999999999"), Variant::R8(-1e20));
    EXPECT_EQ(ParseOne("1.5"), Variant::R8(1.5));
    EXPECT_EQ(ParseOne("1e28"), Variant::R8(1e28));
    EXPECT_EQ(ParseOne("1e+28"), Variant::R8(1e28));
    EXPECT_EQ(ParseOne("-.5"), Variant::R8(-0.5));
    EXPECT_EQ(ParseOne("3."), Variant::R8(3));
    EXPECT_TRUE(std::isnan(ParseOne("nan").r8()));
    EXPECT_EQ(ParseOne("-inf"), Variant::R8(-std::numeric_limits<double>::infinity()));
}

TEST(ValueTextParse, WordsAndStrings) {
    EXPECT_EQ(ParseOne("TRUE"), Variant::Bool(true));
    EXPECT_EQ(ParseOne("false"), Variant::Bool(false));
    EXPECT_TRUE(ParseOne("empty").isEmpty());
    EXPECT_EQ(ParseOne("null"), Variant::Object(nullptr));
    EXPECT_EQ(ParseOne(R"("tab\there")").narrow(), "tab\there");
    EXPECT_EQ(ParseOne(R"("q\"b\\n\r")").narrow(), "q\"b\\n\r");
    EXPECT_EQ(ParseOne(R"("")").narrow(), "");
    EXPECT_EQ(ParseOne("\"\xE2\x82\xAC 5\"").str(), u"\x20AC 5");
}

TEST(ValueTextParse, ArraysAreRowsOfSamples) {
    const Variant v = ParseOne("[1 2 3]");
    EXPECT_EQ(v.array(), FloatArray::Vector({1, 2, 3}));
    EXPECT_EQ(ParseOne("[ ]").array(), FloatArray::Vector({}));
    const FloatArray m = ParseOne("[[0 1 2] [0.1 1.5 2.5]]").array();
    EXPECT_EQ(m.dims, 2);
    EXPECT_EQ(m.count1, 2u);
    EXPECT_EQ(m.count2, 3u);
    EXPECT_EQ(m.at(0, 2), 2.0f);
    EXPECT_EQ(m.at(1, 0), 0.1f);
    EXPECT_EQ(ParseOne("[[1][2]]").array().count1, 2u);
    EXPECT_EQ(ParseOne("[[] []]").array(), FloatArray::Matrix(2, 0));
}

TEST(ValueTextParse, ArrayElementsReadStraightAsFloats) {
    // 0.1 read as a double and then narrowed could differ from the nearest float in
    // general; elements are read as floats directly.
    EXPECT_EQ(ParseOne("[0.1 16777217 1e-45]").array().data,
              (std::vector<float>{0.1f, 16777216.0f, 1e-45f}));
}

TEST(ValueTextParse, SeveralValuesAndPositions) {
    const std::vector<Variant> values = ValueText::ParseAll("  1 \"a b\" [2 3]\tTRUE  ");
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values[1].narrow(), "a b");
    size_t pos = 0;
    EXPECT_EQ(ValueText::Parse("7 8", pos), Variant::I4(7));
    EXPECT_EQ(pos, 1u);
    EXPECT_EQ(ValueText::Parse("7 8", pos), Variant::I4(8));
    EXPECT_EQ(pos, 3u);
    pos = 0;
    EXPECT_EQ(ValueText::ParseWord(R"( "a \"file\".png" rest)", pos), "a \"file\".png");
    EXPECT_EQ(ValueText::ParseWord(R"( "a \"file\".png" rest)", pos), "rest");
}

TEST(ValueTextParse, MalformedInputIsASyntaxError) {
    const char* bad[] = {"\"open",
                         "\"bad \\x escape\"",
                         "\"ends in \\",
                         "[1 2",
                         "[[1 2] [3]]",
                         "[[1 2] 3]",
                         "[1 [2]]",
                         "[[[1]]]",
                         "]",
                         "[1 x]",
                         "[\"a\"]",
                         "[TRUE]",
                         "1e999",
                         "[1e39]",
                         "12abc",
                         "--1",
                         "+",
                         "-",
                         "1 \"a\"x",
                         "[1]2",
                         "\"a\"\"b\"",
                         "yes",
                         "0x10",
                         "1,2"};
    for (const char* text : bad)
        EXPECT_THROW(ValueText::ParseAll(text), SyntaxError) << text;
}

TEST(ValueTextParse, RandomInputNeverCrashes) {
    const std::string alphabet = "[]\" \\01.-+eEinfaTRUEtrx,\t";
    std::mt19937 random(12345);
    for (int n = 0; n < 20000; ++n) {
        std::string text(random() % 16, ' ');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        try {
            for (const Variant& v : ValueText::ParseAll(text))
                ValueText::Format(v);
        } catch (const SyntaxError&) {
        }
    }
}

TEST(ValueTextRoundTrip, RealsReadBackToTheSameValueOfTheirType) {
    std::mt19937_64 random(2024);
    for (int n = 0; n < 20000; ++n) {
        const float f = FloatFromBits(static_cast<std::uint32_t>(random()));
        const double d = DoubleFromBits(random());
        if (std::isnan(f) || std::isnan(d)) continue;
        EXPECT_EQ(ReadBack(Variant::R4(f), VarType::R4), Variant::R4(f)) << f;
        EXPECT_EQ(ReadBack(Variant::R8(d), VarType::R8), Variant::R8(d)) << d;
    }
    for (float f : {0.1f, 1e28f, std::numeric_limits<float>::max(),
                    std::numeric_limits<float>::denorm_min(), -std::numeric_limits<float>::min()})
        EXPECT_EQ(ReadBack(Variant::R4(f), VarType::R4), Variant::R4(f)) << f;
    for (double d : {0.1, 1e28, std::numeric_limits<double>::max(),
                     std::numeric_limits<double>::denorm_min(), 9007199254740993.0})
        EXPECT_EQ(ReadBack(Variant::R8(d), VarType::R8), Variant::R8(d)) << d;
}

TEST(ValueTextRoundTrip, OtherValuesReadBackUnchanged) {
    FloatArray m = FloatArray::Matrix(3, 2);
    for (size_t k = 0; k < m.data.size(); ++k)
        m.data[k] = 0.1f * static_cast<float>(k) - 0.25f;
    const Variant values[] = {
        Variant::I4(-2147483647 - 1),
        Variant::Bool(true),
        Variant::Str("quote \" backslash \\ newline \n return \r tab \t end"),
        Variant::Str("\xF0\x9F\x93\x88 \xC2\xB0"),
        Variant(),
        Variant::Object(nullptr),
        Variant::Array(FloatArray::Vector({0.1f, 1e28f, -0.0f, 3.4028235e38f})),
        Variant::Array(m),
    };
    for (const Variant& v : values)
        EXPECT_EQ(ParseOne(ValueText::Format(v)), v) << ValueText::Format(v);
    EXPECT_EQ(ReadBack(Variant::I2(-32768), VarType::I2), Variant::I2(-32768));
}
