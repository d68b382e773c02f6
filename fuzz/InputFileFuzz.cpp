// Input files and profile records: the keyword reader on any text, loading and painting what
// it built, and the record reader on any bytes. A refused file is an automation error.
#include "FuzzControl.h"
#include "control/ProfileBlock.h"
#include "model/InputFile.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// Plots beyond this many values are valid but slow to build; the readers still see them.
constexpr std::int64_t kLoadLimit = 1 << 18;

bool Loadable(const CProfileRecord& r) {
    return r.CountsValid() && r.ValueCount() <= kLoadLimit && r.numpoints <= kLoadLimit;
}

const std::string& ScratchPath() {
    static const std::string path = "/tmp/trendix-fuzz-" + std::to_string(getpid()) + ".plx";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CInputFile file;
    file.ReadText(text);
    if (Loadable(file.record)) {
        std::ofstream(ScratchPath(), std::ios::binary) << text;
        FuzzControl f;
        try {
            f.control.SetInputFile(ScratchPath());
        } catch (const com::DispatchError&) {
        }
        f.control.GetSettings();
        f.Paint();
    }
    for (const bool withValues : {true, false}) {
        CProfileRecord record;
        const auto* bytes = reinterpret_cast<const std::byte*>(data);
        if (!CProfileRecord::FromBytes({bytes, size}, withValues, record)) continue;
        if (!Loadable(record)) continue;
        FuzzControl f;
        const CProfileBlock block(data, size);
        try {
            f.control.SetPlotVals(const_cast<CProfileBlock*>(&block));
        } catch (const com::DispatchError&) {
            continue;
        }
        f.Paint();
    }
    return 0;
}
