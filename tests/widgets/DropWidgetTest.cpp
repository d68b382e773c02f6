// Drops on the widget: Qt's drag events reach the control, which accepts or refuses the data
// by its MIME types and fires its events.
#include <trendix/TrendixWidget.h>

#include "WidgetTestApp.h"
#include "control/TrendixCtrl.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr char kPathMime[] = "application/x-orbis-variable-path";

class DropWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureWidgetApp();
        widget = std::make_unique<TrendixWidget>();
        widget->resize(400, 310);
        widget->show();
        ProcessEvents();
        widget->repaint();
        ProcessEvents();
    }

    QPoint Centre(const CPlotRegion& r) const {
        return QPoint((r.rect.left + r.rect.right) / 2, (r.rect.top + r.rect.bottom) / 2);
    }

    // Enters, moves and drops data at p; answers whether the enter and the drop were accepted.
    std::pair<bool, bool> DragAndDrop(const QMimeData& data, QPoint p) {
        QDragEnterEvent enter(p, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(widget.get(), &enter);
        const bool entered = enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
        QDragMoveEvent move(p, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(widget.get(), &move);
        QDropEvent drop(QPointF(p), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                        Qt::NoModifier);
        QCoreApplication::sendEvent(widget.get(), &drop);
        return {entered, drop.isAccepted() && drop.dropAction() == Qt::CopyAction};
    }

    std::unique_ptr<TrendixWidget> widget;
};

TEST_F(DropWidgetTest, DropsFireTheControlsEventsByTheMimeTypesOffered) {
    ASSERT_TRUE(widget->acceptDrops());
    widget->invoke("RunPlot", {true});
    widget->repaint();
    ProcessEvents();
    QSignalSpy phase(widget.get(), &TrendixWidget::phaseVariableDropped);
    QSignalSpy text(widget.get(), &TrendixWidget::onDropText);
    const CPlotLook& m = *widget->control().Model();

    // A variable path on the X axis of a run plot, offered with text too.
    QMimeData path;
    path.setData(kPathMime, "Plant.Feed.T");
    path.setText("ignored");
    EXPECT_EQ(DragAndDrop(path, Centre(*m.xAxisRegion)), std::make_pair(true, true));
    ASSERT_EQ(phase.count(), 1);
    EXPECT_EQ(phase.at(0).at(0).toString(), "Plant.Feed.T");
    EXPECT_EQ(text.count(), 0);

    // Plain text on the title: its lines joined, with the title's region kind.
    QMimeData lines;
    lines.setText("first\r\nsecond");
    EXPECT_EQ(DragAndDrop(lines, Centre(*m.titleRegion)), std::make_pair(true, true));
    ASSERT_EQ(text.count(), 1);
    EXPECT_EQ(text.at(0).at(0).toString(), "first second");
    EXPECT_EQ(text.at(0).at(1).toInt(), CPlotRegion::Title);

    // With VariableDrop off a path is refused even beside text; data of no known type too.
    widget->invoke("VariableDrop", {false});
    EXPECT_EQ(DragAndDrop(path, Centre(*m.xAxisRegion)), std::make_pair(false, false));
    QMimeData picture;
    picture.setData("image/png", "\x89PNG");
    EXPECT_EQ(DragAndDrop(picture, Centre(*m.titleRegion)), std::make_pair(false, false));
    EXPECT_EQ(phase.count(), 1);
    EXPECT_EQ(text.count(), 1);
}

} // namespace
