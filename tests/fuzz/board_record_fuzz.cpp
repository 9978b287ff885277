// Fuzz target: any bytes as the saved-board file and as a collection in the working folder.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/board_record.h"
#include "logic/puzzle_check.h"
#include "platform/system.h"
#include "state/game_state.h"
#include "tests/fuzz/fuzz_support.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

using namespace nonari;

namespace {

// Only digits in the 81 cells, and with needAGiven at least one that is not 0.
bool digitsOnly(const Grid& grid, bool needAGiven = false) {
    bool any = false;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) {
            if (grid(c, r) > 9) return false;
            any |= grid(c, r) != 0;
        }
    return any || !needAGiven;
}

Grid gridAt(const std::vector<unsigned char>& file, std::size_t at) {
    Grid grid;
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(at), 100, grid.cell.begin());
    return grid;
}

auto grids(const GameState& g) { return std::tie(g.puzzle.board, g.puzzle.givens, g.puzzle.candidates); }

// As brett.nnr: a slot that loads holds digits only; saved back, it loads the same in a file of four records.
void asSavedBoards(const std::uint8_t* data, std::size_t size) {
    for (std::int16_t slot = 0; slot < 4; ++slot) {
        fuzz::writeFile(savedBoardFile, data, size);
        resetGameState();
        game.puzzle.board(9, 9) = 7;
        const GameState before = game;
        game.dialog.currentFile = savedBoardFile;
        if (readBoardRecord(slot) != FileResult::Ok) {
            FUZZ_CHECK(grids(game) == grids(before));
            continue;
        }
        FUZZ_CHECK(digitsOnly(game.puzzle.board) && digitsOnly(game.puzzle.givens));
        const GameState loaded = game;
        const std::vector<unsigned char> old = fuzz::readFile(savedBoardFile);
        FUZZ_CHECK(writeBoardRecord(slot) == FileResult::Ok);
        const std::vector<unsigned char> written = fuzz::readFile(savedBoardFile);
        FUZZ_CHECK(written.size() == 4u * boardRecordSize);
        // Every other whole record the loader would take stays as it was; any other one becomes blank.
        for (std::size_t other = 0, at = 0; other < 4; ++other, at += boardRecordSize) {
            const auto from = written.begin() + static_cast<std::ptrdiff_t>(at);
            if (other == std::size_t(slot)) continue;
            if (old.size() >= at + boardRecordSize && digitsOnly(gridAt(old, at)) && digitsOnly(gridAt(old, at + 100)))
                FUZZ_CHECK(std::equal(from, from + boardRecordSize, old.begin() + static_cast<std::ptrdiff_t>(at)));
            else
                FUZZ_CHECK(std::all_of(from, from + 1200, [](unsigned char b) { return b == 0; }));
        }
        resetGameState();
        game.dialog.currentFile = savedBoardFile;
        FUZZ_CHECK(readBoardRecord(slot) == FileResult::Ok && grids(game) == grids(loaded));
    }
}

// As a collection here: every draw gives a puzzle that can be played, from this file or from the shipped one.
void asCollection(const std::uint8_t* data, std::size_t size) {
    const std::string name = collectionFile(0);
    fuzz::writeFile(name, data, size);
    for (std::int16_t record = 0; record < 4; ++record) {
        resetGameState();
        game.dialog.currentFile = name;
        FUZZ_CHECK(readBoardRecord(record) == FileResult::Ok);
        FUZZ_CHECK(digitsOnly(game.puzzle.board) && digitsOnly(game.puzzle.givens, true));
        FUZZ_CHECK(isUsablePuzzle(game.puzzle.board, game.puzzle.givens));
    }
    std::filesystem::remove(name);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("NONARI_DATA_DIR", NONARI_SOURCE_DIR "/data", 1);  // the shipped collections
    fuzz::enterOwnFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    seedRandom(static_cast<std::uint32_t>(size));
    asSavedBoards(data, size);
    asCollection(data, size);
    std::filesystem::remove(savedBoardFile);
    return 0;
}
