// TODO stub: replaced by the real implementation.
#include "print/puzzle_sheets.h"

namespace nonari {

void printSheets() {  }

}  // namespace nonari
