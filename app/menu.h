// The menu table and the builder that turns it into the main window's menu.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platform.h"

#include <cstddef>
#include <string>
#include <vector>

namespace nonari {

// The command ids of the menu items: the table names them, the dispatcher runs them.
enum class MenuCommand : int {
    About = 1,
    NewGame = 8,
    StartGame = 10,
    OwnBoard = 11,
    PrintSheets = 12,
    LoadBoard = 20,
    SaveBoard = 21,
    SolveBoard = 22,
    ShuffleBoard = 24,
    RestartBoard = 25,
    ClearBoard = 26,
    PrintBoard = 27,
    Leicht = 30,
    Mittel = 31,
    Schwer = 32,
    Extrem = 33,
    Teuflisch = 34,
    Numbers = 40,
    Letters = 41,
    ShowCandidates = 44,
    Symmetry = 45,
    HallOfFame = 50,
    Manual = 60,
    MarkClashes = 70,
    FreshPuzzles = 71,
    Exit = 99,
};

// The id the platform reports for the item.
constexpr int menuId(MenuCommand command) { return static_cast<int>(command); }

// The menu item of a difficulty 0..4.
inline MenuCommand difficultyCommand(int difficulty) {
    return static_cast<MenuCommand>(static_cast<int>(MenuCommand::Leicht) + difficulty);
}

const std::vector<std::string>& menuTable();
// Builds from any table in the same form; start-up uses menuTable().
bool buildMenuBar(const std::vector<std::string>& table);
bool buildMenuBar();
MenuId buildPopup(const std::vector<std::string>& table, std::size_t& next);
void updateMenuChecks();

}  // namespace nonari
