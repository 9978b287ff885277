// TODO stub: replaced by the real implementation.
#include "screen/side_panels.h"

namespace nonari {

void drawStatisticsPanel() {  }
void updateStatistics() {  }
void drawStatusPanel() {  }
void checkBoardStatus() {  }
void drawDifficultyPanel() {  }
void showDifficultyLine() {  }
void drawHelpPanel() {  }
void showHelpText() {  }
void drawTimePanel() {  }

}  // namespace nonari
