#include "control/PlotDropTarget.h"

#include "render/PlotRegion.h"

#include <algorithm>

namespace {

bool Offers(const std::vector<std::string>& offered, const char* format) {
    return std::find(offered.begin(), offered.end(), format) != offered.end();
}

bool IsContinuation(std::uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

// The bytes a UTF-8 lead byte announces, 1 for any other byte.
std::size_t AnnouncedLength(std::uint8_t lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

// The length of the character at pos: its lead byte and the continuation bytes it announces
// that follow it.
std::size_t CharacterLength(std::span<const std::uint8_t> data, std::size_t pos) {
    const std::size_t announced = AnnouncedLength(data[pos]);
    std::size_t n = 1;
    while (n < announced && pos + n < data.size() && IsContinuation(data[pos + n]))
        ++n;
    return n;
}

} // namespace

CPlotDropTarget::Take CPlotDropTarget::Choose(const std::vector<std::string>& offered,
                                              bool variableDrop) {
    if (Offers(offered, kVariablePathFormat))
        return variableDrop ? Take::VariablePath : Take::Nothing;
    return Offers(offered, kTextFormat) ? Take::Text : Take::Nothing;
}

std::string CPlotDropTarget::DroppedText(std::span<const std::uint8_t> data) {
    // The text as read: up to the limit, or to a NUL or Ctrl+Z.
    std::size_t end = 0;
    for (std::size_t characters = 0; end < data.size() && characters < kMaxTextLength;
         ++characters) {
        if (data[end] == std::uint8_t(kEndOfText) || data[end] == std::uint8_t(kCtrlZ)) break;
        end += CharacterLength(data, end);
    }
    // Line ends become blanks.
    std::string text;
    text.reserve(end);
    for (std::size_t i = 0; i < end; ++i) {
        const char c = char(data[i]);
        if (c == '\r' && i + 1 < end && data[i + 1] == '\n') continue;
        text += c == '\n' ? ' ' : c;
    }
    return text;
}

std::string CPlotDropTarget::VariablePath(std::span<const std::uint8_t> data) {
    const auto end = std::find(data.begin(), data.end(), std::uint8_t(kEndOfText));
    return std::string(data.begin(), end);
}

bool CPlotDropTarget::SetsPhaseVariable(int regionKind, bool runOrPhasePlot) {
    return runOrPhasePlot &&
           (regionKind == CPlotRegion::XAxis || regionKind == CPlotRegion::XLabel);
}
