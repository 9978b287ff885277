// TODO stub: replaced by the real implementation.
#include "screen/layout.h"

namespace nonari {

FontSpec screenFont(int) { return {}; }
void selectFont(int) {  }
void drawBevelFrame(int, int, int, int, int, int) {  }
void drawShadowText(int, int, int, int, const std::string&) {  }
void drawBoardPanel() {  }

}  // namespace nonari
