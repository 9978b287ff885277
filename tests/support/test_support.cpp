// Shared test helpers.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/test_support.h"

#include "platform/safe_file.h"
#include "screen/game_clock.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>
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
    // A clock thread started by a test must not outlive the platform it writes to.
    game.clock.clockRunning = false;
    joinClockThread();
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

namespace {

// Digits seen by cell (c, r) as bits 1..9 (bit 0: empty peers); every byte must be a digit or 0.
unsigned usedAround(const Grid& g, int c, int r) {
    unsigned used = 0;
    int bc = (c - 1) / 3 * 3 + 1, br = (r - 1) / 3 * 3 + 1;
    for (int i = 0; i < 9; ++i) used |= 1u << g(c, i + 1) | 1u << g(i + 1, r) | 1u << g(bc + i % 3, br + i / 3);
    return used;
}

// Fills the empty cell with the fewest options first.
void search(Grid& g, int limit, int& found, Grid* first) {
    int bestC = 0, bestR = 0, bestCount = 10;
    unsigned bestFree = 0;
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c) {
            if (g(c, r) != 0) continue;
            unsigned free = ~usedAround(g, c, r) & 0x3FEu;
            int count = __builtin_popcount(free);
            if (count < bestCount) bestC = c, bestR = r, bestCount = count, bestFree = free;
        }
    if (bestC == 0) {
        if (found++ == 0 && first != nullptr) *first = g;
        return;
    }
    for (int d = 1; d <= 9 && found < limit; ++d) {
        if ((bestFree & (1u << d)) == 0) continue;
        g(bestC, bestR) = static_cast<std::uint8_t>(d);
        search(g, limit, found, first);
        g(bestC, bestR) = 0;
    }
}

}  // namespace

int countSolutions(const Grid& board, int limit, Grid* first) {
    Grid g = board;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) {
            const std::uint8_t d = std::exchange(g(c, r), 0);
            if (d > 9 || (d != 0 && (usedAround(g, c, r) & (1u << d)) != 0)) return 0;
            g(c, r) = d;
        }
    int found = 0;
    search(g, limit, found, first);
    return found;
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
