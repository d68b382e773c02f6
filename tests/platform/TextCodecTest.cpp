#include "platform/com/TextCodec.h"

#include <gtest/gtest.h>

using namespace com;

namespace {
const std::u16string kReplacement(1, u'\xFFFD');
}

TEST(TextCodecRoundTrip, AsciiBmpAndAstral) {
    const std::string samples[] = {"",
                                   "plain",
                                   "Temp \xC2\xB0"
                                   "C",
                                   "\xE2\x82\xAC 100",
                                   "\xF0\x9F\x93\x88 trend",
                                   std::string("nul\0inside", 10),
                                   "\xEF\xBF\xBF",
                                   "\xF4\x8F\xBF\xBF"};
    for (const std::string& s : samples)
        EXPECT_EQ(ToNarrow(ToWide(s)), s) << s;
}

TEST(TextCodecRoundTrip, SurrogatePairsJoin) {
    EXPECT_EQ(ToWide("\xF0\x9F\x93\x88"), std::u16string(u"\xD83D\xDCC8"));
    EXPECT_EQ(ToNarrow(u"\xD83D\xDCC8"), "\xF0\x9F\x93\x88");
    EXPECT_EQ(ToWide("\xE2\x82\xAC"), u"\x20AC");
}

TEST(TextCodecMalformed, LoneSurrogatesBecomeReplacement) {
    EXPECT_EQ(ToNarrow(u"a\xD800"), "a\xEF\xBF\xBD");
    EXPECT_EQ(ToNarrow(u"\xDC00z"), "\xEF\xBF\xBDz");
    EXPECT_EQ(ToNarrow(std::u16string(u"\xDC00\xD800")), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(TextCodecMalformed, InvalidUtf8BecomesReplacement) {
    EXPECT_EQ(ToWide("\x80"), kReplacement);             // stray continuation byte
    EXPECT_EQ(ToWide("\xFF"), kReplacement);             // never valid
    EXPECT_EQ(ToWide("\xC0\xAF"), kReplacement);         // overlong '/'
    EXPECT_EQ(ToWide("\xED\xA0\x80"), kReplacement);     // encoded surrogate
    EXPECT_EQ(ToWide("\xF4\x90\x80\x80"), kReplacement); // beyond U+10FFFF
}

TEST(TextCodecMalformed, TruncatedSequenceKeepsWhatFollows) {
    EXPECT_EQ(ToWide("\xE2\x82"), kReplacement);
    EXPECT_EQ(ToWide("\xE2\x82x"), kReplacement + u"x");
    EXPECT_EQ(ToWide("\xC3"
                     "A"),
              kReplacement + u"A");
    EXPECT_EQ(ToWide("a\xF0\x9F"), u"a" + kReplacement);
}
