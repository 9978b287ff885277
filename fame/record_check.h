// The record check after a won timed game and the name form champ.
#pragma once

#include "platform/platform.h"

namespace nonari {

FormLayout championForm();
void checkForRecord();
void askChampionName();

}  // namespace nonari
