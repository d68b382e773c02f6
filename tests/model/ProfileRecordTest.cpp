#include "model/ProfileRecord.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

namespace {

CProfileRecord SampleRecord() {
    CProfileRecord r;
    r.title = "Column profile";
    r.indeplab = "Stage";
    r.deplab[0] = "Temperature";
    r.deplab[9] = "Last";
    r.depleg[1] = "Legend two";
    r.numpoints = 3;
    r.numindep = 1;
    r.numdep = 2;
    r.indepscale = 1;
    r.depscale[1] = 2;
    r.indepint = 1;
    r.depint[0] = 1;
    r.multiy = 1;
    r.indeplow = -1.5;
    r.indephigh = 7.25;
    r.deplow[1] = 100;
    r.dephigh[1] = 200;
    r.hasValues = true;
    r.values = {1, 2, 3, 10, 20, 30, 5, 6, 7};
    return r;
}

std::int32_t Int32At(const std::vector<std::byte>& b, size_t offset) {
    std::uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= std::to_integer<std::uint32_t>(b[offset + i]) << (8 * i);
    return std::int32_t(v);
}

double DoubleAt(const std::vector<std::byte>& b, size_t offset) {
    std::uint64_t v = 0;
    for (size_t i = 0; i < 8; ++i)
        v |= std::to_integer<std::uint64_t>(b[offset + i]) << (8 * i);
    return std::bit_cast<double>(v);
}

std::string TextAt(const std::vector<std::byte>& b, size_t offset) {
    return std::string(reinterpret_cast<const char*>(b.data() + offset));
}

void PutInt32(std::vector<std::byte>& b, size_t offset, std::int32_t value) {
    for (size_t i = 0; i < 4; ++i)
        b[offset + i] = std::byte((std::uint32_t(value) >> (8 * i)) & 0xFF);
}

} // namespace

// --- the binary layout ---

TEST(ProfileRecordLayout, FieldsSitAtTheirOffsetsLittleEndian) {
    const std::vector<std::byte> b = SampleRecord().ToBytes();
    ASSERT_EQ(b.size(), 1536u + 9 * 8);
    EXPECT_EQ(TextAt(b, 36), "Column profile");
    EXPECT_EQ(TextAt(b, 102), "Stage");
    EXPECT_EQ(TextAt(b, 144), "Temperature");
    EXPECT_EQ(TextAt(b, 144 + 9 * 42), "Last");
    EXPECT_EQ(TextAt(b, 564 + 60), "Legend two");
    EXPECT_EQ(Int32At(b, 1164), 3);
    EXPECT_EQ(Int32At(b, 1168), 1);
    EXPECT_EQ(Int32At(b, 1172), 2);
    EXPECT_EQ(Int32At(b, 1176), 1);
    EXPECT_EQ(Int32At(b, 1180 + 4), 2);
    EXPECT_EQ(Int32At(b, 1220), 1);
    EXPECT_EQ(Int32At(b, 1224), 1);
    EXPECT_EQ(Int32At(b, 1352), 1);
    EXPECT_EQ(DoubleAt(b, 1360), -1.5);
    EXPECT_EQ(DoubleAt(b, 1368), 7.25);
    EXPECT_EQ(DoubleAt(b, 1376 + 8), 100.0);
    EXPECT_EQ(DoubleAt(b, 1456 + 8), 200.0);
    EXPECT_EQ(DoubleAt(b, 1536), 1.0);
    EXPECT_EQ(DoubleAt(b, 1536 + 3 * 8), 10.0); // first value of the first Y variable
    EXPECT_EQ(DoubleAt(b, 1536 + 8 * 8), 7.0);
}

TEST(ProfileRecordLayout, ReservedBytesStayZero) {
    const std::vector<std::byte> b = SampleRecord().ToBytes();
    for (size_t i = 0; i < 36; ++i)
        EXPECT_EQ(b[i], std::byte{0}) << i;
    for (size_t i = 1264; i < 1352; ++i)
        EXPECT_EQ(b[i], std::byte{0}) << i;
    for (size_t i = 1356; i < 1360; ++i)
        EXPECT_EQ(b[i], std::byte{0}) << i;
}

TEST(ProfileRecordLayout, BytesReadBackToTheSameRecord) {
    const CProfileRecord r = SampleRecord();
    CProfileRecord back;
    ASSERT_TRUE(CProfileRecord::FromBytes(r.ToBytes(), true, back));
    EXPECT_EQ(back.title, r.title);
    EXPECT_EQ(back.deplab, r.deplab);
    EXPECT_EQ(back.depleg, r.depleg);
    EXPECT_EQ(back.depscale, r.depscale);
    EXPECT_EQ(back.depint, r.depint);
    EXPECT_EQ(back.deplow, r.deplow);
    EXPECT_EQ(back.dephigh, r.dephigh);
    EXPECT_EQ(back.indeplow, r.indeplow);
    EXPECT_EQ(back.multiy, 1);
    EXPECT_EQ(back.values, r.values);
}

