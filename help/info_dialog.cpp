// TODO stub: replaced by the real implementation.
#include "help/info_dialog.h"

namespace nonari {

FormSpec informationForm() { return {}; }
void showInformation() {  }

}  // namespace nonari
