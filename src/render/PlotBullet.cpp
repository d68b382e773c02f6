#include "render/PlotBullet.h"

#include "platform/gdi/DeviceContext.h"

void CPlotBullet::Draw(gdi::IDeviceContext& dc) const {
    dc.Rectangle(rect);
}
