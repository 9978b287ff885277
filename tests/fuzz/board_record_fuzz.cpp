// Fuzz target: any bytes as the saved-board file and as a collection in the working folder.
#include "files/board_record.h"
#include "platform/system.h"
#include "state/game_state.h"
#include "tests/fuzz/fuzz_support.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

using namespace nonari;

namespace {

bool onlyDigits(const Grid& grid) {
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            if (grid(c, r) > 9) return false;
    return true;
}

bool anyGiven(const Grid& grid) {
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            if (grid(c, r) != 0) return true;
    return false;
}

std::vector<unsigned char> recordBytes(const std::vector<unsigned char>& file, int record) {
    const auto from = file.begin() + record * boardRecordSize;
    return {from, from + boardRecordSize};
}

// As brett.nnr: a slot that loads holds digits only; saved back, it loads the same, and in a whole
// file of four records no other record changes.
void asSavedBoards(const std::uint8_t* data, std::size_t size) {
    for (std::int16_t slot = 0; slot < 4; ++slot) {
        fuzz::writeFile(savedBoardFile, data, size);
        resetGameState();
        game.puzzle.board(9, 9) = 7;
        const GameState before = game;
        game.dialog.currentFile = savedBoardFile;
        if (readBoardRecord(slot) != FileResult::Ok) {
            FUZZ_CHECK(std::tie(game.puzzle.board, game.puzzle.givens, game.puzzle.candidates) ==
                       std::tie(before.puzzle.board, before.puzzle.givens, before.puzzle.candidates));
            continue;
        }
        FUZZ_CHECK(onlyDigits(game.puzzle.board) && onlyDigits(game.puzzle.givens));
        const GameState loaded = game;
        const std::vector<unsigned char> old = fuzz::readFile(savedBoardFile);
        const FileResult saved = writeBoardRecord(slot);
        if (size > (1u << 20)) {  // far beyond a board file: never replaced
            FUZZ_CHECK(saved == FileResult::Damaged && fuzz::readFile(savedBoardFile) == old);
            continue;
        }
        FUZZ_CHECK(saved == FileResult::Ok);
        const std::vector<unsigned char> written = fuzz::readFile(savedBoardFile);
        FUZZ_CHECK(written.size() >= 4u * boardRecordSize);
        if (old.size() == 4u * boardRecordSize)
            for (int other = 0; other < 4; ++other)
                if (other != slot) FUZZ_CHECK(recordBytes(written, other) == recordBytes(old, other));
        resetGameState();
        game.dialog.currentFile = savedBoardFile;
        FUZZ_CHECK(readBoardRecord(slot) == FileResult::Ok);
        FUZZ_CHECK(std::tie(game.puzzle.board, game.puzzle.givens, game.puzzle.candidates) ==
                   std::tie(loaded.puzzle.board, loaded.puzzle.givens, loaded.puzzle.candidates));
    }
}

// As a collection here: every draw gives a puzzle, from this file or from the shipped one.
void asCollection(const std::uint8_t* data, std::size_t size) {
    const std::string name = collectionFile(0);
    fuzz::writeFile(name, data, size);
    for (std::int16_t record = 0; record < 4; ++record) {
        resetGameState();
        game.dialog.currentFile = name;
        FUZZ_CHECK(readBoardRecord(record) == FileResult::Ok);
        FUZZ_CHECK(onlyDigits(game.puzzle.board) && onlyDigits(game.puzzle.givens) && anyGiven(game.puzzle.givens));
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
