#pragma once
#include "platform/ui/MenuItem.h"

#include <functional>

class QAction;
class QMenu;
class QPoint;
class QWidget;

// Shows the control's menus as QMenus: texts as they are ('&' marks the mnemonic, the text
// after '\t' is shown right as the shortcut), disabled and checked states, separators and
// submenus. Each command's action carries its identifier as data.
class QtPopupMenu {
public:
    // Adds the entries of popup (an item of kind Popup) to menu.
    static void Build(QMenu& menu, const ui::MenuItem& popup);
    // Shows popup at the global point and waits; onHighlight hears the command under the
    // pointer (0 for a submenu). Answers the chosen command, 0 when dismissed.
    static int Track(const ui::MenuItem& popup, const QPoint& globalPos,
                     const std::function<void(int)>& onHighlight, QWidget* parent);
    // The command of an action made by Build, 0 for a separator or submenu.
    static int CommandOf(const QAction* action);
};
