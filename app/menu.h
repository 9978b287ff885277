// The menu table and the builder that turns it into the main window's menu.
#pragma once

#include "platform/platform.h"

#include <cstddef>
#include <string>
#include <vector>

namespace nonari {

const std::vector<std::string>& menuTable();
// Builds from any table in the same form; start-up uses menuTable().
bool buildMenuBar(const std::vector<std::string>& table);
bool buildMenuBar();
MenuId buildPopup(const std::vector<std::string>& table, std::size_t& next);
void updateMenuChecks();

}  // namespace nonari
