// The one game state instance and its initial values.
#include "app/game_state.h"

namespace nonari {

GameState game;

void resetGameState() {
    game = GameState{};
    game.colourTable = {0x000000, 0x800000, 0x008000, 0xFFFF00, 0x0000BC, 0x800080, 0x008080, 0xC0C0C0,
                        0x404040, 0xFF0000, 0x00FF00, 0xE9DDD3, 0xB4C9D0, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    game.numbersMode = true;
    game.symmetryOn = true;
    game.difficultyName = {"  Leicht ", "  Mittel ", " Schwer ", " Extrem ", "Teuflisch"};
}

}  // namespace nonari
