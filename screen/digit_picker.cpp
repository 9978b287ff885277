// TODO stub: replaced by the real implementation.
#include "screen/digit_picker.h"

namespace nonari {

void Win_0_MouseMove(int, int, double, double) {  }
void drawDigitPicker(int, int) {  }
void runDigitPicker(int, int) {  }
void waitMouseRelease() {  }
bool clickedCell(int&, int&) { return {}; }
void handleBoardClick() {  }
void handleOwnBoardClick() {  }

}  // namespace nonari
