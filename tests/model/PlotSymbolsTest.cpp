#include "model/PlotSymbols.h"

#include <gtest/gtest.h>

namespace {

std::tm Moment(int hour) {
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 4;
    t.tm_mday = 17;
    t.tm_hour = hour;
    return t;
}

struct PlotSymbolsTest : ::testing::Test {
    std::vector<CPlotSymbol> symbols = CPlotSymbols::Initial();
    locale::Locale loc = locale::Locale::Classic();
    int asked = 0;
    CPlotSymbols::Clock clock = [this] { return Moment(8 + asked++); };
};

TEST_F(PlotSymbolsTest, TimeIsTakenOnceAndKeptUntilReset) {
    const auto a = CPlotSymbols::Expand(symbols, "at &[TIME]", loc, clock);
    const auto b = CPlotSymbols::Expand(symbols, "&[time]!", loc, clock);
    EXPECT_EQ(a.text, "at 08:00:00");
    EXPECT_EQ(b.text, "08:00:00!");
    EXPECT_TRUE(a.usesDateTime);
    CPlotSymbols::ResetDateTime(symbols);
    EXPECT_EQ(CPlotSymbols::Expand(symbols, "&[TIME]", loc, clock).text, "09:00:00");
}

TEST_F(PlotSymbolsTest, UnknownNamesAndOpenBracketsStayAsWritten) {
    EXPECT_EQ(CPlotSymbols::Expand(symbols, "a &[NOPE] b", loc, clock).text, "a &[NOPE] b");
    EXPECT_EQ(CPlotSymbols::Expand(symbols, "a &[DATE", loc, clock).text, "a &[DATE");
    EXPECT_FALSE(CPlotSymbols::Expand(symbols, "plain", loc, clock).usesDateTime);
    symbols.push_back({"Unit", "R-101"});
    EXPECT_EQ(CPlotSymbols::Expand(symbols, "&[X]&[UNIT]", loc, clock).text, "&[X]R-101");
}

TEST_F(PlotSymbolsTest, SubstitutionReplacesTheFirstMarkerOnly) {
    EXPECT_EQ(CPlotSymbols::LabelText(symbols, "Flow $VAL $VAL", "VAL", "12.5", loc, clock),
              "Flow 12.5 $VAL");
    EXPECT_EQ(CPlotSymbols::LabelText(symbols, "a\\nb\\n", "", "", loc, clock), "a b ");
    // With a marker set, backslash-n stays.
    EXPECT_EQ(CPlotSymbols::LabelText(symbols, "a\\nb", "VAL", "1", loc, clock), "a\\nb");
    EXPECT_EQ(CPlotSymbols::LabelText(symbols, "", "VAL", "1", loc, clock), "");
}

} // namespace
