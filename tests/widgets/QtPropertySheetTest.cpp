// The property sheet on Qt: the pages' fields as widgets, edits and Apply reaching the
// control, owner-drawn samples from the drawing tables.
#include "qt/QtPropertySheet.h"

#include "WidgetTestApp.h"
#include "control/TrendixCtrl.h"
#include "pages/PageCatalog.h"
#include "pages/PlotAnnotationPropSheet.h"
#include "pages/PlotAxisPropSheet.h"
#include "pages/PlotDelCurveDlg.h"
#include "pages/PlotLabelPropSheet.h"
#include "pages/PlotLayoutPropSheet.h"
#include "pages/PlotLegendPropSheet.h"
#include "pages/PlotLineAttribDlg.h"
#include "pages/PlotPolygonAttribDlg.h"
#include "pages/PlotSimpleInputDlg.h"
#include "platform/ui/HeadlessSite.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

using PageCatalog::PageId;

struct Sheet {
    ui::HeadlessSite site;
    CTrendixCtrl control{site};
    std::vector<std::unique_ptr<CControlPage>> pages;
    std::vector<ui::IPropertyPage*> shown;
    std::unique_ptr<QtPropertySheet> dialog;

    explicit Sheet(const std::vector<PageId>& ids) {
        EnsureWidgetApp();
        control.OnSize(400, 300);
        for (PageId id : ids) {
            pages.push_back(PageCatalog::MakePage(id, control, site));
            pages.back()->Activate();
            shown.push_back(pages.back().get());
        }
        dialog = std::make_unique<QtPropertySheet>("Properties", shown, nullptr);
    }
};

// The shown page of a sheet is tidy: no label or button is narrower than its text, and the
// Tab key walks the page's fields in the page's order.
void ExpectTidy(const QtPropertySheet& dialog, int page, const std::vector<ui::Field>& fields) {
    for (const QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        const auto* label = qobject_cast<const QLabel*>(w);
        const auto* button = qobject_cast<const QAbstractButton*>(w);
        const QString text = label ? label->text() : button ? button->text() : QString();
        if (text.isEmpty() || (label && label->wordWrap())) continue;
        EXPECT_GE(w->width(), w->sizeHint().width()) << text.toStdString() << " is cut";
    }
    std::map<const QWidget*, int> place; // order in the dialog's focus chain
    int n = 0;
    for (QWidget* w = dialog.nextInFocusChain(); w != &dialog && n < 10000;
         w = w->nextInFocusChain())
        place.emplace(w, n++);
    int last = -1;
    std::string lastCaption;
    for (const ui::Field& f : fields) {
        const QWidget* w = dialog.FieldWidget(page, f.caption);
        if (!w || !(w->focusPolicy() & Qt::TabFocus)) continue;
        ASSERT_TRUE(place.count(w)) << f.caption;
        EXPECT_GT(place[w], last) << f.caption << " comes after " << lastCaption;
        last = place[w];
        lastCaption = f.caption;
    }
}

} // namespace

TEST(QtPropertySheet, EveryPageShowsEveryFieldAndTheScreenshotsAreTaken) {
    std::vector<PageId> all;
    for (const PageCatalog::PageClass& c : PageCatalog::kPageClasses)
        all.push_back(c.id);
    Sheet s(all);
    s.dialog->show();
    ProcessEvents();
    auto* tabs = s.dialog->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), int(all.size()));
    // TRENDIX_SCREENSHOTS names a folder outside the repository for pictures to look at.
    const QString folder = qEnvironmentVariable("TRENDIX_SCREENSHOTS");
    for (int i = 0; i < tabs->count(); ++i) {
        for (const ui::Field& f : s.shown[std::size_t(i)]->Fields())
            EXPECT_NE(s.dialog->FieldWidget(i, f.caption), nullptr) << f.caption;
        tabs->setCurrentIndex(i);
        ProcessEvents();
        SCOPED_TRACE(s.shown[std::size_t(i)]->Caption());
        ExpectTidy(*s.dialog, i, s.shown[std::size_t(i)]->Fields());
        const QImage picture = s.dialog->grab().toImage();
        EXPECT_FALSE(picture.isNull());
        if (!folder.isEmpty()) {
            QDir().mkpath(folder);
            picture.save(folder + QString("/%1-%2.png")
                                      .arg(i, 2, 10, QChar('0'))
                                      .arg(QString::fromStdString(
                                          PageCatalog::kPageClasses[std::size_t(i)].progId)));
        }
    }
}

TEST(QtPropertySheet, TypingAndApplyChangeTheControlOnlyAtApply) {
    Sheet s({PageId::Label, PageId::Axis});
    auto* title = qobject_cast<QLineEdit*>(s.dialog->FieldWidget(0, "Title text"));
    ASSERT_NE(title, nullptr);
    title->selectAll();
    QTest::keyClicks(title, "Reactor");
    EXPECT_EQ(s.control.GetTitle(), "Title");
    auto* buttons = s.dialog->findChild<QDialogButtonBox*>();
    ASSERT_TRUE(buttons->button(QDialogButtonBox::Apply)->isEnabled());
    buttons->button(QDialogButtonBox::Apply)->click();
    EXPECT_EQ(s.control.GetTitle(), "Reactor");
    EXPECT_FALSE(buttons->button(QDialogButtonBox::Apply)->isEnabled());
    // A numeric edit takes only the characters of numbers.
    auto* low = qobject_cast<QLineEdit*>(s.dialog->FieldWidget(1, "X Minimum"));
    ASSERT_NE(low, nullptr);
    low->clear();
    QTest::keyClicks(low, "1x2");
    EXPECT_EQ(low->text(), "12");
    EXPECT_EQ(s.shown[1]->Value("X Minimum"), "12");
}

