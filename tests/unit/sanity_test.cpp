// TODO stub test: removed once real tests exist.
#include "tests/support/test_support.h"
TEST(Sanity, GameStateStartsEmpty) { nonari::resetGameState(); EXPECT_TRUE(nonari::game.numbersMode); }
