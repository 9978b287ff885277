// The one game state instance.
#include "state/game_state.h"

namespace nonari {

GameState game;

void resetGameState() { game = GameState{}; }

}  // namespace nonari
