// Qt's keys, modifiers and scroll-bar actions as the control's codes.
#include "qt/QtInputMap.h"

#include "platform/ui/VirtualKeys.h"

#include <QAbstractSlider>

#include <gtest/gtest.h>

namespace {

int Key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return QtInputMap::VirtualKey(qtKey, modifiers);
}

TEST(QtInputMapTest, NavigationAndEditingKeys) {
    EXPECT_EQ(Key(Qt::Key_Up), ui::VK_UP);
    EXPECT_EQ(Key(Qt::Key_Down), ui::VK_DOWN);
    EXPECT_EQ(Key(Qt::Key_Left), ui::VK_LEFT);
    EXPECT_EQ(Key(Qt::Key_Right), ui::VK_RIGHT);
    EXPECT_EQ(Key(Qt::Key_Home), ui::VK_HOME);
    EXPECT_EQ(Key(Qt::Key_End), ui::VK_END);
    EXPECT_EQ(Key(Qt::Key_PageUp), ui::VK_PRIOR);
    EXPECT_EQ(Key(Qt::Key_PageDown), ui::VK_NEXT);
    EXPECT_EQ(Key(Qt::Key_Delete), ui::VK_DELETE);
    EXPECT_EQ(Key(Qt::Key_Insert), ui::VK_INSERT);
    EXPECT_EQ(Key(Qt::Key_Escape), ui::VK_ESCAPE);
    EXPECT_EQ(Key(Qt::Key_Return), ui::VK_RETURN);
    EXPECT_EQ(Key(Qt::Key_Enter, Qt::KeypadModifier), ui::VK_RETURN);
    EXPECT_EQ(Key(Qt::Key_Backspace), ui::VK_BACK);
    EXPECT_EQ(Key(Qt::Key_Tab), ui::VK_TAB);
    EXPECT_EQ(Key(Qt::Key_Backtab, Qt::ShiftModifier), ui::VK_TAB);
    EXPECT_EQ(Key(Qt::Key_Space), ui::VK_SPACE);
    EXPECT_EQ(Key(Qt::Key_Menu), ui::VK_APPS);
    EXPECT_EQ(Key(Qt::Key_Shift), ui::VK_SHIFT);
    EXPECT_EQ(Key(Qt::Key_Control), ui::VK_CONTROL);
    EXPECT_EQ(Key(Qt::Key_Alt), ui::VK_MENU);
}

TEST(QtInputMapTest, LettersDigitsAndFunctionKeys) {
    EXPECT_EQ(Key(Qt::Key_A), ui::VK_A);
    EXPECT_EQ(Key(Qt::Key_W, Qt::ControlModifier), 'W');
    EXPECT_EQ(Key(Qt::Key_Z), 'Z');
    EXPECT_EQ(Key(Qt::Key_0), '0');
    EXPECT_EQ(Key(Qt::Key_9), '9');
    EXPECT_EQ(Key(Qt::Key_F1), ui::VK_F1);
    EXPECT_EQ(Key(Qt::Key_F12), ui::VK_F1 + 11);
    EXPECT_EQ(Key(Qt::Key_F24), ui::VK_F1 + 23);
    EXPECT_EQ(Key(Qt::Key_F25), 0);
}

TEST(QtInputMapTest, NumberPadAndPunctuation) {
    EXPECT_EQ(Key(Qt::Key_0, Qt::KeypadModifier), 0x60);
    EXPECT_EQ(Key(Qt::Key_7, Qt::KeypadModifier), 0x67);
    EXPECT_EQ(Key(Qt::Key_Plus, Qt::KeypadModifier), 0x6B);
    EXPECT_EQ(Key(Qt::Key_Plus), 0xBB);
    EXPECT_EQ(Key(Qt::Key_Minus), 0xBD);
    EXPECT_EQ(Key(Qt::Key_Minus, Qt::KeypadModifier), 0x6D);
    EXPECT_EQ(Key(Qt::Key_Comma), 0xBC);
    EXPECT_EQ(Key(Qt::Key_Exclam, Qt::ShiftModifier), '1'); // the key that carries it
    EXPECT_EQ(Key(Qt::Key_Question, Qt::ShiftModifier), 0xBF);
}

TEST(QtInputMapTest, KeysWithoutACodeGiveZero) {
    EXPECT_EQ(Key(Qt::Key_unknown), 0);
    EXPECT_EQ(Key(Qt::Key_VolumeUp), 0);
    EXPECT_EQ(Key(Qt::Key_Eacute), 0);
}

TEST(QtInputMapTest, ModifierValues) {
    EXPECT_EQ(QtInputMap::Modifiers(Qt::NoModifier), 0);
    EXPECT_EQ(QtInputMap::Modifiers(Qt::ShiftModifier), 1);
    EXPECT_EQ(QtInputMap::Modifiers(Qt::ControlModifier), 2);
    EXPECT_EQ(QtInputMap::Modifiers(Qt::AltModifier), 4);
    EXPECT_EQ(QtInputMap::Modifiers(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                                    Qt::KeypadModifier | Qt::MetaModifier),
              7);
}

TEST(QtInputMapTest, ScrollBarActions) {
    using S = QAbstractSlider;
    EXPECT_EQ(QtInputMap::ScrollCode(S::SliderSingleStepSub), 0);
    EXPECT_EQ(QtInputMap::ScrollCode(S::SliderSingleStepAdd), 1);
    EXPECT_EQ(QtInputMap::ScrollCode(S::SliderPageStepSub), 2);
    EXPECT_EQ(QtInputMap::ScrollCode(S::SliderPageStepAdd), 3);
    EXPECT_EQ(QtInputMap::ScrollCode(S::SliderMove), 5);
    EXPECT_EQ(QtInputMap::ScrollCode(S::SliderToMinimum), 6);
    EXPECT_EQ(QtInputMap::ScrollCode(S::SliderToMaximum), 7);
    EXPECT_EQ(QtInputMap::ScrollCode(S::SliderNoAction), QtInputMap::NoScroll);
    // Clicks end at once; dragging the thumb ends when it is released.
    EXPECT_TRUE(QtInputMap::EndsAtOnce(S::SliderPageStepAdd));
    EXPECT_TRUE(QtInputMap::EndsAtOnce(S::SliderSingleStepSub));
    EXPECT_FALSE(QtInputMap::EndsAtOnce(S::SliderMove));
    EXPECT_FALSE(QtInputMap::EndsAtOnce(S::SliderNoAction));
}

} // namespace
