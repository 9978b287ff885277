// Opening the manual: the HTML or the WinHelp form, chosen once at start-up.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace nonari {

bool htmlHelpPlatform();
// The decision rule on a reported version value.
bool htmlHelpPlatformFor(std::uint32_t version);
void showHelpTopic(const std::string& file, const std::string& topic);
void showHelpKeyword(const std::string& file, const std::string& keyword);
void closeWinHelp();
// "&Anleitung" and the play screen's " _Hilfe ".
void showManualOverview();
void showRulesHelp();

}  // namespace nonari
