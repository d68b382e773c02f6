#include "platform/ui/HeadlessPrinter.h"

namespace ui {

void HeadlessPrinter::SetSettings(const PrinterSettings& s) {
    calls.push_back("settings");
    settings = s;
}

gdi::Size HeadlessPrinter::PrintableSize() const {
    if (settings.orientation == Orientation::Landscape) return {kPortraitPage.cy, kPortraitPage.cx};
    return kPortraitPage;
}

bool HeadlessPrinter::PrintDialog(bool setupOnly, PrinterSettings& s) {
    calls.push_back(setupOnly ? "dialog setup" : "dialog print");
    if (!dialogAnswer) return false;
    s.printToFile = choosePrintToFile;
    if (chooseOrientation) s.orientation = *chooseOrientation;
    return true;
}

bool HeadlessPrinter::StartDocument(const std::string& documentName,
                                    const std::string& outputFile) {
    std::string call = "start " + documentName;
    if (!outputFile.empty()) {
        call += ' ';
        call += outputFile;
    }
    calls.push_back(call);
    return !failDocument;
}

bool HeadlessPrinter::StartPage() {
    calls.push_back("page");
    if (failPage) return false;
    const gdi::Size size = PrintableSize();
    page_ = std::make_unique<gdi::RecordingDC>(size.cx, size.cy, gdi::DeviceKind::Printer);
    return true;
}

void HeadlessPrinter::EndPage() {
    calls.push_back("end page");
    if (page_) pages.push_back(page_->Drawing());
    page_.reset();
}

void HeadlessPrinter::EndDocument() {
    calls.push_back("end");
}

void HeadlessPrinter::AbortDocument() {
    calls.push_back("abort");
    page_.reset();
}

} // namespace ui
