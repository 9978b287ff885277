// The one setting kept between runs ("Frische Rätsel"), in a small text file in the player's folder.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/safe_file.h"

namespace nonari {

inline constexpr const char* settingsFile = "einstellungen.txt";

// Missing or unreadable: the setting stays off, and nothing is said.
FileResult loadSettings();
// Replaces the file in one step, keeping its other lines; the old one stays when that fails, and a file
// that cannot be this one (no regular file, unreadable, longer than 4 KiB) is never replaced.
FileResult saveSettings();

}  // namespace nonari
