// TODO stub: replaced by the real implementation.
#include "app/commands.h"

namespace nonari {

void Win_0_MenuEvent(int) {  }

}  // namespace nonari
