// The record check after a won timed game and the name form champ.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platform.h"

namespace nonari {

FormLayout championForm();
void checkForRecord();
void askChampionName();

}  // namespace nonari
