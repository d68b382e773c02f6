#pragma once
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"

// A control sited in a headless window, with small ring buffers so that a run with many
// variables stays quick.
struct FuzzControl {
    FuzzControl() {
        control.SetBufferSize(16);
        control.OnSize(400, 310);
    }
    ui::HeadlessSite site;
    CTrendixCtrl control{site};
};
