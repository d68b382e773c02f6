#include "qt/QtPrinter.h"

#include "qt/QtDeviceContext.h"

#include <QDir>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

QtPrinter::QtPrinter(QWidget* dialogParent)
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)), dialogParent_(dialogParent) {
    printer_->setResolution(kDotsPerInch);
    // Without a printer installed the page goes to a PDF file.
    if (QPrinterInfo::availablePrinters().isEmpty())
        SetPdfOutput(QDir::current().filePath(kDefaultPdfName).toStdString());
}

QtPrinter::~QtPrinter() = default;

void QtPrinter::SetPdfOutput(const std::string& path) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(QString::fromStdString(path));
}

bool QtPrinter::PrintsToPdf() const {
    return printer_->outputFormat() == QPrinter::PdfFormat;
}

ui::PrinterSettings QtPrinter::Settings() const {
    ui::PrinterSettings s;
    s.printerName = PrintsToPdf() ? "PDF" : printer_->printerName().toStdString();
    s.declaresOrientation = true;
    s.orientation = printer_->pageLayout().orientation() == QPageLayout::Landscape
                        ? ui::Orientation::Landscape
                        : ui::Orientation::Portrait;
    // A file chosen in Qt's dialog belongs to its PDF printer, not to a printer's output.
    s.printToFile = false;
    return s;
}

void QtPrinter::SetSettings(const ui::PrinterSettings& s) {
    printer_->setPageOrientation(s.orientation == ui::Orientation::Landscape
                                     ? QPageLayout::Landscape
                                     : QPageLayout::Portrait);
}

gdi::Size QtPrinter::PrintableSize() const {
    const QRectF page = printer_->pageRect(QPrinter::DevicePixel);
    return {int(page.width()), int(page.height())};
}

int QtPrinter::DotsPerInch() const {
    return printer_->resolution();
}

bool QtPrinter::PrintDialog(bool setupOnly, ui::PrinterSettings& settings) {
    const ui::PrinterSettings before = Settings();
    SetSettings(settings);
    if (!dialogParent_) return true; // no window to show a dialog over: taken as it is
    int answer = QDialog::Rejected;
    if (setupOnly) {
        QPageSetupDialog dialog(printer_.get(), dialogParent_);
        answer = dialog.exec();
    } else {
        QPrintDialog dialog(printer_.get(), dialogParent_);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        answer = dialog.exec();
    }
    if (answer != QDialog::Accepted) {
        SetSettings(before);
        return false;
    }
    settings = Settings();
    return true;
}

bool QtPrinter::StartDocument(const std::string& documentName, const std::string& outputFile) {
    printer_->setDocName(QString::fromStdString(documentName));
    if (!outputFile.empty()) printer_->setOutputFileName(QString::fromStdString(outputFile));
    if (PrintsToPdf() && printer_->outputFileName().isEmpty()) return false;
    // The painter starts the job and its first page; a file that cannot be written stops it.
    device_ = std::make_unique<QtDeviceContext>(*printer_, gdi::DeviceKind::Printer);
    if (!device_->Painter().isActive()) {
        device_.reset();
        return false;
    }
    pagesStarted_ = 0;
    return true;
}

bool QtPrinter::StartPage() {
    if (!device_) return false;
    // The first page came with the document; later ones are asked for.
    if (pagesStarted_++ > 0 && !printer_->newPage()) return false;
    return true;
}

gdi::IDeviceContext& QtPrinter::PageDevice() {
    return *device_;
}

void QtPrinter::EndDocument() {
    if (!device_) return;
    device_->End();
    device_.reset();
    ++documentsPrinted_;
}

void QtPrinter::AbortDocument() {
    printer_->abort();
    device_.reset();
}
