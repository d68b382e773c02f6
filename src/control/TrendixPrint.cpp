// Printing: printer preparation, print preview and its page, Print2 and the page layout.
#include "control/PrintPage.h"
#include "control/TrendixCtrl.h"
#include "pages/PlotLayoutPropSheet.h"

namespace {

constexpr char kDocumentName[] = "Trendix";
constexpr char kPrintFileFilter[] = "Print file (*.prn)|*.prn";
constexpr char kCouldNotStartPage[] = "Could not start page";

// Resets a flag to its value before, whatever way the scope ends.
class FlagScope {
public:
    FlagScope(bool& flag, bool value) : flag_(flag), before_(flag) { flag_ = value; }
    ~FlagScope() { flag_ = before_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool before_;
};

} // namespace

// Until the printer is first set up, its paper is turned to landscape.
ui::PrinterSettings CTrendixCtrl::PreparedSettings(const ui::IPrinter& printer) const {
    ui::PrinterSettings settings = printer.Settings();
    if (!printerSetUp_ && settings.declaresOrientation)
        settings.orientation = ui::Orientation::Landscape;
    return settings;
}

void CTrendixCtrl::ComputePageRect() {
    ui::IPrinter* printer = site_.Printer();
    if (!printer) {
        // Without a printer the page has no proportions of its own: the whole control.
        pageRect_ = {0, 0, extentWidth_, extentHeight_};
        return;
    }
    // The prepared settings become the application's printer at once.
    if (!printerSetUp_) {
        printer->SetSettings(PreparedSettings(*printer));
        printerSetUp_ = true;
    }
    pageRect_ = PrintPage::PreviewRect(extentWidth_, extentHeight_, printer->PrintableSize());
}

void CTrendixCtrl::PrintPreview(bool on) {
    printPreview_ = on;
    if (on) {
        ComputePageRect();
        // A printed page shows the moment it was made.
        CPlotLook& m = EnsureModel();
        m.ResetDateTime();
        m.layoutDirty = 1;
    }
    Repaint();
}

void CTrendixCtrl::Print2(bool setupOnly) {
    // A host without printing has nothing to print on: nothing happens.
    ui::IPrinter* printer = site_.Printer();
    if (!printer) return;
    ui::PrinterSettings settings = PreparedSettings(*printer);
    if (!printer->PrintDialog(setupOnly, settings)) return;
    printerSetUp_ = true;
    printer->SetSettings(settings);
    if (printPreview_) {
        ComputePageRect();
        Repaint();
    }
    if (setupOnly) return;
    std::string outputFile;
    if (settings.printToFile) {
        outputFile = site_.SaveFileDialog(kPrintFileFilter);
        if (outputFile.empty()) return;
    }
    // A document that cannot start prints nothing, silently.
    if (!printer->StartDocument(kDocumentName, outputFile)) return;
    if (!printer->StartPage()) {
        site_.MessageBox(kCouldNotStartPage, kDocumentName, ui::OkOnly);
        printer->AbortDocument();
        return;
    }
    PrintPage(*printer);
    printer->EndPage();
    printer->EndDocument();
}

void CTrendixCtrl::PrintPage(ui::IPrinter& printer) {
    if (extentWidth_ == 0 && extentHeight_ == 0) return;
    CPlotLook& m = EnsureModel();
    m.ResetDateTime();
    m.layoutDirty = 1;
    // Preview is off while the page is drawn; the draw is a scaled one in print mode, and the
    // on-screen repaint that follows a scaled draw is not asked for.
    const FlagScope preview(printPreview_, false);
    const FlagScope page(printingPage_, true);
    const FlagScope repaint(scaledRepaintPending_, true);
    const gdi::Size size = printer.PrintableSize();
    const gdi::Rect all{0, 0, size.cx, size.cy};
    OnDraw(printer.PageDevice(), all, all);
}

std::optional<CPageDecoration> CTrendixCtrl::Decoration(const gdi::Rect& target) const {
    if (!pageLayout_ || !(printingPage_ || printPreview_)) return std::nullopt;
    // The font is in points of the page: device units per logical pixel of the printer, and
    // in preview the page's share of the printable width on top.
    float scale = 1;
    if (const ui::IPrinter* printer = site_.Printer()) {
        const gdi::Size printable = printer->PrintableSize();
        if (printable.cx > 0)
            scale = float(target.Width()) / float(printable.cx) * float(printer->DotsPerInch()) /
                    float(gdi::kLogicalDpi);
    }
    return CPageDecoration(*pageLayout_, scale);
}

void CTrendixCtrl::SetPageLayout(const LayoutSetting& setting) {
    pageLayout_ = std::make_unique<LayoutSetting>(setting);
    if (model_) model_->layoutDirty = 1;
    Repaint();
}

void CTrendixCtrl::PageLayout() {
    if (!pageLayout_) pageLayout_ = std::make_unique<LayoutSetting>();
    CPlotLayoutPropSheet sheet(*pageLayout_, site_);
    if (!site_.ShowPropertySheet(CPlotLayoutPropSheet::kCaption, sheet.Pages())) return;
    *pageLayout_ = sheet.Setting();
    if (model_) model_->layoutDirty = 1;
    Repaint();
}
