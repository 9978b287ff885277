// The hall-of-fame dialog ruhm: one tab per difficulty, and clearing a list.
#pragma once

#include "platform/platform.h"

namespace nonari {

FormLayout hallOfFameForm();
void showHallOfFame();

}  // namespace nonari
