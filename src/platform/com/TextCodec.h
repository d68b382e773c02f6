#pragma once
#include <string>
#include <string_view>

namespace com {

// Text crosses the automation boundary as UTF-16 and is held inside as narrow UTF-8.
// Malformed input never throws: invalid sequences become U+FFFD.
std::string ToNarrow(std::u16string_view wide);
std::u16string ToWide(std::string_view narrow);

} // namespace com
