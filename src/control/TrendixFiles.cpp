// Plot files of the control: input files and scripts named by InputFile, the profile record
// of PlotVals, and the open command of the context menu.
#include "control/PlotScript.h"
#include "control/ProfileBlock.h"
#include "control/TrendixCtrl.h"
#include "model/InputFile.h"
#include "model/MenuTable.h"

namespace {

std::string Trimmed(const std::string& s) {
    const char* blanks = " \t\r\n\v\f";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// A name with ".ply" after its first character is a script.
bool IsScriptName(const std::string& path) {
    const size_t at = path.find(".ply", 1);
    return at != std::string::npos;
}

} // namespace

// The loading steps run after a script whether or not it fails part way: what it did stays,
// the name included. A refused input file changes nothing, so it is not stored and the steps
// do not run for it.
void CTrendixCtrl::LoadFile(const std::string& path) {
    auto finish = [this] {
        EnsureModel().dataDirty = 1;
        Repaint();
        MarkModified();
        plotDefined_ = true;
    };
    if (!IsScriptName(path)) {
        LoadInputFile(path);
        props_.InputFile = path;
        finish();
        return;
    }
    props_.InputFile = path;
    try {
        RunScript(path);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void CTrendixCtrl::RunScript(const std::string& path) {
    CPlotScript(*this).Run(path);
}

// A file that cannot be opened or read leaves the plot as it is, without a message. One that
// is too long, or whose counts cannot describe a plot (negative, more than ten dependent
// variables, more values than a record may hold) or would hold more samples than the budget
// allows, is refused as a whole: an error, and the plot stays as it was.
void CTrendixCtrl::LoadInputFile(const std::string& path) {
    CInputFile file;
    switch (file.Read(path)) {
    case CInputFile::ReadStatus::Unreadable:
        return;
    case CInputFile::ReadStatus::TooLarge:
        throw com::DispatchError::InvalidArg("The input file " + path + " is longer than " +
                                             std::to_string(CInputFile::kMaxFileBytes >> 20) +
                                             " MiB");
    case CInputFile::ReadStatus::Read:
        break;
    }
    if (!file.record.CountsValid())
        throw com::DispatchError::InvalidArg("The counts of the input file " + path +
                                             " cannot describe a plot");
    CPlotLook& m = EnsureModel();
    const CInputFile::Kinds& k = file.kinds;
    CheckSampleBudget(m.ProfileSamples(file.record, k.runPlot != 0));
    m.runPlotActive = k.runPlot;
    m.phasePlotActive = 0;
    m.parametric = k.parametric;
    m.profileMode = 0;
    m.triMode = k.triangular;
    m.barMode = k.barGraph;
    m.flipped = k.flipped;
    m.squarePlot = k.square;
    m.diagonalLine = k.diagonal;
    m.zeroLine = k.zeroLine;
    phasePlot_ = false;
    // The properties follow the kind the file set, so that they describe the plot shown: a
    // file without "runplot" turns RunPlot off, one neither triangular nor a bar graph sets
    // PlotType 0. Left as they were, they would describe a plot that is no longer there: a
    // host reading RunPlot TRUE would feed samples the loaded plot ignores, and the settings
    // text would save a run plot, which applied again turns the loaded X axis into a time axis.
    CopySettingsFromModel();
    props_.RunPlot = k.runPlot != 0;
    props_.PlotType = std::int16_t(m.triMode ? m.triMode + 1 : m.barMode ? 1 : 0);
    if (file.record.multiy) props_.MultiYaxis = true;
    LoadProfileRecord(file.record);
    m.layoutDirty = 1;
}

void CTrendixCtrl::LoadProfileRecord(const CProfileRecord& record) {
    CPlotLook& m = EnsureModel();
    m.LoadProfile(record);
    props_.nvariables = std::int16_t(record.numdep);
    props_.Title = record.title;
    trimmedTitle_ = Trimmed(record.title);
    m.SetTitle(trimmedTitle_);
    props_.xlabel = record.indeplab;
    Repaint();
}

void CTrendixCtrl::SetPlotVals(com::Unknown* record) {
    const auto* block = dynamic_cast<const CProfileBlock*>(record);
    if (!block || (!block->data && block->size))
        throw com::DispatchError::InvalidArg("PlotVals needs a profile record");
    CPlotLook& m = EnsureModel();
    const bool withValues = !m.runPlotActive && !m.phasePlotActive;
    const std::span<const std::byte> bytes(static_cast<const std::byte*>(block->data), block->size);
    CProfileRecord parsed;
    if (!CProfileRecord::FromBytes(bytes, withValues, parsed))
        throw com::DispatchError::InvalidArg("The profile record's counts do not fit its length");
    CheckSampleBudget(m.ProfileSamples(parsed, !withValues));
    LoadProfileRecord(parsed);
    MarkModified();
}

// The open command of the context menu: a refused file is told to the user, as the window
// has no caller to hand the error to.
void CTrendixCtrl::OpenPlotFile() {
    const std::string path = site_.OpenFileDialog("K5 plot file (*.plx)|*.plx");
    if (path.empty()) return;
    try {
        LoadInputFile(path);
    } catch (const com::DispatchError& e) {
        site_.MessageBox(e.description(), "Open", 0);
        return;
    }
    Repaint();
}
