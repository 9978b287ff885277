// The slot dialog frm1: four saved boards in "brett.nnr".
#pragma once

#include "platform/platform.h"

namespace nonari {

FormLayout slotDialogForm();
void openSaveDialog();
void openLoadDialog();

}  // namespace nonari
