#pragma once
#include "platform/ui/Printer.h"

#include <memory>
#include <string>

class QPrinter;
class QWidget;
class QtDeviceContext;

// The application's printer on Qt: a QPrinter, or with no printer installed a PDF file. The
// print dialog (QPrintDialog, or QPageSetupDialog for setup only) is shown over the window it
// was given; without one the settings are taken as they are.
class QtPrinter : public ui::IPrinter {
public:
    static constexpr int kDotsPerInch = 300;
    // Where a PDF goes when neither the dialog nor the host named a file.
    static constexpr char kDefaultPdfName[] = "Trendix.pdf";

    explicit QtPrinter(QWidget* dialogParent = nullptr);
    ~QtPrinter() override;
    QtPrinter(const QtPrinter&) = delete;
    QtPrinter& operator=(const QtPrinter&) = delete;

    // Prints to the PDF file path from now on, whatever printers are installed.
    void SetPdfOutput(const std::string& path);
    bool PrintsToPdf() const;
    // Documents ended since the printer was made.
    int DocumentsPrinted() const { return documentsPrinted_; }

    ui::PrinterSettings Settings() const override;
    void SetSettings(const ui::PrinterSettings& settings) override;
    gdi::Size PrintableSize() const override;
    int DotsPerInch() const override;
    bool PrintDialog(bool setupOnly, ui::PrinterSettings& settings) override;
    bool StartDocument(const std::string& documentName, const std::string& outputFile) override;
    bool StartPage() override;
    gdi::IDeviceContext& PageDevice() override;
    void EndPage() override {}
    void EndDocument() override;
    void AbortDocument() override;

private:
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QtDeviceContext> device_;
    QWidget* dialogParent_;
    int pagesStarted_ = 0;
    int documentsPrinted_ = 0;
};
