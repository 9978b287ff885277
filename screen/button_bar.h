// The six painted buttons below the board: their look, their places and their click zones.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace nonari {

enum class Button { Laden, Sichern, Drucken, Neustart, Hilfe, Abbruch, None };

// State 0 draws the button raised, 1 pressed. A "_" marks the hot letter that follows it.
void drawButton(int state, int x, int y, const std::string& label);
// The button at its own place below the board.
void drawButton(int state, Button button);
// All six, raised, left to right.
void drawButtonBar();
// The button whose click zone holds the point; the zones tile the strip without gaps.
Button buttonAt(int x, int y);

}  // namespace nonari
