#pragma once
#include "model/ProfileRecord.h"

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

    // Reads the file; false when it cannot be opened (nothing is read then).
    bool Read(const std::string& path);
    // Reads the text of a whole file.
    void ReadText(std::string_view text);

    CProfileRecord record;
    Kinds kinds;

private:
    void ReadLine(std::string_view line);
    void ReadKeyword(std::string_view keyword, std::string_view value);
    void ReadValues(std::string_view line);
    void CreateValueArea();

    int depVarNo_ = 0;    // "depvarno": the dependent variable the per-variable keywords set
    int depLegCount_ = 0; // "depleg" lines seen so far
    std::int64_t valueCapacity_ = 0; // values the area holds; later numbers are dropped
};
