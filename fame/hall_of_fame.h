// The hall-of-fame dialog ruhm: one tab per difficulty, and clearing a list.
#pragma once

#include "platform/platform.h"

namespace nonari {

FormSpec hallOfFameForm();
void showHallOfFame();

}  // namespace nonari
