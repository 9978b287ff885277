// TODO stub: replaced by the real implementation.
#include "fame/champions_file.h"

namespace nonari {

void resetChampions() {  }
void loadChampions() {  }
bool saveChampions() { return {}; }
std::string utf8ToWindows1252(const std::string&) { return {}; }
std::string windows1252ToUtf8(const std::string&) { return {}; }

}  // namespace nonari
