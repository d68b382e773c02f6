// Number texts of tick labels and tooltips.
#include "render/NumberFormat.h"

#include <gtest/gtest.h>

#include <limits>

using NumberFormat::FormatNumber;
using NumberFormat::FormatTickText;
using NumberFormat::Gcvt;

namespace {

locale::Locale WithSeparator(char separator) {
    locale::Locale l;
    l.decimalSeparator = separator;
    return l;
}

const locale::Locale kPoint = WithSeparator('.');
const locale::Locale kComma = WithSeparator(',');

} // namespace

TEST(Gcvt, WholeNumbersInFixedFormEndInAPoint) {
    EXPECT_EQ(Gcvt(100.0, 6), "100.");
    EXPECT_EQ(Gcvt(-314150.0, 7), "-314150.");
    EXPECT_EQ(Gcvt(0.0, 6), "0.");
}

TEST(Gcvt, FractionsDropTrailingZeros) {
    EXPECT_EQ(Gcvt(12.5, 6), "12.5");
    EXPECT_EQ(Gcvt(0.0025, 6), "0.0025");
    EXPECT_EQ(Gcvt(1.0 / 3.0, 4), "0.3333");
}

TEST(Gcvt, ExponentFormHasAtLeastTwoExponentDigits) {
    EXPECT_EQ(Gcvt(1.5e10, 6), "1.5e+10");
    EXPECT_EQ(Gcvt(2e-5, 6), "2e-05");
    EXPECT_EQ(Gcvt(1e6, 6), "1e+06");
    EXPECT_EQ(Gcvt(1.25e123, 6), "1.25e+123");
    EXPECT_EQ(Gcvt(123456.0, 6), "123456.");
    EXPECT_EQ(Gcvt(1234567.0, 6), "1.23457e+06");
}

TEST(Gcvt, NoDigitsMeansOne) {
    EXPECT_EQ(Gcvt(7.6, 0), "8.");
}

TEST(FormatTickText, RaisesPrecisionUntilNeighboursDiffer) {
    int digits = 0;
    EXPECT_EQ(FormatTickText(0.1, 1e-7, &digits), "0.1");
    EXPECT_EQ(digits, 7);
    EXPECT_EQ(FormatTickText(1.0000001, 1e-7, &digits), "1.0000001");
    EXPECT_EQ(digits, 8);
    EXPECT_EQ(FormatTickText(2.5, 0.5, &digits), "2.5");
    EXPECT_EQ(digits, 6);
}

TEST(FormatTickText, NeverGoesBeyondEightDigits) {
    int digits = 0;
    EXPECT_EQ(FormatTickText(1.0, 1e-12, &digits), "1");
    EXPECT_EQ(digits, 8);
    EXPECT_EQ(FormatTickText(0.0, 0.0, &digits), "0");
    EXPECT_EQ(digits, 8);
}

TEST(FormatTickText, ShortensExponents) {
    EXPECT_EQ(FormatTickText(1.5e10, 1e9), "1.5e10");
    EXPECT_EQ(FormatTickText(2e-5, 1e-6), "2e-5");
    EXPECT_EQ(FormatTickText(-3e-12, 1e-12), "-3e-12");
    EXPECT_EQ(FormatTickText(1e7, 1e6), "1e7");
}

TEST(FormatTickText, FixedTextsLoseTrailingZerosAndBarePoints) {
    EXPECT_EQ(FormatTickText(100, 20), "100");
    EXPECT_EQ(FormatTickText(0.25, 0.25), "0.25");
    EXPECT_EQ(FormatTickText(-7.5, 2.5), "-7.5");
}

TEST(FormatNumber, NotLocalisedIsTheGeneralConversion) {
    EXPECT_EQ(FormatNumber(100.0, 6, false, kComma), "100.");
    EXPECT_EQ(FormatNumber(12.5, 6, false, kComma), "12.5");
    EXPECT_EQ(FormatNumber(1.5e10, 6, false, kComma), "1.5e+10");
}

