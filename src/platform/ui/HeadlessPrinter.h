#pragma once
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/Printer.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

// A printer without paper, for tests and hosts without a printing system: a fixed page
// (portrait kPortraitPage, landscape turned), dialogs answered from scripts, and every page
// recorded as its drawing calls. It can be told to refuse the document or the page.
class HeadlessPrinter : public IPrinter {
public:
    static constexpr gdi::Size kPortraitPage{2550, 3300}; // 8.5 x 11 inches at 300 dots
    static constexpr int kDotsPerInch = 300;

    PrinterSettings Settings() const override { return settings; }
    void SetSettings(const PrinterSettings& s) override;
    gdi::Size PrintableSize() const override;
    int DotsPerInch() const override { return kDotsPerInch; }
    // Records the call; confirms unless dialogAnswer is false, with the choices below.
    bool PrintDialog(bool setupOnly, PrinterSettings& s) override;
    bool StartDocument(const std::string& documentName, const std::string& outputFile) override;
    bool StartPage() override;
    gdi::IDeviceContext& PageDevice() override { return *page_; }
    void EndPage() override;
    void EndDocument() override;
    void AbortDocument() override;

    // What was asked of it, in order: "settings", "dialog setup", "dialog print", "start
    // NAME [FILE]", "page", "end page", "end", "abort".
    std::vector<std::string> calls;
    PrinterSettings settings{"Headless", true, Orientation::Portrait, false};
    bool dialogAnswer = true;
    bool choosePrintToFile = false;               // the user ticks "print to file" in the dialog
    std::optional<Orientation> chooseOrientation; // the user turns the paper
    bool failDocument = false, failPage = false;
    // The drawing calls of each page ended.
    std::vector<std::vector<std::string>> pages;

private:
    std::unique_ptr<gdi::RecordingDC> page_;
};

} // namespace ui
