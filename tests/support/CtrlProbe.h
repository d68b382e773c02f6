#pragma once
// The control's internal state that the tests check and no host needs: timers armed, pointer
// and pop-up state, blinking, event mask and flags.
#include "control/TrendixCtrl.h"

#include <cstdint>
#include <vector>

struct CtrlProbe {
    static std::uint32_t EventMask(const CTrendixCtrl& c) { return c.eventMask_; }
    static int PointerCursor(const CTrendixCtrl& c) { return c.pointerCursor_; }
    static bool DataAdded(const CTrendixCtrl& c) { return c.dataAdded_; }
    static bool Scrolled(const CTrendixCtrl& c) { return c.scrolled_; }
    static bool PlotDefined(const CTrendixCtrl& c) { return c.plotDefined_; }
    static int MouseMode(const CTrendixCtrl& c) { return c.mouseMode_; }
    static bool HoldTimerArmed(const CTrendixCtrl& c) { return c.holdTimerArmed_; }
    static bool PointerInside(const CTrendixCtrl& c) { return c.pointerInside_; }
    static int PopupState(const CTrendixCtrl& c) { return c.popupState_; }
    static int BlinkPhase(const CTrendixCtrl& c) { return c.blinkPhase_; }
    static const std::vector<int>& HighlightList(const CTrendixCtrl& c) { return c.highlightList_; }
};
