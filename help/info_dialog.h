// The information dialog Inf.
#pragma once

#include "platform/platform.h"

namespace nonari {

FormLayout informationForm();
void showInformation();

}  // namespace nonari
