#pragma once
#include "model/ProfileRecord.h"

#include <cstdint>
#include <string>
#include <string_view>

// The keyword input file of a profile or time plot ("K5 plot file", *.plx): lines of a
// keyword, a colon and a value, and after "values" lines of blank-separated numbers. Reading
// builds a profile record and the plot-kind flags the file asks for; loading them into a plot
// is the control's and the model's work.
class CInputFile {
public:
    static constexpr size_t kLineLength = 199; // a longer line continues as the next line

    // Plot-kind flags set by the keywords of the same name.
    struct Kinds {
        int runPlot = 0, flipped = 0, parametric = 0, triangular = 0, barGraph = 0;
        int square = 0, diagonal = 0, zeroLine = 0;
    };

    // The most bytes an input file may have; reading stops there (an endless stream included).
    static constexpr std::uint64_t kMaxFileBytes = std::uint64_t(256) << 20;

    enum class ReadStatus {
        Read,       // the whole file was read
        Unreadable, // it cannot be opened or read (a folder, a read error)
        TooLarge,   // it goes on beyond kMaxFileBytes
    };
    // Reads the file as a stream, a block at a time, so that memory follows the values it
    // holds rather than its length; never throws but std::bad_alloc.
    ReadStatus Read(const std::string& path);
    // Reads the text of a whole file.
    void ReadText(std::string_view text);

    CProfileRecord record;
    Kinds kinds;

private:
    // Reads the whole lines at the start of text (all of it when last) and returns how many
    // characters they took.
    size_t ReadLines(std::string_view text, bool last);
    void ReadLine(std::string_view line);
    void ReadKeyword(std::string_view keyword, std::string_view value);
    void ReadValues(std::string_view line);
    void CreateValueArea();

    int depVarNo_ = 0;    // "depvarno": the dependent variable the per-variable keywords set
    int depLegCount_ = 0; // "depleg" lines seen so far
    std::int64_t valueCapacity_ = 0; // values the area holds; later numbers are dropped
    std::uint64_t textBytes_ = 0;    // length of the text being read, 0 when not known
};