TEST(QtPropertySheet, PickListsAreSamplesOfTheDrawingTables) {
    EnsureWidgetApp(); // pixmaps need the application object
    const QSize size(48, 14);
    const QImage red = QtPropertySheet::SamplePixmap(ui::Sample::Colour, "3", size).toImage();
    EXPECT_EQ(red.pixelColor(size.width() / 2, size.height() / 2), QColor(255, 0, 0));
    EXPECT_TRUE(QtPropertySheet::SamplePixmap(ui::Sample::Marker, "none", size).isNull());
    EXPECT_TRUE(QtPropertySheet::SamplePixmap(ui::Sample::Line, "(no line)", size).isNull());
    // A dotted line leaves gaps that a solid one fills.
    const QImage solid = QtPropertySheet::SamplePixmap(ui::Sample::Line, "1", size).toImage();
    const QImage dotted = QtPropertySheet::SamplePixmap(ui::Sample::Line, "2", size).toImage();
    EXPECT_GT(DifferingShare(solid, dotted), 0.0);
    EXPECT_FALSE(QtPropertySheet::SamplePixmap(ui::Sample::Hatch, "9", size).isNull());
    Sheet s({PageId::Attrib});
    auto* colours = qobject_cast<QComboBox*>(s.dialog->FieldWidget(0, "Color"));
    ASSERT_NE(colours, nullptr);
    EXPECT_EQ(colours->count(), 16);
    EXPECT_FALSE(colours->itemIcon(5).isNull());
}

TEST(QtPropertySheet, EveryEditSheetShowsEveryFieldAndTheScreenshotsAreTaken) {
    EnsureWidgetApp();
    ui::HeadlessSite site;
    AxisSheetSetting coordinates;
    coordinates.axes = {AxisScaleSetting{}, AxisScaleSetting{}};
    coordinates.axes[1].axisNo = 1;
    AxisSheetSetting time;
    time.timeAxis = true;
    LabelSetting label;
    label.legends = {"Feed", "Outlet"};
    const CPlotAxisPropSheet coordinateSheet(coordinates, site);
    const CPlotAxisPropSheet timeSheet(time, site);
    const CPlotLabelPropSheet labelSheet(label, site);
    const CPlotLegendPropSheet legendSheet(LegendSetting{{"Feed", "Outlet"}, {}}, site);
    const CPlotLayoutPropSheet layoutSheet(LayoutSetting{}, site);
    const CPlotAnnotationPropSheet textSheet(AnnotationSetting{}, site);
    CPlotLineAttribDlg line(LineAttribSetting{}, true, site);
    CPlotPolygonAttribDlg polygon(PolygonAttribSetting{}, site);
    CPlotDelCurveDlg hidden({{1, "Feed", false}, {2, "Outlet", true}}, site);
    CPlotSimpleInputDlg input("Time range (s)", "60", site);
    line.Activate();
    polygon.Activate();
    hidden.Activate();
    input.Activate();
    const std::vector<std::pair<std::string, std::vector<ui::IPropertyPage*>>> sheets = {
        {"axis", coordinateSheet.Pages()},
        {"time-axis", timeSheet.Pages()},
        {"label", labelSheet.Pages()},
        {"legend", legendSheet.Pages()},
        {"layout", layoutSheet.Pages()},
        {"text", textSheet.Pages()},
        {"line", {&line}},
        {"polygon", {&polygon}},
        {"hidden", {&hidden}},
        {"input", {&input}},
    };
    const QString folder = qEnvironmentVariable("TRENDIX_SCREENSHOTS");
    for (const auto& [name, pages] : sheets) {
        SCOPED_TRACE(name);
        QtPropertySheet dialog(QString::fromStdString(name), pages, nullptr);
        dialog.show();
        ProcessEvents();
        auto* tabs = dialog.findChild<QTabWidget*>();
        for (int i = 0; i < int(pages.size()); ++i) {
            for (const ui::Field& f : pages[std::size_t(i)]->Fields())
                EXPECT_NE(dialog.FieldWidget(i, f.caption), nullptr) << f.caption;
            if (tabs) tabs->setCurrentIndex(i);
            ProcessEvents();
            ExpectTidy(dialog, i, pages[std::size_t(i)]->Fields());
            const QImage picture = dialog.grab().toImage();
            EXPECT_FALSE(picture.isNull());
            if (folder.isEmpty()) continue;
            QDir().mkpath(folder);
            picture.save(folder +
                         QString("/edit-%1-%2.png").arg(QString::fromStdString(name)).arg(i));
        }
    }
}
