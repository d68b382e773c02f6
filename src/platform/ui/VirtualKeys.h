#pragma once

namespace ui {

// Virtual-key codes as the control's key events carry them.
enum VirtualKey {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12, // Alt
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21, // Page Up
    VK_NEXT = 0x22,  // Page Down
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_A = 0x41,    // letters are their upper-case ASCII codes
    VK_APPS = 0x5D, // the application (context-menu) key
    VK_F1 = 0x70,
};

// Modifier bits of mouse and key events.
enum Modifier { ModShift = 1, ModCtrl = 2, ModAlt = 4 };

} // namespace ui
