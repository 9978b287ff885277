// The one game state instance.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/game_state.h"

namespace nonari {

GameState game;

void resetGameState() { game = GameState{}; }

}  // namespace nonari
