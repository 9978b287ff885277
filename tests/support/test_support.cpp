// Shared test helpers.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/test_support.h"

#include "logic/puzzle_reserve.h"
#include "platform/safe_file.h"
#include "screen/game_clock.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace nonari::test {

TempWorkDir::TempWorkDir() : previous(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "nonari-test-XXXXXX").string();
    dir = mkdtemp(pattern.data());
    std::filesystem::current_path(dir);
}

TempWorkDir::~TempWorkDir() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(dir, ignored);
}

std::vector<unsigned char> readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& file, const std::vector<unsigned char>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::filesystem::path sourceDir() { return NONARI_SOURCE_DIR; }

void HeadlessGame::SetUp() {
    installPlatform(&pf);
    resetGameState();
    seedRandom(12345);
    saveLockWaitMilliseconds = 5000;
    work = std::make_unique<TempWorkDir>();
}

void HeadlessGame::TearDown() {
    // Threads started by a test must not outlive the platform they write to.
    game.clock.clockRunning = false;
    joinClockThread();
    stopFreshPuzzles();
    work.reset();
    installPlatform(nullptr);
}

Grid gridFromText(const std::string& rows81) {
    Grid grid;
    for (int i = 0; i < 81 && i < static_cast<int>(rows81.size()); ++i) {
        char ch = rows81[static_cast<std::size_t>(i)];
        grid(i % 9 + 1, i / 9 + 1) = (ch >= '1' && ch <= '9') ? static_cast<std::uint8_t>(ch - '0') : 0;
    }
    return grid;
}

bool inChildProcess(const std::function<bool()>& body) {
    pid_t child = fork();
    if (child == 0) _exit(body() ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool actAsOrdinaryUser() { return geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0); }

}  // namespace nonari::test
