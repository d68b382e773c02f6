#pragma once
#include "model/PlotSymbol.h"
#include "platform/locale/Locale.h"

#include <ctime>
#include <functional>
#include <string>
#include <vector>

// Expansion of the symbols "&[NAME]" in the texts a plot shows, and the label text rule that
// follows it (the substitution string, or "\n" shown as a blank).
class CPlotSymbols {
public:
    // The current moment, asked for only when DATE or TIME is first expanded.
    using Clock = std::function<std::tm()>;
    static std::tm LocalNow();

    struct Expanded {
        std::string text;
        bool usesDateTime = false; // the text shows DATE or TIME
    };
    // Replaces every known "&[NAME]"; DATE and TIME take the moment once and keep it.
    static Expanded Expand(std::vector<CPlotSymbol>& symbols, const std::string& text,
                           const locale::Locale& locale, const Clock& now = LocalNow);
    // Expansion, then the first "$" + marker replaced by value when the marker is set, else
    // every backslash-n shown as one blank.
    static std::string LabelText(std::vector<CPlotSymbol>& symbols, const std::string& text,
                                 const std::string& marker, const std::string& value,
                                 const locale::Locale& locale, const Clock& now = LocalNow);
    // Empties DATE and TIME so that the next expansion takes the moment anew.
    static void ResetDateTime(std::vector<CPlotSymbol>& symbols);
    // The list a new plot starts with.
    static std::vector<CPlotSymbol> Initial() { return {{"DATE", ""}, {"TIME", ""}}; }
};
