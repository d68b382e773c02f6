#pragma once
#include "platform/gdi/GdiTypes.h"

#include <string>

namespace gdi {
class IDeviceContext;
}

namespace ui {

enum class Orientation { Portrait, Landscape };

// What a print job is set up with: the printer chosen, its paper orientation and whether the
// output goes to a file instead of the device.
struct PrinterSettings {
    std::string printerName;
    // Some printer modes do not declare an orientation; theirs is then left alone.
    bool declaresOrientation = true;
    Orientation orientation = Orientation::Portrait;
    bool printToFile = false;
    bool operator==(const PrinterSettings&) const = default;
};

// The printing services of the application: its current printer settings, the print dialog
// and one print job at a time on the printer's device context. The host owns it; a host
// without printing offers none (IWindowSite::Printer answers null).
class IPrinter {
public:
    virtual ~IPrinter() = default;
    // The application's printer settings: the last ones made current, or the system default.
    virtual PrinterSettings Settings() const = 0;
    // The settings become the application's printer.
    virtual void SetSettings(const PrinterSettings& settings) = 0;
    // The printable area of the current settings in device units, and the device's
    // resolution in units per inch.
    virtual gdi::Size PrintableSize() const = 0;
    virtual int DotsPerInch() const = 0;
    // The print dialog (setup only: the printer and its paper, no print range), initialised
    // with settings; true when confirmed, with settings as chosen.
    virtual bool PrintDialog(bool setupOnly, PrinterSettings& settings) = 0;
    // A print job named documentName, sent to outputFile when that is not empty. StartDocument
    // answers false when the job cannot start; StartPage false when the page cannot.
    virtual bool StartDocument(const std::string& documentName, const std::string& outputFile) = 0;
    virtual bool StartPage() = 0;
    // The device of the page started; valid until EndPage.
    virtual gdi::IDeviceContext& PageDevice() = 0;
    virtual void EndPage() = 0;
    virtual void EndDocument() = 0;
    virtual void AbortDocument() = 0;
};

} // namespace ui