TEST(FormatNumber, LocalisedFixedKeepsOneDigitAfterTheSeparator) {
    EXPECT_EQ(FormatNumber(100.0, 6, true, kPoint), "100.0");
    EXPECT_EQ(FormatNumber(12.5, 6, true, kPoint), "12.5");
    EXPECT_EQ(FormatNumber(0.0025, 6, true, kPoint), "0.0025");
    EXPECT_EQ(FormatNumber(-2.5, 6, true, kPoint), "-2.5");
}

TEST(FormatNumber, ZeroIsAlwaysZeroPointZero) {
    EXPECT_EQ(FormatNumber(0.0, 6, true, kPoint), "0.0");
    EXPECT_EQ(FormatNumber(0.0, 6, true, kComma), "0.0");
    EXPECT_EQ(FormatNumber(-0.0, 3, true, kComma), "0.0");
}

TEST(FormatNumber, CommaLocaleUsesItsSeparator) {
    EXPECT_EQ(FormatNumber(12.5, 6, true, kComma), "12,5");
    EXPECT_EQ(FormatNumber(100.0, 6, true, kComma), "100,0");
    EXPECT_EQ(FormatNumber(0.0025, 6, true, kComma), "0,0025");
    EXPECT_EQ(FormatNumber(2.5e7, 6, true, kComma), "2,5e+07");
    EXPECT_EQ(FormatNumber(1.5e-4, 6, true, kComma), "0,00015");
}

TEST(FormatNumber, ExponentBandsAtAMillionAndAThousandth) {
    EXPECT_EQ(FormatNumber(1e6, 6, true, kPoint), "1e+06");
    EXPECT_EQ(FormatNumber(999999.0, 6, true, kPoint), "999999.0");
    EXPECT_EQ(FormatNumber(0.001, 6, true, kPoint), "0.001");
    EXPECT_EQ(FormatNumber(0.00100001, 6, true, kPoint), "0.00100001");
    EXPECT_EQ(FormatNumber(1e-5, 6, true, kPoint), "1e-05");
}

TEST(FormatNumber, RoundsUpOnlyBeyondHalfAUnit) {
    EXPECT_EQ(FormatNumber(0.1 + 0.2, 6, true, kPoint), "0.3");
    EXPECT_EQ(FormatNumber(1.23456789, 3, true, kPoint), "1.23");
    EXPECT_EQ(FormatNumber(1.2351, 3, true, kPoint), "1.24");
    EXPECT_EQ(FormatNumber(0.375, 2, true, kPoint), "0.37"); // exactly half stays down
}

TEST(FormatNumber, CarriesThroughNinesAndAddsALeadingOne) {
    EXPECT_EQ(FormatNumber(9.9999999, 6, true, kPoint), "10.0");
    EXPECT_EQ(FormatNumber(0.099999999, 6, true, kPoint), "0.1");
    EXPECT_EQ(FormatNumber(999.96, 4, true, kPoint), "1000.0");
}

TEST(FormatNumber, FillsZerosUpToTheUnitsDigit) {
    EXPECT_EQ(FormatNumber(12345.0, 3, true, kPoint), "12300.0");
    EXPECT_EQ(FormatNumber(98765.4, 2, true, kComma), "99000,0");
}

TEST(FormatNumber, DigitsAreCappedAtSixteen) {
    // 17 digits would show the binary error of 0.1.
    EXPECT_EQ(Gcvt(0.1, 17), "0.10000000000000001");
    EXPECT_EQ(FormatNumber(0.1, 40, false, kPoint), "0.1");
    EXPECT_EQ(FormatNumber(0.1, 40, true, kPoint), "0.1");
}

TEST(FormatNumber, NonFiniteValuesDoNotFault) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FormatNumber(inf, 6, true, kPoint), "inf");
    EXPECT_EQ(FormatNumber(-inf, 6, false, kPoint), "-inf");
    EXPECT_FALSE(FormatNumber(std::numeric_limits<double>::quiet_NaN(), 6, true, kPoint).empty());
}
