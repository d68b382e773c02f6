// The control's menus as QMenus, and the cursors by number.
#include "qt/QtPopupMenu.h"

#include "WidgetTestApp.h"
#include "qt/QtCursors.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

using ui::MenuItem;

QWidget* OpenMenu() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMenu*>(w) && w->isVisible()) return w;
    return nullptr;
}

MenuItem ZoomMenu() {
    MenuItem modify = MenuItem::Sub(
        "&Modify", {MenuItem::Cmd(32776, "&Add Text"), MenuItem::Cmd(32778, "Show &Legend")});
    modify.items[1].checked = true;
    MenuItem paste = MenuItem::Cmd(32786, "&Paste\tCtrl+V");
    paste.enabled = false;
    return MenuItem::Sub("Zoom",
                         {MenuItem::Cmd(32768, "&Redraw\tCtrl+W"), MenuItem::Sep(), modify, paste});
}

TEST(QtPopupMenuTest, BuildsCommandsSeparatorsAndSubmenus) {
    EnsureWidgetApp();
    QMenu menu;
    QtPopupMenu::Build(menu, ZoomMenu());
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), "&Redraw\tCtrl+W"); // mnemonic and shortcut text kept
    EXPECT_EQ(QtPopupMenu::CommandOf(actions[0]), 32768);
    EXPECT_TRUE(actions[0]->isEnabled());
    EXPECT_FALSE(actions[0]->isChecked());
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(QtPopupMenu::CommandOf(actions[1]), 0);
    ASSERT_NE(actions[2]->menu(), nullptr);
    EXPECT_EQ(actions[2]->text(), "&Modify");
    EXPECT_EQ(QtPopupMenu::CommandOf(actions[2]), 0);
    const QList<QAction*> sub = actions[2]->menu()->actions();
    ASSERT_EQ(sub.size(), 2);
    EXPECT_EQ(QtPopupMenu::CommandOf(sub[1]), 32778);
    EXPECT_TRUE(sub[1]->isCheckable());
    EXPECT_TRUE(sub[1]->isChecked());
    EXPECT_FALSE(sub[0]->isChecked());
    EXPECT_FALSE(actions[3]->isEnabled());
    EXPECT_EQ(QtPopupMenu::CommandOf(nullptr), 0);
}

TEST(QtPopupMenuTest, TrackAnswersTheChosenCommandAndReportsHighlights) {
    EnsureWidgetApp();
    std::vector<int> highlighted;
    // The user presses Down (Redraw is highlighted) and Return.
    QTimer::singleShot(50, [] {
        QWidget* menu = OpenMenu();
        ASSERT_NE(menu, nullptr);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    const int chosen = QtPopupMenu::Track(
        ZoomMenu(), QPoint(10, 10), [&](int id) { highlighted.push_back(id); }, nullptr);
    EXPECT_EQ(chosen, 32768);
    // Redraw was highlighted, then nothing once the menu had closed.
    ASSERT_GE(highlighted.size(), 2u);
    EXPECT_EQ(highlighted[highlighted.size() - 2], 32768);
    EXPECT_EQ(highlighted.back(), 0);
}

TEST(QtPopupMenuTest, DismissedMenuAnswersZero) {
    EnsureWidgetApp();
    QTimer::singleShot(50, [] {
        if (QWidget* menu = OpenMenu()) menu->close();
    });
    EXPECT_EQ(QtPopupMenu::Track(ZoomMenu(), QPoint(10, 10), nullptr, nullptr), 0);
    EXPECT_EQ(QtPopupMenu::Track(MenuItem::Sub("Empty", {}), QPoint(10, 10), nullptr, nullptr), 0);
}

TEST(QtCursorsTest, SystemNumbersOwnDragCursorAndOthers) {
    EnsureWidgetApp();
    EXPECT_EQ(QtCursors::ForId(32512).shape(), Qt::ArrowCursor);
    EXPECT_EQ(QtCursors::ForId(32513).shape(), Qt::IBeamCursor);
    EXPECT_EQ(QtCursors::ForId(32515).shape(), Qt::CrossCursor);
    EXPECT_EQ(QtCursors::ForId(32642).shape(), Qt::SizeFDiagCursor);
    EXPECT_EQ(QtCursors::ForId(32645).shape(), Qt::SizeVerCursor);
    EXPECT_EQ(QtCursors::ForId(32646).shape(), Qt::SizeAllCursor);
    EXPECT_EQ(QtCursors::ForId(32648).shape(), Qt::ForbiddenCursor);
    EXPECT_EQ(QtCursors::ForId(32649).shape(), Qt::PointingHandCursor);
    EXPECT_EQ(QtCursors::ForId(32651).shape(), Qt::WhatsThisCursor);
    // The control's own drag cursor is a picture with its hot spot inside.
    const QCursor drag = QtCursors::ForId(QtCursors::kDragCursor);
    EXPECT_EQ(drag.shape(), Qt::BitmapCursor);
    EXPECT_FALSE(drag.pixmap().isNull());
    EXPECT_GT(drag.hotSpot().x(), 0);
    // Any other number, own or system, is a plain arrow.
    EXPECT_EQ(QtCursors::ForId(0).shape(), Qt::ArrowCursor);
    EXPECT_EQ(QtCursors::ForId(101).shape(), Qt::ArrowCursor);
    EXPECT_EQ(QtCursors::ForId(32647).shape(), Qt::ArrowCursor);
}

} // namespace
