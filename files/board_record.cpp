// The 2200-byte board record shared by the puzzle collections and the saved boards.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/board_record.h"

#include "logic/puzzle_check.h"
#include "platform/folders.h"
#include "platform/safe_file.h"
#include "platform/system.h"
#include "state/game_state.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <vector>

namespace nonari {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t gridBytes = 100;
constexpr std::size_t candidateImageBytes = 1000;
constexpr std::size_t fillerBytes = 1000;
constexpr std::size_t boardOffset = 0;
constexpr std::size_t givensOffset = boardOffset + gridBytes;
constexpr std::size_t candidatesOffset = givensOffset + gridBytes;
constexpr std::size_t fillerOffset = candidatesOffset + candidateImageBytes;
constexpr std::size_t recordsPerBoardFile = 4;
constexpr std::size_t boardFileSize = recordsPerBoardFile * boardRecordSize;

constexpr std::array<const char*, 5> collectionNames = {"leicht.nnr", "mittel.nnr", "schwer.nnr", "extrem.nnr",
                                                        "teuflisch.nnr"};

struct DecodedRecord {
    Grid board;
    Grid givens;
    std::array<std::uint8_t, candidateImageBytes> candidateBytes{};
};

// A bare file name: board files live in one folder and are never reached through a path.
bool isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

bool isCollection(const std::string& name) {
    return std::find(collectionNames.begin(), collectionNames.end(), name) != collectionNames.end();
}

bool isRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool gridHoldsOnlyDigits(const Grid& grid) {
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            if (grid(c, r) > 9) return false;
    return true;
}

// The record's first 1200 bytes, or why there are none: the file is missing, is no regular file, or
// holds no complete, undamaged record there.
FileResult readRecordImage(const std::string& path, std::int16_t record, DecodedRecord& decoded) {
    if (record < 0) return FileResult::Damaged;
    const FileRead read = readRegularFile(path, boardRecordSize, static_cast<std::uint64_t>(record) * boardRecordSize);
    if (read.result != FileResult::Ok) return read.result;
    // The filler is not used, but a record that ends early is no complete record.
    if (read.bytes.size() < boardRecordSize) return FileResult::Damaged;

    auto copyBytes = [&read](std::size_t offset, std::size_t count, std::uint8_t* to) {
        std::copy_n(read.bytes.begin() + static_cast<std::ptrdiff_t>(offset), count, to);
    };
    copyBytes(boardOffset, gridBytes, decoded.board.cell.data());
    copyBytes(givensOffset, gridBytes, decoded.givens.cell.data());
    copyBytes(candidatesOffset, candidateImageBytes, decoded.candidateBytes.data());
    if (!gridHoldsOnlyDigits(decoded.board) || !gridHoldsOnlyDigits(decoded.givens)) return FileResult::Damaged;
    return FileResult::Ok;
}

// A puzzle to play: a collection record without a single given is as good as none.
bool holdsAGiven(const Grid& givens) {
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            if (givens(c, r) != 0) return true;
    return false;
}

void appendFiller(std::vector<unsigned char>& image, std::size_t offset) {
    for (std::size_t i = 0; i < fillerBytes; ++i) image[offset + i] = static_cast<unsigned char>(random(9) + 1);
}

// A stored record the loader would take: complete, with digits only in both grids.
bool isLoadableRecord(const std::vector<unsigned char>& bytes, std::size_t start) {
    if (bytes.size() < start + boardRecordSize) return false;
    Grid board, givens;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(start + boardOffset), gridBytes, board.cell.begin());
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(start + givensOffset), gridBytes, givens.cell.begin());
    return gridHoldsOnlyDigits(board) && gridHoldsOnlyDigits(givens);
}

// The whole new file, always four records: every record of the old file the loader could read stays
// as it is, missing and damaged ones become blank. Nothing when the old file cannot be read, so that
// it is never replaced unseen.
std::optional<std::vector<unsigned char>> startingImage(const std::string& path) {
    // A pipe or a device is not read, and not replaced; bytes beyond the four records belong to no slot.
    FileRead read = readRegularFile(path, boardFileSize);
    if (read.result != FileResult::Ok && read.result != FileResult::Missing) return std::nullopt;
    const std::vector<unsigned char>& old = read.bytes;

    std::vector<unsigned char> image(boardFileSize, 0);
    for (std::size_t record = 0; record < recordsPerBoardFile; ++record) {
        const std::size_t start = record * boardRecordSize;
        if (isLoadableRecord(old, start))
            std::copy_n(old.begin() + static_cast<std::ptrdiff_t>(start), boardRecordSize,
                        image.begin() + static_cast<std::ptrdiff_t>(start));
        else
            appendFiller(image, start + fillerOffset);
    }
    return image;
}

