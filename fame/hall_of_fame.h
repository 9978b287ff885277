// The hall-of-fame dialog ruhm: one tab per difficulty, and clearing a list.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platform.h"

namespace nonari {

FormLayout hallOfFameForm();
void showHallOfFame();

}  // namespace nonari
