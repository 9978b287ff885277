// TODO stub: replaced by the real implementation.
#include "fame/hall_of_fame.h"

namespace nonari {

FormSpec hallOfFameForm() { return {}; }
void showHallOfFame() {  }

}  // namespace nonari
