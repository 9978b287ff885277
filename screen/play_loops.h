// The button bar below the board and the two play loops: a game, and typing in an own board.
#pragma once

#include <string>

namespace nonari {

void drawButton(int state, int x, int y, const std::string& label);
void playLoop();
void ownBoardLoop();

}  // namespace nonari
