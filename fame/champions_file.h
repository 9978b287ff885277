// The hall-of-fame tables and their file "Champions.Rhm" (150 lines, Windows-1252, CR LF).
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/safe_file.h"

#include <functional>
#include <string>

namespace nonari {

inline constexpr const char* championsFile = "Champions.Rhm";

// Far above the 150 short lines the game writes; a longer file is taken as damaged.
inline constexpr std::size_t championsFileLimit = 1024 * 1024;

void resetChampions();
// A missing or damaged file gives empty lists.
FileResult loadChampions();
// Writes the tables over the file in one step. A file that exists but cannot be read is never replaced
// (Damaged); NotWritten when the new one could not be written. In both cases the old file stays.
FileResult saveChampions();
// One change to the hall of fame as it is on disk: under the saves' lock, the file is read into the
// tables, change applied to them and the result written. Another game's records in the same folder stay.
FileResult changeChampions(const std::function<void()>& change);

// Windows-1252 conversions; a character the code page cannot hold becomes "?".
std::string utf8ToWindows1252(const std::string& utf8);
std::string windows1252ToUtf8(const std::string& bytes);

}  // namespace nonari
