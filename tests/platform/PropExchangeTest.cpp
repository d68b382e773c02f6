#include "platform/com/PropExchange.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using com::BagPropExchange;
using com::BinaryPropExchange;
using com::PropertyBag;
using com::PropExchange;

namespace {

// One value of every kind, exchanged in a fixed order as a control does.
struct Sample {
    std::uint32_t version = 0x00010006;
    std::uint32_t color = 0xFFFFFF;
    std::string text = "Title";
    std::int16_t count = 1;
    std::int32_t size = 2000;
    bool flag = false;
    float window = 1.0f;

    void Exchange(PropExchange& px) {
        std::uint32_t loaded = 0;
        px.Version(loaded, version);
        version = loaded;
        px.Color("BackColor", color, 0xFFFFFF);
        px.String("Title", text, "Title");
        px.Short("nvariables", count, 1);
        px.Long("BufferSize", size, 2000);
        px.Bool("RunPlot", flag, false);
        px.Float("TimeWindow", window, 1.0f);
    }
    bool operator==(const Sample&) const = default;
};

Sample Unusual() {
    Sample s;
    s.color = 0x123456;
    s.text = std::string("line one\nline two = \"x\"\\ \xC3\xA9\xE2\x82\xAC\t\r") + '\0' + "end";
    s.count = -32768;
    s.size = std::numeric_limits<std::int32_t>::min();
    s.flag = true;
    s.window = 0.1f;
    return s;
}

std::vector<std::uint8_t> SaveBinary(Sample s) {
    BinaryPropExchange px;
    s.Exchange(px);
    return px.Bytes();
}

Sample LoadBinary(const std::vector<std::uint8_t>& bytes) {
    BinaryPropExchange px(bytes);
    Sample s;
    s.Exchange(px);
    return s;
}

std::string SaveText(Sample s) {
    PropertyBag bag;
    BagPropExchange px(bag, false);
    s.Exchange(px);
    return bag.ToText();
}

Sample LoadText(const std::string& text) {
    PropertyBag bag = PropertyBag::FromText(text);
    BagPropExchange px(bag, true);
    Sample s;
    s.Exchange(px);
    return s;
}

com::HRESULT StatusOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const com::DispatchError& e) {
        return e.hr();
    }
    return com::S_OK;
}

// The CRC-32 (IEEE) of bytes, computed bit by bit, to rebuild a valid header over edited data.
std::uint32_t Crc(const std::uint8_t* p, size_t n) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

void Reseal(std::vector<std::uint8_t>& bytes) {
    const auto length = std::uint32_t(bytes.size() - 12);
    const std::uint32_t crc = Crc(bytes.data() + 12, bytes.size() - 12);
    for (int i = 0; i < 4; ++i) {
        bytes[size_t(4 + i)] = std::uint8_t(length >> (8 * i));
        bytes[size_t(8 + i)] = std::uint8_t(crc >> (8 * i));
    }
}

} // namespace

TEST(BinaryPropExchange, EveryKindOfValueSurvivesTheRoundTrip) {
    EXPECT_EQ(LoadBinary(SaveBinary(Sample{})), Sample{});
    EXPECT_EQ(LoadBinary(SaveBinary(Unusual())), Unusual());
    Sample edge;
    edge.window = -0.0f;
    edge.size = std::numeric_limits<std::int32_t>::max();
    edge.color = 0xFFFFFFFF;
    edge.text.clear();
    const Sample back = LoadBinary(SaveBinary(edge));
    EXPECT_EQ(back, edge);
    EXPECT_TRUE(std::signbit(back.window));
}

TEST(BinaryPropExchange, TheStreamStartsWithItsMarkLengthAndChecksum) {
    const std::vector<std::uint8_t> bytes = SaveBinary(Sample{});
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "TXPX");
    const std::uint32_t length =
        bytes[4] | bytes[5] << 8 | bytes[6] << 16 | std::uint32_t(bytes[7]) << 24;
    EXPECT_EQ(length, bytes.size() - 12);
    // version tag and value, little-endian
    EXPECT_EQ(bytes[12], 'V');
    EXPECT_EQ(bytes[13], 0x06);
    EXPECT_EQ(bytes[15], 0x01);
}

TEST(BinaryPropExchange, EveryTruncationIsRefused) {
    const std::vector<std::uint8_t> bytes = SaveBinary(Unusual());
    for (size_t n = 0; n < bytes.size(); ++n) {
        const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(n));
        EXPECT_EQ(StatusOf([&] { LoadBinary(cut); }), com::STG_E_READFAULT) << n;
    }
}

TEST(BinaryPropExchange, ExtraBytesAndEveryFlippedBitAreRefused) {
    std::vector<std::uint8_t> bytes = SaveBinary(Unusual());
    std::vector<std::uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_EQ(StatusOf([&] { LoadBinary(longer); }), com::STG_E_READFAULT);
    for (size_t i = 0; i < bytes.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            std::vector<std::uint8_t> bad = bytes;
            bad[i] ^= std::uint8_t(1u << bit);
            ASSERT_EQ(StatusOf([&] { LoadBinary(bad); }), com::STG_E_READFAULT) << i << ":" << bit;
        }
    }
}

