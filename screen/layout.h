// The fixed play-screen geometry, the font set and the frame and title primitives every panel is built from.
#pragma once

#include "platform/platform.h"

#include <string>

namespace nonari {

// The font behind a font number: 4, 6, 8, 18, 20, 40 are the game's own; 14 is "Fixedsys";
// 16 and every other number "System".
FontRequest screenFont(int number);
void selectFont(int number);
void drawBevelFrame(int sunken, int depth, int x1, int y1, int x2, int y2);
void drawShadowText(int fontNumber, int colourIndex, int x, int y, const std::string& text);
void drawBoardPanel();

}  // namespace nonari
