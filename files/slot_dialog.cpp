// TODO stub: replaced by the real implementation.
#include "files/slot_dialog.h"

namespace nonari {

FormSpec slotDialogForm() { return {}; }
void openSaveDialog() {  }
void openLoadDialog() {  }

}  // namespace nonari
