#pragma once
#include "platform/gdi/GdiTypes.h"

namespace gdi {
class IDeviceContext;
}

// A selection handle: the small square a selected annotation or region shows at each of
// its grip points. The owner keys are the owning region and annotation as opaque addresses.
class CPlotBullet {
public:
    CPlotBullet(const void* region, const void* annotation, int key)
        : region(region), annotation(annotation), key(key) {}

    // The 5 x 5 square centred on (x, y).
    void PlaceAt(int x, int y) { rect = gdi::Rect{x - 2, y - 2, x + 3, y + 3}; }
    // Edges included, as a handle is hit by a pointer on its outline.
    bool Contains(gdi::Point p) const {
        return p.x >= rect.left && p.x <= rect.right && p.y >= rect.top && p.y <= rect.bottom;
    }
    bool OwnedBy(const void* owner) const {
        return owner == nullptr || owner == region || owner == annotation;
    }
    bool IsShown() const { return visible != 0 && id != 0; }
    // The square in the pen and brush the caller selected.
    void Draw(gdi::IDeviceContext& dc) const;

    gdi::Rect rect;
    int id = 0;
    int visible = 1;
    const void* region;
    const void* annotation;
    int key;
    int value = 0; // invalidation hint for the owner
};
