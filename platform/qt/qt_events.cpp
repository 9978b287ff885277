// Key codes, typed characters and mouse masks in the form the game's handlers expect.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_events.h"

namespace nonari {

int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        // Keypad digits have codes of their own.
        if (modifiers & Qt::KeypadModifier) return 0x60 + (qtKey - Qt::Key_0);
        return qtKey;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Clear: return 0x0C;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Print: return 0x2C;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Asterisk: return (modifiers & Qt::KeypadModifier) ? 0x6A : 0;
    case Qt::Key_Plus: return (modifiers & Qt::KeypadModifier) ? 0x6B : 0xBB;
    case Qt::Key_Minus: return (modifiers & Qt::KeypadModifier) ? 0x6D : 0xBD;
    case Qt::Key_Period: return (modifiers & Qt::KeypadModifier) ? 0x6E : 0xBE;
    case Qt::Key_Slash: return (modifiers & Qt::KeypadModifier) ? 0x6F : 0;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_NumLock: return 0x90;
    case Qt::Key_ScrollLock: return 0x91;
    default: return 0;
    }
}

int virtualKeyCode(const QKeyEvent& event) {
    const int key = virtualKeyCode(event.key(), event.modifiers());
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return key;
    // X keycodes 10..19 are the digit row 1..9, 0 on every layout.
    const quint32 scan = event.nativeScanCode();
    if (scan >= 10 && scan <= 19 && !(event.modifiers() & Qt::KeypadModifier))
        return scan == 19 ? '0' : static_cast<int>('1' + (scan - 10));
    return key;
}

bool repeatsWhileHeld(int virtualKey) { return virtualKey >= KeyEnd && virtualKey <= KeyArrowDown; }

int typedCharacter(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Escape: return 27;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    default: break;
    }
    // Alt combinations belong to the menu bar, as system characters do.
    if (event.modifiers() & Qt::AltModifier) return 0;
    const QString text = event.text();
    if (text.isEmpty()) return 0;
    const char32_t code = text.toUcs4().value(0);
    if (code == 0x7F) return 0;
    return static_cast<int>(code);
}

int buttonMask(Qt::MouseButtons buttons) {
    int mask = 0;
    if (buttons & Qt::LeftButton) mask |= 1;
    if (buttons & Qt::RightButton) mask |= 2;
    if (buttons & Qt::MiddleButton) mask |= 4;
    return mask;
}

int shiftMask(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    if (modifiers & Qt::ShiftModifier) mask |= 1;
    if (modifiers & Qt::ControlModifier) mask |= 2;
    if (modifiers & Qt::AltModifier) mask |= 4;
    return mask;
}

}  // namespace nonari
