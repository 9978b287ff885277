// The slot dialog frm1: four saved boards in "brett.nnr".
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platform.h"

namespace nonari {

FormLayout slotDialogForm();
void openSaveDialog();
void openLoadDialog();

}  // namespace nonari
