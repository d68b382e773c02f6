// The Qt printer without a printer: the control's printed page goes into a PDF file of one
// landscape page, header and footer included.
#include "qt/QtPrinter.h"

#include "QtTestApp.h"
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtRenderer.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct PdfPage {
    double width = 0, height = 0;
};

// The media boxes of the page objects of a PDF as Qt writes it (page dictionaries are not
// compressed).
std::vector<PdfPage> PagesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QString pdf = QString::fromLatin1(file.readAll());
    std::vector<PdfPage> pages;
    static const QRegularExpression page(QStringLiteral(
        R"(/Type\s*/Page\b[^s][\s\S]*?/MediaBox\s*\[\s*([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s*\])"));
    for (auto it = page.globalMatch(pdf); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        pages.push_back({m.captured(3).toDouble() - m.captured(1).toDouble(),
                         m.captured(4).toDouble() - m.captured(2).toDouble()});
    }
    return pages;
}

} // namespace

TEST(PrintPdf, PrintsOneLandscapePageWithTheLayoutsLines) {
    EnsureQtApp();
    ui::HeadlessSite site;
    site.surfaceFactory = QtRenderer::MakeSurface;
    CTrendixCtrl control(site);
    control.OnSize(400, 310);
    site.ResizeSurface(400, 310);
    control.SetTitle("Printed plot");
    LayoutSetting layout;
    layout.header = layout.footer = true;
    layout.headerText = "Reactor R-101";
    layout.footerText = "Page 1";
    layout.footerAlignment = 2;
    control.SetPageLayout(layout);

    QtPrinter printer;
    const QString path = OutputPath("printed.pdf");
    QFile::remove(path);
    printer.SetPdfOutput(path.toStdString());
    site.printer = &printer;
    control.Print2(false);
    EXPECT_EQ(printer.DocumentsPrinted(), 1);
    const std::vector<PdfPage> pages = PagesOf(path);
    ASSERT_EQ(pages.size(), 1u);
    // The first print turned the paper: wider than tall, of a real paper size.
    EXPECT_GT(pages[0].width, pages[0].height);
    EXPECT_GT(pages[0].height, 500.0);
    // The page's printable area is in landscape too, at the printer's resolution.
    const gdi::Size printable = printer.PrintableSize();
    EXPECT_GT(printable.cx, printable.cy);
    EXPECT_EQ(printer.DotsPerInch(), QtPrinter::kDotsPerInch);
}

TEST(PrintPdf, AFileThatCannotBeWrittenPrintsNothingAndSaysSo) {
    EnsureQtApp();
    ui::HeadlessSite site;
    CTrendixCtrl control(site);
    control.OnSize(400, 310);
    QtPrinter printer;
    printer.SetPdfOutput("/nonexistent-folder/printed.pdf");
    site.printer = &printer;
    control.Print2(false); // silent, and no crash
    EXPECT_EQ(printer.DocumentsPrinted(), 0);
    EXPECT_TRUE(site.messages.empty());
}