void encodeRecord(std::vector<unsigned char>& image, std::size_t start) {
    const PuzzleState& puzzle = game.puzzle;
    std::copy(puzzle.board.cell.begin(), puzzle.board.cell.end(), image.begin() + static_cast<std::ptrdiff_t>(start));
    std::copy(puzzle.givens.cell.begin(), puzzle.givens.cell.end(),
              image.begin() + static_cast<std::ptrdiff_t>(start + givensOffset));
    std::array<std::uint8_t, candidateImageBytes> candidateBytes{};
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            for (int d = 1; d <= 9; ++d)
                if (puzzle.candidates(c, r, d)) candidateBytes[static_cast<std::size_t>(c + 10 * r + 100 * d)] = 0xFF;
    std::copy(candidateBytes.begin(), candidateBytes.end(),
              image.begin() + static_cast<std::ptrdiff_t>(start + candidatesOffset));
    appendFiller(image, start + fillerOffset);
}

}  // namespace

std::string collectionFile(int difficulty) {
    if (difficulty < 0 || difficulty >= static_cast<int>(collectionNames.size())) return {};
    return collectionNames[static_cast<std::size_t>(difficulty)];
}

std::string shippedBoardFile(const std::string& name) {
    if (!isPlainName(name) || !isCollection(name)) return {};
    const fs::path shipped = shippedFile(name);
    return shipped.empty() ? std::string() : shipped.string();
}

std::string locateBoardFile(const std::string& name) {
    if (!isPlainName(name) || isRegularFile(name) || !isCollection(name)) return name;
    std::string shipped = shippedBoardFile(name);
    return shipped.empty() ? name : shipped;
}

FileResult readBoardRecord(std::int16_t record) {
    game.clock.clockRunning = false;
    if (!isPlainName(game.dialog.currentFile)) return FileResult::Missing;
    const std::string path = locateBoardFile(game.dialog.currentFile);
    DecodedRecord decoded;
    FileResult result = readRecordImage(path, record, decoded);
    if (isCollection(game.dialog.currentFile)) {
        // A puzzle that cannot be won, or is won before it starts, is as good as none.
        auto usable = [&decoded] { return holdsAGiven(decoded.givens) && isUsablePuzzle(decoded.board, decoded.givens); };
        if (result == FileResult::Ok && !usable()) result = FileResult::Damaged;
        // An empty, damaged or broken collection in the working folder gives way to the shipped one.
        const std::string shipped = shippedBoardFile(game.dialog.currentFile);
        if (result != FileResult::Ok && !shipped.empty() && shipped != path) {
            result = readRecordImage(shipped, record, decoded);
            if (result == FileResult::Ok && !usable()) result = FileResult::Damaged;
        }
    }
    if (result != FileResult::Ok) return result;

    game.puzzle.board = decoded.board;
    game.puzzle.givens = decoded.givens;
    game.puzzle.candidates.clear();
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            for (int d = 1; d <= 9; ++d)
                game.puzzle.candidates(c, r, d) = decoded.candidateBytes[std::size_t(c + 10 * r + 100 * d)] != 0;
    return FileResult::Ok;
}

FileResult writeBoardRecord(std::int16_t record) {
    // Only the working folder is written, and only the four records a board file holds.
    if (!isPlainName(game.dialog.currentFile)) return FileResult::NotWritten;
    if (record < 0 || static_cast<std::size_t>(record) >= recordsPerBoardFile) return FileResult::NotWritten;
    // Another game in the same folder may save into another slot at the same moment: only under the
    // lock is the file as read here the file replaced.
    const SaveLock lock;
    if (lock.result() != FileResult::Ok) return lock.result();
    std::optional<std::vector<unsigned char>> image = startingImage(game.dialog.currentFile);
    if (!image) return FileResult::Damaged;
    encodeRecord(*image, static_cast<std::size_t>(record) * boardRecordSize);
    return replaceFileContents(game.dialog.currentFile, *image);
}

FileResult loadNewGamePuzzle() {
    game.dialog.currentFile = collectionFile(game.settings.difficulty);
    return readBoardRecord(static_cast<std::int16_t>(random(4)));
}

}  // namespace nonari
