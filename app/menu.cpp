// TODO stub: replaced by the real implementation.
#include "app/menu.h"

namespace nonari {

const std::vector<std::string>& menuTable() { static std::vector<std::string> t; return t; }
bool buildMenuBar(const std::vector<std::string>&) { return {}; }
bool buildMenuBar() { return {}; }
MenuId buildPopup(const std::vector<std::string>&, std::size_t&) { return {}; }
void updateMenuChecks() {  }

}  // namespace nonari
