#pragma once
#include "platform/com/TypeInfo.h"

#include <cstdint>

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

// The EventID of SetEvent: each has a fire bit (bit EventID - 1 of the event-enable mask),
// which lets the host event through, and a default bit (bit EventID + 15), which runs the
// control's own handling.
enum EventSwitch : int {
    ES_PointerMove = 1,   // fire: PointerLocation / PointerExit
    ES_LeftPress = 2,     // fire: OnClick; default: the model's click action and mouse mode
    ES_DoubleClick = 3,   // fire: OnDoubleClick; default: the model's double-click action
    ES_RightPress = 4,    // fire: OnRBClick, which then replaces the context menu
    ES_KeyPress = 5,      // fire: KeyPress; default: the model's character handling
    ES_KeyDown = 6,       // fire: KeyDown; default: the control's key handling
    ES_KeyUp = 7,         // fire: KeyUp
    ES_LeftPressDrag = 8, // default: a left press may start a drag
};

constexpr std::uint32_t EventFireBit(int eventId) {
    return 1u << ((eventId - 1) % 32 + 32) % 32;
}
constexpr std::uint32_t EventDefaultBit(int eventId) {
    return 1u << ((eventId + 15) % 32 + 32) % 32;
}

// A new control fires no events and runs every default handling but the right press's.
inline constexpr std::uint32_t kInitialEventMask =
    EventDefaultBit(ES_PointerMove) | EventDefaultBit(ES_LeftPress) |
    EventDefaultBit(ES_DoubleClick) | EventDefaultBit(ES_KeyPress) | EventDefaultBit(ES_KeyDown) |
    EventDefaultBit(ES_KeyUp) | EventDefaultBit(ES_LeftPressDrag);

// The event interface as the host sees it: names and parameters of the thirty events.
const com::TypeInfo& TrendixEventTypeInfo();
