// Translation of Qt input into the game's event model, and the FIFO the event wait takes from.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platform.h"

#include <QKeyEvent>

#include <deque>
#include <functional>

namespace nonari {

// Windows virtual-key code of a Qt key; 0 for keys without one.
int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);
// The virtual-key code of a key event. A shifted key of the digit row is still its digit, as on
// Windows, whatever symbol the layout puts on it.
int virtualKeyCode(const QKeyEvent& event);
// Keys that repeat while held: the arrows, Home and End.
bool repeatsWhileHeld(int virtualKey);
// Character code a key press types (Escape 27, Return 13); 0 when it types nothing.
int typedCharacter(const QKeyEvent& event);
// Mouse state as the move handler receives it: buttons 1 left, 2 right, 4 middle;
// shift 1 Shift, 2 Ctrl, 4 Alt.
int buttonMask(Qt::MouseButtons buttons);
int shiftMask(Qt::KeyboardModifiers modifiers);

// Input events and deferred work (menu commands, close requests) in the order they arrived.
class QtEventQueue {
public:
    struct Entry {
        InputEvent input;
        std::function<void()> action;  // set: run it instead of returning an input event
    };
    void push(const InputEvent& event) { entries.push_back(Entry{event, {}}); }
    void post(std::function<void()> action) { entries.push_back(Entry{InputEvent{}, std::move(action)}); }
    bool empty() const { return entries.empty(); }
    std::size_t size() const { return entries.size(); }
    Entry take() {
        Entry entry = std::move(entries.front());
        entries.pop_front();
        return entry;
    }
    void clear() { entries.clear(); }

private:
    std::deque<Entry> entries;
};

}  // namespace nonari
