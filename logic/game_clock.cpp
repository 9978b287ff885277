// TODO stub: replaced by the real implementation.
#include "logic/game_clock.h"

namespace nonari {

void updateClock() {  }
void clockThread() {  }
void startClockThread() {  }
void joinClockThread() {  }
bool refreshRunningTime(double) { return {}; }
std::string twoDigits(long) { return {}; }
std::string runningClockText(long, long, double) { return {}; }
std::string finalClockText(long, long, double) { return {}; }

}  // namespace nonari
