#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What the control does with data dragged over it and dropped on it, on plain bytes and the
// list of format names the data offers: whether it is accepted, which format is taken, the
// text taken from it and the event a dropped variable path fires. The control applies the
// answers (TrendixDrop.cpp); a window site only maps its drag events to it.
class CPlotDropTarget {
public:
    // A host variable path: narrow text, ended by a NUL or by the data.
    static constexpr char kVariablePathFormat[] = "Orbis Variable Path Format";
    // Plain narrow text.
    static constexpr char kTextFormat[] = "Text";
    // A plain-text drop keeps at most this many characters.
    static constexpr std::size_t kMaxTextLength = 159;
    // The characters that end a dropped text.
    static constexpr char kEndOfText = '\0', kCtrlZ = 26;

    // The drop effect offered to the source.
    enum Effect { EffectNone = 0, EffectCopy = 1 };
    // What a drop takes from the data.
    enum class Take { Nothing, VariablePath, Text };

    // A variable path is taken exactly while variableDrop is on, whatever else is offered
    // (and with it off, data offering one is refused even when it offers text too); data
    // without one is taken as text when it offers text.
    static Take Choose(const std::vector<std::string>& offered, bool variableDrop);
    static Effect EffectOf(Take take) { return take == Take::Nothing ? EffectNone : EffectCopy; }

    // The dropped text: at most kMaxTextLength characters, ended early by a NUL or Ctrl+Z;
    // every line feed becomes a blank and a carriage return before one is dropped. A character
    // is one UTF-8 sequence (at most four bytes); a byte that starts none counts as one.
    static std::string DroppedText(std::span<const std::uint8_t> data);
    // The variable path: the text up to the first NUL.
    static std::string VariablePath(std::span<const std::uint8_t> data);

    // A variable path dropped on a region of this kind (-1 for none) in a run or phase plot
    // sets the phase variable: on the X axis or the X axis label.
    static bool SetsPhaseVariable(int regionKind, bool runOrPhasePlot);
};
