// Settings text: any block is applied without a crash, and the plot it leaves can be written
// and painted.
#include "FuzzControl.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzControl f;
    f.control.SetSettings(std::string(reinterpret_cast<const char*>(data), size));
    f.Paint();
    const std::string text = f.control.GetSettings();
    FuzzControl again;
    again.control.SetSettings(text);
    again.Paint();
    return 0;
}
