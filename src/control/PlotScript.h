#pragma once
#include "platform/com/IDispatch.h"

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

// A plot script (*.ply): lines of a key, a colon and a value, each replayed as an automation
// call on a control's own dispatch interface, exactly as a host would make it. Keys ignore
// case; unknown keys and lines without a colon or without a value are skipped. An automation
// error ends the script at its line and is passed on to the caller.
class CPlotScript {
public:
    static constexpr size_t kLineLength = 240; // a longer line continues as the next line
    // What one script may hold; reading stops with an error beyond either (an endless
    // stream included), after the lines before it have run.
    static constexpr size_t kMaxLines = 100000;
    static constexpr size_t kMaxBytes = size_t(8) << 20;

    explicit CPlotScript(com::IDispatch& control) : control_(control) {}

    bool Run(const std::string& path); // false when the file cannot be opened or read
    // Runs the lines of in; false when reading failed part way (what ran stays).
    bool Run(std::istream& in);
    void RunLine(std::string_view line);

    // The ID the last "newline", "newpolygon" or "newtext" returned (0 before any).
    std::int16_t lastObject() const { return lastObject_; }

private:
    // The value's arguments, read one after another.
    class Arguments {
    public:
        explicit Arguments(std::string_view text) : text_(text) {}
        double Number();
        std::string Text();

    private:
        std::string_view text_;
        size_t pos_ = 0;
    };

    void Call(std::string_view member, com::InvokeKind kind,
              std::initializer_list<com::Variant> args);
    void Put(std::string_view property, com::Variant value);
    com::Variant Method(std::string_view member, std::initializer_list<com::Variant> args);

    com::IDispatch& control_;
    std::int16_t lastObject_ = 0;
};
