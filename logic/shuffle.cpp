// TODO stub: replaced by the real implementation.
#include "logic/shuffle.h"

namespace nonari {

void shuffleBoard() {  }
void swapRows(int, int) {  }
void swapColumns(int, int) {  }
void swapStacks(int, int) {  }
void swapBands(int, int) {  }
void swapMiddleLines() {  }
void flipRows() {  }
void flipColumns() {  }
void rotateBoard() {  }
void relabelDigits() {  }

}  // namespace nonari
