// Shared test helpers: a fresh game state on the headless platform, run inside a temporary working folder.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/headless_platform.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "state/game_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace nonari::test {

// Creates a temporary folder, makes it the working folder and removes it again.
class TempWorkDir {
public:
    TempWorkDir();
    ~TempWorkDir();
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;
    const std::filesystem::path& path() const { return dir; }

private:
    std::filesystem::path previous;
    std::filesystem::path dir;
};

std::vector<unsigned char> readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::vector<unsigned char>& bytes);
std::filesystem::path sourceDir();

// Fixture: headless platform installed, game state reset, generator seeded, own working folder.
class HeadlessGame : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    HeadlessPlatform pf;
    std::unique_ptr<TempWorkDir> work;
};

// A valid solution grid, written row by row as 81 digits.
Grid gridFromText(const std::string& rows81);

// Counts the solutions of a board's cells up to `limit` by plain backtracking, independent of the game's rules;
// 0 when its digits already clash or a byte is no digit. The first solution found goes to *first.
int countSolutions(const Grid& board, int limit = 2, Grid* first = nullptr);

// Runs body in a forked child, for limits and identities that must not touch the test process; true when the
// child returned true.
bool inChildProcess(const std::function<bool()>& body);
// For a child process: gives up root's privileges, so that file and folder permissions apply; false when it cannot.
bool actAsOrdinaryUser();

}  // namespace nonari::test
