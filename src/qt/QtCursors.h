#pragma once
#include <QCursor>

// The cursors the control asks for by number: system cursor numbers (32512 arrow, 32515 cross,
// 32646 size all, ...) become Qt's shapes, 16556 the control's own drag cursor, and any other
// number a plain arrow.
class QtCursors {
public:
    static constexpr int kDragCursor = 16556;
    static QCursor ForId(int cursorId);
    // The drag cursor: cross hairs over the corner of a dashed rectangle, hot spot at the
    // crossing.
    static QCursor DragCursor();
};
