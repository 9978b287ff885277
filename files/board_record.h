// The 2200-byte board record shared by the puzzle collections and the saved boards.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/safe_file.h"

#include <cstdint>
#include <string>

namespace nonari {

inline constexpr int boardRecordSize = 2200;
inline constexpr const char* savedBoardFile = "brett.nnr";

// Collection file name of a difficulty 0..4.
std::string collectionFile(int difficulty);
// Where a board file is read from: the working folder, else the shipped data folder (collections).
std::string locateBoardFile(const std::string& name);
// The copy of a collection shipped with the game; empty when there is none.
std::string shippedBoardFile(const std::string& name);
// Missing or Damaged (no complete, undamaged record there; for a collection, no puzzle that can be played)
// leave the grids as they were. A collection in the working folder without a usable record gives way to
// the shipped one.
FileResult readBoardRecord(std::int16_t record);
// Damaged: the file there cannot be read and is not replaced; NotWritten: writing failed. Either way
// the old file stays as it was.
FileResult writeBoardRecord(std::int16_t record);
// "&Neues Spiel": the collection of the current difficulty, a random record 0..3.
FileResult loadNewGamePuzzle();

}  // namespace nonari
