// The 2200-byte board record shared by the puzzle collections and the saved boards.
#pragma once

#include <cstdint>
#include <string>

namespace nonari {

inline constexpr int boardRecordSize = 2200;
inline constexpr const char* savedBoardFile = "brett.nnr";

// Collection file name of a difficulty 0..4.
std::string collectionFile(int difficulty);
// Where a board file is read from: the working folder, else the shipped data folder (collections).
std::string locateBoardFile(const std::string& name);
void readBoardRecord(std::int16_t record);
void writeBoardRecord(std::int16_t record);
// "&Neues Spiel": the collection of the current difficulty, a random record 0..3.
void loadNewGamePuzzle();

}  // namespace nonari
