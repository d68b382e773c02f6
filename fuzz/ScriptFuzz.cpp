// Scripts: any lines are replayed through the dispatch interface; automation errors are the
// expected way a line fails.
#include "FuzzControl.h"
#include "control/PlotScript.h"
#include "model/NumberText.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Sizes a host may ask for but that make one run take seconds: such lines are left out.
bool Oversized(const std::string& line) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) return false;
    std::string key = line.substr(0, colon);
    for (char& c : key)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    if (key != "npoints" && key != "nvariables" && key != "buffersize") return false;
    const double n = CNumberText::ToDouble(line.substr(colon + 1));
    return !(n < 2000);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzControl f;
    CPlotScript script(f.control);
    const std::string text(reinterpret_cast<const char*>(data), size);
    // Lines cut as the script reader cuts them.
    size_t pos = 0;
    try {
        while (pos < text.size()) {
            size_t end = text.find('\n', pos);
            end = std::min(end == std::string::npos ? text.size() : end,
                           pos + CPlotScript::kLineLength);
            const std::string line = text.substr(pos, end - pos);
            pos = end < text.size() && text[end] == '\n' ? end + 1 : end;
            if (!Oversized(line)) script.RunLine(line);
        }
    } catch (const com::DispatchError&) {
        // A scripted call the control refused ends the script.
    }
    f.control.GetSettings();
    f.Paint();
    return 0;
}
