// nonari-collections: makes the five puzzle collection files from a seed, or shows what existing ones hold.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/collection_gen/game_check.h"
#include "tools/collection_gen/generator.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using namespace nonari::gen;

const char* usage =
    "usage: nonari-collections [--seed N] [--out DIR] [--level NAME]\n"
    "       nonari-collections --show DIR\n"
    "  --seed N      seed of the generator (default 2026); the same seed gives the same files\n"
    "  --out DIR     folder the .nnr files are written to (default data)\n"
    "  --level NAME  only this collection: leicht, mittel, schwer, extrem or teuflisch (default all five)\n"
    "  --show DIR    print givens and hardest technique of every record in the collections found in DIR\n";

void printRecord(int index, const Puzzle& puzzle, Technique hardest, bool unique, bool gameSolves) {
    std::printf("  record %d: %2d givens, hardest: %-28s %s%s\n", index, givenCount(puzzle), techniqueName(hardest),
                unique ? "" : " NOT UNIQUE", gameSolves ? "" : " NOT FINISHED BY THE GAME");
    std::printf("            %s\n", puzzleToText(puzzle).c_str());
}

int show(const std::filesystem::path& folder) {
    int status = 0;
    for (const Level& level : levels()) {
        std::ifstream in(folder / level.file, std::ios::binary);
        std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::printf("%s (%zu bytes)\n", level.file, bytes.size());
        for (int n = 0; n < recordsPerCollection; ++n) {
            std::optional<Puzzle> puzzle = puzzleInRecord(bytes, n);
            if (!puzzle) {
                std::printf("  record %d: missing\n", n);
                status = 1;
                continue;
            }
            bool unique = countSolutions(*puzzle) == 1;
            bool solves = gameSolveCommandFinishes(*puzzle);
            printRecord(n, *puzzle, gradePuzzle(*puzzle).hardest, unique, solves);
            if (!unique || !solves) status = 1;
        }
    }
    return status;
}

int generate(std::uint32_t seed, const std::filesystem::path& folder, std::optional<int> only) {
    // Without a working solve command no puzzle could pass, so say so at once instead of searching for ever.
    Rng probe(seed);
    Puzzle gap = randomSolutionGrid(probe);
    gap[40] = 0;
    if (!gameSolveCommandFinishes(gap)) {
        std::fputs("nonari-collections: the game's solve command does not finish even a one-gap puzzle\n", stderr);
        return 1;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "nonari-collections: cannot create %s\n", folder.string().c_str());
        return 1;
    }
    auto started = std::chrono::steady_clock::now();
    for (int difficulty = 0; difficulty < 5; ++difficulty) {
        if (only && *only != difficulty) continue;
        const Level& level = levels()[static_cast<std::size_t>(difficulty)];
        auto begun = std::chrono::steady_clock::now();
        std::optional<Collection> collection = makeCollection(difficulty, seed);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
        if (!collection) {
            std::fprintf(stderr, "nonari-collections: no %s puzzles found for seed %u\n", level.name, seed);
            return 1;
        }
        std::printf("%s (%.1f s)\n", level.file, seconds);
        for (std::size_t n = 0; n < collection->puzzles.size(); ++n) {
            const MadePuzzle& made = collection->puzzles[n];
            printRecord(static_cast<int>(n), made.puzzle, made.hardest, true, true);
        }
        if (!writeFileWhole(folder / level.file, collection->bytes)) {
            std::fprintf(stderr, "nonari-collections: cannot write %s\n", (folder / level.file).string().c_str());
            return 1;
        }
    }
    double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("done in %.1f s\n", total);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::uint32_t seed = 2026;
    std::filesystem::path folder = "data";
    std::optional<std::filesystem::path> showFolder;
    std::optional<int> only;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--seed" && hasValue) {
            char* end = nullptr;
            unsigned long value = std::strtoul(argv[++i], &end, 10);
            if (end == argv[i] || *end != '\0' || value > 0xFFFFFFFFul) {
                std::fprintf(stderr, "nonari-collections: bad seed '%s'\n%s", argv[i], usage);
                return 2;
            }
            seed = static_cast<std::uint32_t>(value);
        } else if (arg == "--out" && hasValue) {
            folder = argv[++i];
        } else if (arg == "--level" && hasValue) {
            only = levelByName(argv[++i]);
            if (!only) {
                std::fprintf(stderr, "nonari-collections: unknown level '%s'\n%s", argv[i], usage);
                return 2;
            }
        } else if (arg == "--show" && hasValue) {
            showFolder = argv[++i];
        } else {
            std::fputs(usage, arg == "--help" ? stdout : stderr);
            return arg == "--help" ? 0 : 2;
        }
    }

    return showFolder ? show(*showFolder) : generate(seed, folder, only);
}
