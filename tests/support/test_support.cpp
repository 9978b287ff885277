// Shared test helpers.
#include "tests/support/test_support.h"

#include "logic/game_clock.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace nonari::test {

TempWorkDir::TempWorkDir() : previous(std::filesystem::current_path()) {
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() / ("nonari-test-" + std::to_string(seed()));
        if (std::filesystem::create_directory(candidate)) {
            dir = candidate;
            break;
        }
    }
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
    work = std::make_unique<TempWorkDir>();
}

void HeadlessGame::TearDown() {
    // A clock thread started by a test must not outlive the platform it writes to.
    game.clockRunning = false;
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

std::string gridToText(const Grid& grid) {
    std::string text;
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c) text += grid(c, r) == 0 ? '.' : static_cast<char>('0' + grid(c, r));
    return text;
}

}  // namespace nonari::test
