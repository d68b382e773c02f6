#pragma once
#include "control/TrendixCtrl.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/HeadlessSite.h"

// A control sited in a headless window, with small ring buffers so that a run with many
// variables stays quick.
struct FuzzControl {
    FuzzControl() {
        control.SetBufferSize(16);
        control.OnSize(400, 310);
    }
    // Paints what was loaded into the recording device: a value the readers let in that
    // cannot be drawn throws here, and the fuzzer reports the exception as a crash.
    void Paint() {
        gdi::RecordingDC dc(400, 310);
        const gdi::Rect all{0, 0, 400, 310};
        control.OnDraw(dc, all, all);
    }
    ui::HeadlessSite site;
    CTrendixCtrl control{site};
};
