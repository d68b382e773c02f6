#include "qt/QtCursors.h"

#include <QBitmap>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <iterator>

namespace {

struct SystemCursor {
    int id;
    Qt::CursorShape shape;
};

constexpr SystemCursor kSystemCursors[] = {
    {32512, Qt::ArrowCursor},     {32513, Qt::IBeamCursor},     {32514, Qt::WaitCursor},
    {32515, Qt::CrossCursor},     {32516, Qt::UpArrowCursor},   {32642, Qt::SizeFDiagCursor},
    {32643, Qt::SizeBDiagCursor}, {32644, Qt::SizeHorCursor},   {32645, Qt::SizeVerCursor},
    {32646, Qt::SizeAllCursor},   {32648, Qt::ForbiddenCursor}, {32649, Qt::PointingHandCursor},
    {32650, Qt::BusyCursor},      {32651, Qt::WhatsThisCursor},
};

constexpr int kSize = 32;
constexpr int kHot = 10;

// Black lines with a white edge, so that the cursor shows on dark and light plots alike.
void DrawShape(QPainter& p, const QColor& color, int width) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(kHot, 2, kHot, kHot + 8);
    p.drawLine(2, kHot, kHot + 8, kHot);
    QPen dashed(color, width, Qt::DashLine, Qt::FlatCap);
    dashed.setDashPattern({2, 2});
    p.setPen(dashed);
    p.drawRect(kHot + 4, kHot + 4, 14, 12);
}

} // namespace

QCursor QtCursors::ForId(int cursorId) {
    if (cursorId == kDragCursor) return DragCursor();
    const auto hit = std::find_if(std::begin(kSystemCursors), std::end(kSystemCursors),
                                  [cursorId](const SystemCursor& c) { return c.id == cursorId; });
    return QCursor(hit == std::end(kSystemCursors) ? Qt::ArrowCursor : hit->shape);
}

QCursor QtCursors::DragCursor() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    DrawShape(p, Qt::white, 3);
    DrawShape(p, Qt::black, 1);
    p.end();
    return QCursor(pixmap, kHot, kHot);
}
