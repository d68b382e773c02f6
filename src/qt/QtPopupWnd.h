#pragma once
#include "platform/ui/PopupText.h"

#include <QLabel>

// The pop-up text window on Qt: a frameless tool-tip window that never takes the focus and
// shows the lines the control laid out, in the font they were measured in, at the size and
// place the control gave.
class QtPopupWnd : public QLabel {
public:
    QtPopupWnd();
    // The laid-out text with the window's top-left corner at the global point at.
    void ShowLayout(const ui::PopupText& popup, QPoint at);
    // Plain text sized by Qt itself, for a caller without a layout.
    void ShowText(const QString& text, QPoint at);
};
