// The two play loops: a game, and typing in an own board. They dispatch keys, painted buttons and board clicks.
#pragma once

namespace nonari {

void playLoop();
void ownBoardLoop();

}  // namespace nonari
