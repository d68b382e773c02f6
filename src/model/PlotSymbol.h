#pragma once
#include <string>

// A named text that label and annotation texts may refer to as "&[NAME]".
struct CPlotSymbol {
    std::string name;
    std::string value;
};