TEST(BinaryPropExchange, AResealedStreamWithAHugeTextLengthIsRefusedBeforeAllocating) {
    std::vector<std::uint8_t> bytes = SaveBinary(Sample{});
    // The string record follows the version (5 bytes) and the colour (5 bytes).
    const size_t at = 12 + 5 + 5;
    ASSERT_EQ(bytes[at], 'S');
    for (size_t i = 1; i <= 4; ++i)
        bytes[at + i] = 0xFF;
    Reseal(bytes);
    try {
        LoadBinary(bytes);
        FAIL() << "a text longer than the data was read";
    } catch (const com::DispatchError& e) {
        EXPECT_EQ(e.hr(), com::STG_E_READFAULT);
        EXPECT_NE(std::string(e.what()).find("Title"), std::string::npos) << e.what();
    }
}

TEST(BinaryPropExchange, AValueOfAnotherKindOrMissingValuesAreRefused) {
    BinaryPropExchange saving;
    std::uint32_t v = 0;
    saving.Version(v, 7);
    std::int16_t s = 5;
    saving.Short("a", s, 0);
    const std::vector<std::uint8_t> bytes = saving.Bytes();

    BinaryPropExchange loading(bytes);
    loading.Version(v, 0);
    EXPECT_EQ(v, 7u);
    std::int32_t l = 0;
    EXPECT_EQ(StatusOf([&] { loading.Long("a", l, 0); }), com::STG_E_READFAULT);

    BinaryPropExchange again(bytes);
    again.Version(v, 0);
    again.Short("a", s, 0);
    EXPECT_EQ(s, 5);
    bool b = false;
    EXPECT_EQ(StatusOf([&] { again.Bool("b", b, true); }), com::STG_E_READFAULT);
}

TEST(PropertyBag, TheTextFormIsOneNameValueLinePerProperty) {
    EXPECT_EQ(SaveText(Sample{}), "_Version=0x00010006\n"
                                  "BackColor=0x00FFFFFF\n"
                                  "Title=Title\n"
                                  "nvariables=1\n"
                                  "BufferSize=2000\n"
                                  "RunPlot=FALSE\n"
                                  "TimeWindow=1\n");
}

TEST(PropertyBag, AnyStringSurvivesTheRoundTripAndTheTextStaysUtf8) {
    const Sample s = Unusual();
    const std::string text = SaveText(s);
    EXPECT_NE(
        text.find("Title=line one\\nline two = \"x\"\\\\ \xC3\xA9\xE2\x82\xAC\\t\\r\\x00end\n"),
        std::string::npos)
        << text;
    EXPECT_EQ(LoadText(text), s);

    // Names may hold '=' and line breaks too; bytes that are not UTF-8 come back as they were.
    PropertyBag bag;
    bag.Set("a=b\nc", "\xFF\xC3(\xED\xA0\x80 ok");
    bag.Set("plain", "");
    const std::string written = bag.ToText();
    EXPECT_EQ(written, "a\\=b\\nc=\\xFF\\xC3(\\xED\\xA0\\x80 ok\nplain=\n");
    const PropertyBag back = PropertyBag::FromText(written);
    ASSERT_NE(back.Find("a=b\nc"), nullptr);
    EXPECT_EQ(*back.Find("a=b\nc"), "\xFF\xC3(\xED\xA0\x80 ok");
    ASSERT_NE(back.Find("plain"), nullptr);
    EXPECT_EQ(*back.Find("plain"), "");
}

TEST(PropertyBag, ValuesReadLeniently) {
    const Sample s = LoadText("Title=x=y\r\n\r\nRunPlot= true \nnvariables=0x10\nBufferSize=-5\n"
                              "TimeWindow=2.5e-1\nBackColor=255\nUnknown=ignored\n");
    EXPECT_EQ(s.text, "x=y");
    EXPECT_TRUE(s.flag);
    EXPECT_EQ(s.count, 16);
    EXPECT_EQ(s.size, -5);
    EXPECT_FLOAT_EQ(s.window, 0.25f);
    EXPECT_EQ(s.color, 255u);
    EXPECT_EQ(s.version, 0x00010006u); // absent: the current version
}

TEST(PropertyBag, MissingValuesTakeTheirDefaults) {
    Sample s = Unusual();
    PropertyBag empty;
    BagPropExchange px(empty, true);
    s.Exchange(px);
    EXPECT_EQ(s, Sample{});
}

TEST(PropertyBag, MalformedTextIsRefusedNamingTheLine) {
    const char* cases[] = {
        "no equals sign\n",       "=value without a name\n",        "Title=a\nTitle=b\n",
        "Title=bad escape \\q\n", "Title=lone backslash \\",        "Title=short hex \\x4\n",
        "Title=\xC3 not utf-8\n", "Title=\xED\xA0\x80 surrogate\n",
    };
    for (const char* text : cases) {
        try {
            PropertyBag::FromText(text);
            ADD_FAILURE() << "read: " << text;
        } catch (const com::DispatchError& e) {
            EXPECT_EQ(e.hr(), com::STG_E_READFAULT) << text;
            EXPECT_NE(std::string(e.what()).find("line "), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(StatusOf([] { PropertyBag::FromText("a=1\n\nb=\\x41\n"); }), com::S_OK);
}

TEST(PropertyBag, ValuesThatDoNotReadAsTheirTypeAreRefused) {
    const char* cases[] = {
        "nvariables=32768\n",      "nvariables=-32769\n", "nvariables=1.5\n",  "nvariables=\n",
        "BufferSize=2147483648\n", "BufferSize=12abc\n",  "RunPlot=yes\n",     "RunPlot=\n",
        "TimeWindow=1.0.0\n",      "TimeWindow=\n",       "TimeWindow=1e99\n", "BackColor=-1\n",
        "BackColor=0x100000000\n", "_Version=one\n",
    };
    for (const char* text : cases)
        EXPECT_EQ(StatusOf([&] { LoadText(text); }), com::STG_E_READFAULT) << text;
}
