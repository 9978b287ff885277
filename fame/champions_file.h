// The hall-of-fame tables and their file "Champions.Rhm" (150 lines, Windows-1252, CR LF).
#pragma once

#include <string>

namespace nonari {

inline constexpr const char* championsFile = "Champions.Rhm";

void resetChampions();
void loadChampions();
// Replaces the file in one step; false when it could not be written (the old file stays).
bool saveChampions();

// Windows-1252 conversions; a character the code page cannot hold becomes "?".
std::string utf8ToWindows1252(const std::string& utf8);
std::string windows1252ToUtf8(const std::string& bytes);

}  // namespace nonari
