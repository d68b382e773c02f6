#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A profile record: the binary block that describes a profile or time plot and its numbers,
// as a host hands it over in memory (PlotVals) and as the input-file reader builds it.
//
// Layout, little-endian, 32-bit ints and 64-bit floats, texts NUL-terminated in fixed fields:
//      0  36        reserved (zero)         1180  10 x 4  depscale[10]
//     36  66        title                   1220  4       indepint
//    102  42        indeplab                1224  10 x 4  depint[10]
//    144  10 x 42   deplab[10]              1264  88      reserved (zero)
//    564  10 x 60   depleg[10]              1352  4       multiy
//   1164  4         numpoints               1356  4       reserved (zero)
//   1168  4         numindep                1360  8       indeplow
//   1172  4         numdep                  1368  8       indephigh
//   1176  4         indepscale              1376  10 x 8  deplow[10]
//                                           1456  10 x 8  dephigh[10]
//   1536  n x 8     values: the numindep X variables, then the numdep Y variables, each
//                   numpoints values; n = (numindep + numdep) x numpoints. A record for a run
//                   plot has no value area.
class CProfileRecord {
public:
    static constexpr int kMaxDep = 10;
    static constexpr size_t kTitleOffset = 36, kTitleWidth = 66;
    static constexpr size_t kIndepLabOffset = 102, kIndepLabWidth = 42;
    static constexpr size_t kDepLabOffset = 144, kDepLabWidth = 42;
    static constexpr size_t kDepLegOffset = 564, kDepLegWidth = 60;
    static constexpr size_t kNumPointsOffset = 1164, kNumIndepOffset = 1168, kNumDepOffset = 1172;
    static constexpr size_t kIndepScaleOffset = 1176, kDepScaleOffset = 1180;
    static constexpr size_t kIndepIntOffset = 1220, kDepIntOffset = 1224;
    static constexpr size_t kMultiYOffset = 1352;
    static constexpr size_t kIndepLowOffset = 1360, kIndepHighOffset = 1368;
    static constexpr size_t kDepLowOffset = 1376, kDepHighOffset = 1456;
    static constexpr size_t kHeaderSize = 1536;
    // Most values a record may carry (128 MB of doubles): more is refused, not allocated.
    static constexpr std::int64_t kMaxValues = std::int64_t(1) << 24;
    // Most X variables: as many as the nxvariables property can name.
    static constexpr std::int32_t kMaxIndep = 32767;

    std::string title, indeplab;
    std::array<std::string, kMaxDep> deplab, depleg;
    std::int32_t numpoints = 0, numindep = 0, numdep = 0;
    std::int32_t indepscale = 0, indepint = 0, multiy = 0;
    std::array<std::int32_t, kMaxDep> depscale{}, depint{};
    double indeplow = 0, indephigh = 0;
    std::array<double, kMaxDep> deplow{}, dephigh{};

    // The value area: absent until created; when present it holds ValueCount() values of
    // which the first values.size() were stored, the rest reading as 0.
    bool hasValues = false;
    std::vector<double> values;

    // (numindep + numdep) x numpoints, or -1 when a count is negative or the product is
    // beyond kMaxValues.
    std::int64_t ValueCount() const;
    // Counts that a plot can be built from: none negative, at most ten dependent variables,
    // at most kMaxIndep independent ones and at most kMaxValues values.
    bool CountsValid() const;
    double Value(std::int64_t index) const; // 0 outside the stored values

    // The record as bytes; the value area follows the header when hasValues.
    std::vector<std::byte> ToBytes() const;
    // Reads a record from bytes. withValues: the record carries its value area (not so in run
    // mode). A block shorter than its counts require, with negative counts or more than ten
    // dependent variables is refused as a whole (false); nothing is read outside the block.
    static bool FromBytes(std::span<const std::byte> bytes, bool withValues, CProfileRecord& out);
    // Cuts a text to what its field holds: up to the first NUL, at most width - 1 characters.
    static std::string FitField(std::string_view text, size_t width);
};
