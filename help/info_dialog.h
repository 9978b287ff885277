// The information dialog Inf.
#pragma once

#include "platform/platform.h"

namespace nonari {

FormSpec informationForm();
void showInformation();

}  // namespace nonari
