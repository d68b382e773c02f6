#pragma once
#include <string>
#include <vector>

// The sizes of the drawing tables the pick lists show as samples, and the entries of the
// line-type and fill pick lists.
namespace PickTables {
inline constexpr int kColourCount = 16;
inline constexpr int kMarkerCount = 12;
inline constexpr int kMaxFontSize = 999;
// Line types 1 to 7 of the drawing tables (stored one lower), then "(no line)", stored as -1.
inline constexpr int kNoLineChoice = 7;
inline constexpr int kNoLine = -1;
// Fill types: solid (0), then the hatches 1 to 10.
inline constexpr int kFillTypes = 11;

inline std::vector<std::string> LineEntries() {
    std::vector<std::string> e;
    for (int i = 1; i <= kNoLineChoice; ++i)
        e.push_back(std::to_string(i));
    e.push_back("(no line)");
    return e;
}

inline std::vector<std::string> FillEntries() {
    std::vector<std::string> e{"Solid"};
    for (int i = 1; i < kFillTypes; ++i)
        e.push_back(std::to_string(i));
    return e;
}

// A line type as its pick list shows it, and back.
inline int LineChoice(int lineType) {
    return lineType < 0 || lineType > kNoLineChoice ? kNoLineChoice : lineType;
}
inline int LineTypeOf(int choice) {
    return choice == kNoLineChoice ? kNoLine : choice;
}
} // namespace PickTables