TEST(ProfileRecordLayout, TextsAreCutToTheirFieldLessOne) {
    CProfileRecord r;
    r.title = std::string(100, 'T');
    r.indeplab = std::string("ab\0cd", 5);
    const std::vector<std::byte> b = r.ToBytes();
    EXPECT_EQ(TextAt(b, 36).size(), 65u);
    EXPECT_EQ(TextAt(b, 102), "ab");
}

TEST(ProfileRecordLayout, AFieldWithoutItsNulIsReadWithinTheField) {
    std::vector<std::byte> b = CProfileRecord().ToBytes();
    std::memset(b.data() + 36, 'X', 66); // runs into the next field without a terminator
    std::memset(b.data() + 102, 'Y', 10);
    CProfileRecord r;
    ASSERT_TRUE(CProfileRecord::FromBytes(b, true, r));
    EXPECT_EQ(r.title, std::string(65, 'X'));
    EXPECT_EQ(r.indeplab, std::string(10, 'Y'));
}

// --- refusing records that do not fit ---

TEST(ProfileRecordChecks, ShortBlocksAreRefused) {
    const std::vector<std::byte> b = SampleRecord().ToBytes();
    CProfileRecord r;
    EXPECT_FALSE(CProfileRecord::FromBytes(std::span(b).first(100), true, r));
    EXPECT_FALSE(CProfileRecord::FromBytes(std::span(b).first(1535), false, r));
    EXPECT_FALSE(CProfileRecord::FromBytes(std::span(b).first(b.size() - 1), true, r));
    EXPECT_FALSE(CProfileRecord::FromBytes({}, false, r));
}

TEST(ProfileRecordChecks, ARunPlotRecordNeedsNoValueArea) {
    const std::vector<std::byte> b = SampleRecord().ToBytes();
    CProfileRecord r;
    ASSERT_TRUE(CProfileRecord::FromBytes(std::span(b).first(1536), false, r));
    EXPECT_TRUE(r.values.empty());
    EXPECT_EQ(r.numdep, 2);
}

TEST(ProfileRecordChecks, NegativeCountsAreRefused) {
    for (size_t offset : {size_t(1164), size_t(1168), size_t(1172)}) {
        std::vector<std::byte> b = SampleRecord().ToBytes();
        PutInt32(b, offset, -1);
        CProfileRecord r;
        EXPECT_FALSE(CProfileRecord::FromBytes(b, true, r)) << offset;
        EXPECT_FALSE(CProfileRecord::FromBytes(b, false, r)) << offset;
    }
}

TEST(ProfileRecordChecks, MoreThanTenDependentVariablesAreRefused) {
    std::vector<std::byte> b = SampleRecord().ToBytes();
    PutInt32(b, 1172, 11);
    b.resize(1536 + 12 * 3 * 8);
    CProfileRecord r;
    EXPECT_FALSE(CProfileRecord::FromBytes(b, true, r));
    PutInt32(b, 1172, 10);
    EXPECT_TRUE(CProfileRecord::FromBytes(b, true, r));
}

TEST(ProfileRecordChecks, MoreXVariablesThanAPlotCanNameAreRefused) {
    std::vector<std::byte> b = SampleRecord().ToBytes();
    PutInt32(b, 1164, 0); // no points: no values to check the length against
    PutInt32(b, 1168, 1120480);
    CProfileRecord r;
    EXPECT_FALSE(CProfileRecord::FromBytes(b, true, r));
    PutInt32(b, 1168, 32767);
    EXPECT_TRUE(CProfileRecord::FromBytes(b, true, r));
}

TEST(ProfileRecordChecks, CountsWhoseProductOverflowsAreRefused) {
    std::vector<std::byte> b = SampleRecord().ToBytes();
    PutInt32(b, 1164, 0x7FFFFFFF);
    PutInt32(b, 1168, 0x7FFFFFFF);
    CProfileRecord r;
    EXPECT_FALSE(CProfileRecord::FromBytes(b, true, r));
}

TEST(ProfileRecordChecks, ValuesOutsideTheStoredOnesReadAsZero) {
    CProfileRecord r = SampleRecord();
    r.values.resize(2);
    EXPECT_EQ(r.Value(1), 2.0);
    EXPECT_EQ(r.Value(5), 0.0);
    EXPECT_EQ(r.Value(-1), 0.0);
    const std::vector<std::byte> b = r.ToBytes();
    EXPECT_EQ(b.size(), 1536u + 9 * 8); // the area still has all its values
    EXPECT_EQ(DoubleAt(b, 1536 + 8 * 8), 0.0);
}
