// TODO stub: replaced by the real implementation.
#include "logic/rules.h"

namespace nonari {

bool isConsistent() { return {}; }
bool isBoxConsistent(int, int) { return {}; }
bool trialPlacement(int, int, int) { return {}; }
bool hasNoDeadCell() { return {}; }
void computeCandidates() {  }
void restartBoard() {  }
void clearBoard() {  }

}  // namespace nonari
