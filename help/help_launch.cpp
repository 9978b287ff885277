// TODO stub: replaced by the real implementation.
#include "help/help_launch.h"

namespace nonari {

bool htmlHelpPlatform() { return {}; }
bool htmlHelpPlatformFor(std::uint32_t) { return {}; }
void showHelpTopic(const std::string&, const std::string&) {  }
void showHelpKeyword(const std::string&, const std::string&) {  }
void closeWinHelp() {  }
void showManualOverview() {  }
void showRulesHelp() {  }

}  // namespace nonari
