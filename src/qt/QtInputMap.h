#pragma once
#include <Qt>

// Translates Qt's keys, modifiers and scroll-bar actions into what the control's window entry
// points take: virtual-key codes, the modifier value 1 Shift + 2 Ctrl + 4 Alt, and scroll-bar
// action codes.
class QtInputMap {
public:
    // The virtual-key code of a Qt key; keypad keys (Qt::KeypadModifier) give the number-pad
    // codes. 0 for a key the control has no code for.
    static int VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);
    static int Modifiers(Qt::KeyboardModifiers modifiers);

    // Scroll-bar action codes of the control's OnScrollBar.
    enum ScrollCode {
        LineUp = 0,
        LineDown = 1,
        PageUp = 2,
        PageDown = 3,
        ThumbPosition = 4,
        ThumbTrack = 5,
        Top = 6,
        Bottom = 7,
        EndScroll = 8,
        NoScroll = -1
    };
    // The code of a QAbstractSlider::SliderAction; NoScroll for actions without one.
    static int ScrollCode(int sliderAction);
    // Whether an action is a single step the user ends at once (arrows, pages, ends), after
    // which an end-of-scroll follows.
    static bool EndsAtOnce(int sliderAction);
};
