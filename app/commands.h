// Dispatch of every menu command.
#pragma once

namespace nonari {

inline constexpr const char* helpTextClickCell = "Bitte ein Feld anklicken!";
inline constexpr const char* helpTextChooseMenu = "Bitte Menupunkt auswählen!";

void Win_0_MenuEvent(int id);

}  // namespace nonari
