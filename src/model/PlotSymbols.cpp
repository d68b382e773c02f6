#include "model/PlotSymbols.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::tm CPlotSymbols::LocalNow() {
    const std::time_t t = std::time(nullptr);
    std::tm when{};
    localtime_r(&t, &when);
    return when;
}

CPlotSymbols::Expanded CPlotSymbols::Expand(std::vector<CPlotSymbol>& symbols,
                                            const std::string& text, const locale::Locale& locale,
                                            const Clock& now) {
    Expanded out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        // 1-2. The next "&[" and the "]" after it; without either the rest stays as it is.
        const std::size_t open = text.find("&[", pos);
        const std::size_t close = open == std::string::npos ? open : text.find(']', open + 2);
        if (close == std::string::npos) {
            out.text.append(text, pos, std::string::npos);
            break;
        }
        // 3. The part before the symbol.
        out.text.append(text, pos, open - pos);
        const std::string name = text.substr(open + 2, close - open - 2);
        // 4. A known symbol: its value, DATE and TIME taken once.
        auto found = std::find_if(symbols.begin(), symbols.end(),
                                  [&](const CPlotSymbol& s) { return SameName(s.name, name); });
        if (found == symbols.end()) {
            // 5. Unknown: "&[" kept, the scan goes on right after it.
            out.text.append(text, open, 2);
            pos = open + 2;
            continue;
        }
        if (SameName(found->name, "DATE") || SameName(found->name, "TIME")) {
            const bool date = SameName(found->name, "DATE");
            if (found->value.empty())
                found->value = date ? locale.FormatDate(now()) : locale.FormatTime(now());
            out.usesDateTime = true;
        }
        out.text += found->value;
        pos = close + 1;
    }
    return out;
}

std::string CPlotSymbols::LabelText(std::vector<CPlotSymbol>& symbols, const std::string& text,
                                    const std::string& marker, const std::string& value,
                                    const locale::Locale& locale, const Clock& now) {
    std::string out = Expand(symbols, text, locale, now).text;
    if (!marker.empty()) {
        const std::size_t at = out.find("$" + marker);
        if (at != std::string::npos) out.replace(at, marker.size() + 1, value);
        return out;
    }
    std::string joined;
    joined.reserve(out.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        const bool breakMark = out[i] == '\\' && i + 1 < out.size() && out[i + 1] == 'n';
        joined.push_back(breakMark ? ' ' : out[i]);
        if (breakMark) ++i;
    }
    return joined;
}

void CPlotSymbols::ResetDateTime(std::vector<CPlotSymbol>& symbols) {
    for (CPlotSymbol& s : symbols)
        if (SameName(s.name, "DATE") || SameName(s.name, "TIME")) s.value.clear();
}
