#pragma once
#include <string>

// The text of a legend entry or an axis label, with the substitution value that may replace
// a marker word in it.
struct CPlotLabel {
    std::string text;
    std::string substitution;
};
