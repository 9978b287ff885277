// The information dialog Inf.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platform.h"

namespace nonari {

FormLayout informationForm();
void showInformation();

}  // namespace nonari
