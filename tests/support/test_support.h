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

// A temporary folder as the working folder, removed again.
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

// A grid written row by row as 81 characters; anything but 1..9 is an empty cell.
Grid gridFromText(const std::string& rows81);

// Runs body in a forked child, for limits and identities the test process must not take; true when it returned true.
bool inChildProcess(const std::function<bool()>& body);
// For a child process: gives up root's privileges, so that permissions apply; false when it cannot.
bool actAsOrdinaryUser();

}  // namespace nonari::test
