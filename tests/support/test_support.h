// Shared test helpers: a fresh game state on the headless platform, run inside a temporary working folder.
#pragma once

#include "app/game_state.h"
#include "platform/headless_platform.h"

#include <gtest/gtest.h>

#include <filesystem>
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
std::string gridToText(const Grid& grid);

}  // namespace nonari::test
