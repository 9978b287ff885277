// TODO stub: replaced by the real implementation.
#include "app/startup.h"

namespace nonari {

int runNonari() { return {}; }
void startNonari() {  }
void Win_0_Close() {  }
void askExit() {  }

}  // namespace nonari
