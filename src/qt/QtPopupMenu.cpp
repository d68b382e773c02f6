#include "qt/QtPopupMenu.h"

#include <QAction>
#include <QMenu>
#include <QPoint>
#include <QPointer>

namespace {

QString Text(const ui::MenuItem& item) {
    return QString::fromStdString(item.text);
}

void AddCommand(QMenu& menu, const ui::MenuItem& item) {
    QAction* action = menu.addAction(Text(item));
    action->setData(item.id);
    action->setEnabled(item.enabled);
    if (item.checked) {
        action->setCheckable(true);
        action->setChecked(true);
    }
}

} // namespace

void QtPopupMenu::Build(QMenu& menu, const ui::MenuItem& popup) {
    for (const ui::MenuItem& item : popup.items) {
        switch (item.kind) {
        case ui::MenuItem::Separator:
            menu.addSeparator();
            break;
        case ui::MenuItem::Popup: {
            QMenu* sub = menu.addMenu(Text(item));
            sub->setEnabled(item.enabled);
            Build(*sub, item);
            break;
        }
        case ui::MenuItem::Command:
            AddCommand(menu, item);
            break;
        }
    }
}

int QtPopupMenu::CommandOf(const QAction* action) {
    if (!action || action->isSeparator() || action->menu()) return 0;
    return action->data().toInt();
}

int QtPopupMenu::Track(const ui::MenuItem& popup, const QPoint& globalPos,
                       const std::function<void(int)>& onHighlight, QWidget* parent) {
    QMenu menu(parent);
    Build(menu, popup);
    if (menu.isEmpty()) return 0;
    // Submenus relay their highlights too; they are children of the menu.
    QList<QMenu*> menus = menu.findChildren<QMenu*>();
    menus.append(&menu);
    for (QMenu* m : menus) {
        QObject::connect(m, &QMenu::hovered, m, [&onHighlight](QAction* action) {
            if (onHighlight) onHighlight(CommandOf(action));
        });
    }
    const QAction* chosen = menu.exec(globalPos);
    if (onHighlight) onHighlight(0); // closed: nothing is highlighted any more
    return chosen ? CommandOf(chosen) : 0;
}
