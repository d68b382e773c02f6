#include "model/InputFile.h"

#include "model/NumberText.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

// The value area fills as numbers arrive, so memory follows the file, not what its counts
// claim; this much is reserved up front.
constexpr std::int64_t kInitialReserve = 1 << 20;
// Files are read in blocks of this many bytes.
constexpr size_t kReadBlock = 1 << 16;

void SetText(std::string& field, std::string_view value, size_t width) {
    field = CProfileRecord::FitField(value, width);
}

} // namespace

CInputFile::ReadStatus CInputFile::Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return ReadStatus::Unreadable;
    // The length the file has now, if it has one, bounds how many numbers it can hold.
    std::error_code error;
    const std::uintmax_t length = std::filesystem::file_size(path, error);
    textBytes_ = error ? 0 : std::min<std::uint64_t>(length, kMaxFileBytes);
    // The stream reports a read error (a folder, a device that fails) through its state.
    std::string pending;
    std::vector<char> block(kReadBlock);
    std::uint64_t total = 0;
    for (;;) {
        in.read(block.data(), std::streamsize(block.size()));
        const auto got = size_t(in.gcount());
        if (in.bad()) return ReadStatus::Unreadable;
        total += got;
        if (total > kMaxFileBytes) return ReadStatus::TooLarge;
        pending.append(block.data(), got);
        const bool last = got < block.size();
        pending.erase(0, ReadLines(pending, last));
        if (last) return ReadStatus::Read;
    }
}

void CInputFile::ReadText(std::string_view text) {
    textBytes_ = text.size();
    ReadLines(text, true);
}

// Lines of at most kLineLength characters, each cut at its line feed; a carriage return
// before the line feed is dropped, as reading the file in text mode on its home system does.
// A line that is neither cut nor ended waits for more text unless this is the last of it.
size_t CInputFile::ReadLines(std::string_view text, bool last) {
    size_t pos = 0;
    while (pos < text.size()) {
        std::string_view chunk = text.substr(pos, kLineLength);
        const size_t lf = chunk.find('\n');
        if (lf != std::string_view::npos)
            chunk = chunk.substr(0, lf + 1);
        else if (!last && chunk.size() < kLineLength)
            break;
        pos += chunk.size();
        std::string_view line = chunk.substr(0, chunk.find('\n'));
        if (!line.empty() && line.back() == '\r' && lf != std::string_view::npos)
            line.remove_suffix(1);
        ReadLine(line);
    }
    return pos;
}

void CInputFile::ReadLine(std::string_view line) {
    line = line.substr(0, line.find('\0')); // the line ends at a NUL, as a C string does
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        ReadValues(line);
        return;
    }
    ReadKeyword(line.substr(0, colon), line.substr(colon + 1));
}

void CInputFile::ReadValues(std::string_view line) {
    if (!record.hasValues) return;
    size_t pos = 0;
    while (std::int64_t(record.values.size()) < valueCapacity_) {
        while (pos < line.size() && CNumberText::IsBlank(line[pos]))
            ++pos;
        if (pos >= line.size()) return;
        // atof of each blank-separated word: its longest leading number, 0 when none. The
        // number ends before any blank, so it is read in place and the rest of the word skipped.
        double value = 0;
        pos += CNumberText::DoubleLength(line.substr(pos), value);
        record.values.push_back(value);
        while (pos < line.size() && !CNumberText::IsBlank(line[pos]))
            ++pos;
    }
}

void CInputFile::CreateValueArea() {
    record.hasValues = true;
    record.values.clear();
    // A run plot's record has no values; counts that cannot be met leave the area empty.
    valueCapacity_ = kinds.runPlot ? 0 : std::max<std::int64_t>(record.ValueCount(), 0);
    // Every number takes at least two characters with the blank after it: a text of known
    // length has room for no more, and the area is reserved once for what it can hold.
    const std::int64_t fits = std::int64_t(textBytes_ / 2 + 1);
    const std::int64_t reserve = textBytes_ ? std::max(fits, kInitialReserve) : kInitialReserve;
    record.values.reserve(size_t(std::min(valueCapacity_, reserve)));
}

void CInputFile::ReadKeyword(std::string_view key, std::string_view value) {
    CProfileRecord& r = record;
    const bool depValid = depVarNo_ >= 0 && depVarNo_ < CProfileRecord::kMaxDep;
    const size_t e = size_t(depVarNo_);
    if (key == "multi-y")
        r.multiy = 1;
    else if (key == "runplot")
        kinds.runPlot = 1;
    else if (key == "flipped")
        kinds.flipped = 1;
    else if (key == "parametric")
        kinds.parametric = 1;
    else if (key == "triangular")
        kinds.triangular = 1;
    else if (key == "bargraph")
        kinds.barGraph = 1;
    else if (key == "square")
        kinds.square = 1;
    else if (key == "diagonal")
        kinds.diagonal = 1;
    else if (key == "zeroline")
        kinds.zeroLine = 1;
    else if (key == "depvarno") {
        const int n = CNumberText::ToInt(value);
        if (n >= 0 && n < CProfileRecord::kMaxDep) depVarNo_ = n;
    } else if (key == "numpoints")
        r.numpoints = CNumberText::ToInt(value);
    else if (key == "numindep")
        r.numindep = CNumberText::ToInt(value);
    else if (key == "numdep")
        r.numdep = CNumberText::ToInt(value);
    else if (key == "indepscale")
        r.indepscale = CNumberText::ToInt(value);
    else if (key == "indepint")
        r.indepint = CNumberText::ToInt(value);
    else if (key == "depscale") {
        if (depValid) r.depscale[e] = CNumberText::ToInt(value);
    } else if (key == "depint") {
        if (depValid) r.depint[e] = CNumberText::ToInt(value);
    } else if (key == "indeplow")
        r.indeplow = CNumberText::ToDouble(value);
    else if (key == "indephigh")
        r.indephigh = CNumberText::ToDouble(value);
    else if (key == "deplow") {
        if (depValid) r.deplow[e] = CNumberText::ToDouble(value);
    } else if (key == "dephigh") {
        if (depValid) r.dephigh[e] = CNumberText::ToDouble(value);
    } else if (key == "title")
        SetText(r.title, value, CProfileRecord::kTitleWidth);
    else if (key == "indeplab")
        SetText(r.indeplab, value, CProfileRecord::kIndepLabWidth);
    else if (key == "deplab") {
        if (depValid) SetText(r.deplab[e], value, CProfileRecord::kDepLabWidth);
    } else if (key == "depleg") {
        if (depLegCount_ < CProfileRecord::kMaxDep)
            SetText(r.depleg[size_t(depLegCount_++)], value, CProfileRecord::kDepLegWidth);
    } else if (key == "values")
        CreateValueArea();
    // "tieline" and every other keyword: no effect.
}
