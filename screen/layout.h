// The fixed play-screen geometry, the font set and the frame and title primitives every panel is built from.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platform.h"

#include <array>
#include <string>

namespace nonari {

// The sixteen colours every drawing names by index.
enum Colour : int {
    Black = 0, DarkRed = 1, DarkGreen = 2, Yellow = 3, DarkBlue = 4, Purple = 5, Teal = 6, LightGrey = 7,
    DarkGrey = 8, Red = 9, Green = 10, LightBeige = 11, BlueGrey = 12, Magenta = 13, Cyan = 14, White = 15
};

inline constexpr std::array<Rgb, 16> colourTable = {0x000000, 0x800000, 0x008000, 0xFFFF00, 0x0000BC, 0x800080,
                                                    0x008080, 0xC0C0C0, 0x404040, 0xFF0000, 0x00FF00, 0xE9DDD3,
                                                    0xB4C9D0, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

inline Rgb colour(int index) { return colourTable[static_cast<std::size_t>(index & 15)]; }

// The font behind a font number: 4, 6, 8, 18, 20, 40 are the game's own; 14 is "Fixedsys";
// 16 and every other number "System".
FontRequest screenFont(int number);
void selectFont(int number);
void drawBevelFrame(int sunken, int depth, int x1, int y1, int x2, int y2);
void drawShadowText(int fontNumber, int colourIndex, int x, int y, const std::string& text);
void drawBoardPanel();

}  // namespace nonari
