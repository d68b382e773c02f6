#include "qt/QtInputMap.h"

#include "platform/ui/VirtualKeys.h"

#include <QAbstractSlider>

#include <algorithm>
#include <iterator>

namespace {

struct KeyCode {
    int qtKey;
    int virtualKey;
};

// Keys whose Qt code is not their virtual-key code. Letters and digits are equal in both
// (upper-case ASCII); shifted punctuation of a US keyboard maps to the key that carries it.
constexpr KeyCode kKeys[] = {
    {Qt::Key_Backspace, ui::VK_BACK},
    {Qt::Key_Tab, ui::VK_TAB},
    {Qt::Key_Backtab, ui::VK_TAB},
    {Qt::Key_Clear, 0x0C},
    {Qt::Key_Return, ui::VK_RETURN},
    {Qt::Key_Enter, ui::VK_RETURN},
    {Qt::Key_Shift, ui::VK_SHIFT},
    {Qt::Key_Control, ui::VK_CONTROL},
    {Qt::Key_Alt, ui::VK_MENU},
    {Qt::Key_AltGr, ui::VK_MENU},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, ui::VK_ESCAPE},
    {Qt::Key_Space, ui::VK_SPACE},
    {Qt::Key_PageUp, ui::VK_PRIOR},
    {Qt::Key_PageDown, ui::VK_NEXT},
    {Qt::Key_End, ui::VK_END},
    {Qt::Key_Home, ui::VK_HOME},
    {Qt::Key_Left, ui::VK_LEFT},
    {Qt::Key_Up, ui::VK_UP},
    {Qt::Key_Right, ui::VK_RIGHT},
    {Qt::Key_Down, ui::VK_DOWN},
    {Qt::Key_Select, 0x29},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, ui::VK_INSERT},
    {Qt::Key_Delete, ui::VK_DELETE},
    {Qt::Key_Help, 0x2F},
    {Qt::Key_Meta, 0x5B},
    {Qt::Key_Super_L, 0x5B},
    {Qt::Key_Super_R, 0x5C},
    {Qt::Key_Menu, ui::VK_APPS},
    {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
};

// The number pad: digits, then the operators and the decimal point.
constexpr int kNumPad0 = 0x60;
constexpr KeyCode kPadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F},
};

constexpr int kF1 = ui::VK_F1;
constexpr int kLastFunctionKey = 24;

int Lookup(const KeyCode* begin, const KeyCode* end, int qtKey) {
    const KeyCode* hit =
        std::find_if(begin, end, [qtKey](const KeyCode& k) { return k.qtKey == qtKey; });
    return hit == end ? 0 : hit->virtualKey;
}

} // namespace

int QtInputMap::VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return kNumPad0 + (qtKey - Qt::Key_0);
        if (const int pad = Lookup(std::begin(kPadKeys), std::end(kPadKeys), qtKey)) return pad;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey < Qt::Key_F1 + kLastFunctionKey)
        return kF1 + (qtKey - Qt::Key_F1);
    return Lookup(std::begin(kKeys), std::end(kKeys), qtKey);
}

int QtInputMap::Modifiers(Qt::KeyboardModifiers modifiers) {
    int value = 0;
    if (modifiers & Qt::ShiftModifier) value |= ui::ModShift;
    if (modifiers & Qt::ControlModifier) value |= ui::ModCtrl;
    if (modifiers & Qt::AltModifier) value |= ui::ModAlt;
    return value;
}

int QtInputMap::ScrollCode(int sliderAction) {
    switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepSub:
        return LineUp;
    case QAbstractSlider::SliderSingleStepAdd:
        return LineDown;
    case QAbstractSlider::SliderPageStepSub:
        return PageUp;
    case QAbstractSlider::SliderPageStepAdd:
        return PageDown;
    case QAbstractSlider::SliderToMinimum:
        return Top;
    case QAbstractSlider::SliderToMaximum:
        return Bottom;
    case QAbstractSlider::SliderMove:
        return ThumbTrack;
    default:
        return NoScroll;
    }
}

bool QtInputMap::EndsAtOnce(int sliderAction) {
    const int code = ScrollCode(sliderAction);
    return code != NoScroll && code != ThumbTrack;
}
