// TODO stub: replaced by the real implementation.
#include "screen/play_loops.h"

namespace nonari {

void drawButton(int, int, int, const std::string&) {  }
void playLoop() {  }
void ownBoardLoop() {  }

}  // namespace nonari
