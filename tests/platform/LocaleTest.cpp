// Locale conventions as plain values.
#include "platform/locale/Locale.h"

#include <gtest/gtest.h>

namespace {

std::tm Instant() {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 1;
    t.tm_mday = 9;
    t.tm_hour = 7;
    t.tm_min = 5;
    t.tm_sec = 3;
    return t;
}

} // namespace

TEST(Locale, ClassicConventions) {
    const locale::Locale classic = locale::Locale::Classic();
    EXPECT_EQ(classic.decimalSeparator, '.');
    EXPECT_EQ(classic.FormatDate(Instant()), "02/09/2024");
    EXPECT_EQ(classic.FormatTime(Instant()), "07:05:03");
}

TEST(Locale, PinnedCommaLocaleFormatsItsOwnWay) {
    locale::Locale german;
    german.decimalSeparator = ',';
    german.shortDateFormat = "%d.%m.%Y";
    german.timeFormat = "%H:%M";
    EXPECT_EQ(german.FormatDate(Instant()), "09.02.2024");
    EXPECT_EQ(german.FormatTime(Instant()), "07:05");
}

TEST(Locale, ProcessLocaleAlwaysHasASeparatorAndFormats) {
    const locale::Locale process = locale::Locale::FromProcess();
    EXPECT_NE(process.decimalSeparator, '\0');
    EXPECT_FALSE(process.FormatDate(Instant()).empty());
    EXPECT_FALSE(process.FormatTime(Instant()).empty());
}
