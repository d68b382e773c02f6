#pragma once
#include "platform/com/TypeInfo.h"

// The events the control fires to its host, by DISPID.
enum TrendixEvent : com::DISPID {
    EV_Selected = 1,
    EV_Zoomed = 2,
    EV_ApplyVariableChanges = 3,
    EV_VariableChanged = 4,
    EV_OnDropText = 5,
    EV_ReloadNow = 6,
    EV_OnEditProfileVariables = 7,
    EV_OnOnShowasHistory = 8,
    EV_OnEditProfileTable = 9,
    EV_OnResetFormDefinition = 10,
    EV_SetMessageText = 11,
    EV_CommunicationIntervalsSet = 12,
    EV_PointerLocation = 13,
    EV_OnClick = 14,
    EV_OnDoubleClick = 15,
    EV_CursorSet = 16,
    EV_OnRBClick = 17,
    EV_RegionDefined = 18,
    EV_KeyPress = 19,
    EV_KeyDown = 20,
    EV_KeyUp = 21,
    EV_Scrolled = 22,
    EV_PointerExit = 23,
    EV_PhaseVariableSet = 24,
    EV_PhaseVariableDropped = 25,
    EV_ZoomTimeRange = 26,
    EV_RevertToTimePlot = 27,
    EV_OnLivePlot = 28,
    EV_SetCaption = 29,
    EV_Modified = 30,
};

// The event interface as the host sees it: names and parameters of the thirty events.
const com::TypeInfo& TrendixEventTypeInfo();
