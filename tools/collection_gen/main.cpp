// nonari-collections: makes the five puzzle collection files from a seed, or shows what existing ones hold.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/collection_gen/collection.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using namespace nonari;
using namespace nonari::gen;

const char* usage =
    "usage: nonari-collections [--seed N] [--out DIR] [--level NAME]\n"
    "       nonari-collections [--seed N] [--level NAME] --list COUNT\n"
    "       nonari-collections --show DIR\n"
    "  --seed N      seed of the generator (default 2026); the same seed gives the same files\n"
    "  --out DIR     folder the .nnr files are written to (default data)\n"
    "  --level NAME  only this level: leicht, mittel, schwer, extrem or teuflisch (default all five)\n"
    "  --list COUNT  print COUNT fresh puzzles per level, one line each (level, then 81 cells), write no file\n"
    "  --show DIR    print givens, hardest technique and level of every record in the collections found in DIR\n";

const char* levelName(std::optional<int> level) {
    return level ? levels()[static_cast<std::size_t>(*level)].name : "none";
}

int show(const std::filesystem::path& folder) {
    int status = 0;
    for (int difficulty = 0; difficulty < 5; ++difficulty) {
        const std::string file = collectionFileName(difficulty);
        std::ifstream in(folder / file, std::ios::binary);
        std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::printf("%s (%zu bytes)\n", file.c_str(), bytes.size());
        for (int n = 0; n < recordsPerCollection; ++n) {
            std::optional<Puzzle> puzzle = puzzleInRecord(bytes, n);
            if (!puzzle) {
                std::printf("  record %d: missing\n", n);
                status = 1;
                continue;
            }
            Technique hardest = Technique::None;
            const std::optional<int> level = levelOf(*puzzle, &hardest);
            const bool fits = fitsLevel(*puzzle, difficulty);
            std::printf("  record %d: %2d givens, hardest: %-28s level: %-9s%s\n", n, givenCount(*puzzle),
                        techniqueName(hardest), levelName(level), fits ? "" : "  NOT OF THIS COLLECTION");
            std::printf("            %s\n", puzzleToText(*puzzle).c_str());
            if (!fits) status = 1;
        }
    }
    return status;
}

int list(std::uint32_t seed, int count, std::optional<int> only) {
    for (int difficulty = 0; difficulty < 5; ++difficulty) {
        if (only && *only != difficulty) continue;
        Rng rng(seed, static_cast<std::uint32_t>(100 + difficulty));
        for (int n = 0; n < count; ++n) {
            std::optional<MadePuzzle> made = makePuzzle(difficulty, rng, 20000);
            if (!made) return 1;
            std::printf("%s %s\n", levels()[static_cast<std::size_t>(difficulty)].name,
                        puzzleToText(made->puzzle).c_str());
        }
    }
    return 0;
}

int generate(std::uint32_t seed, const std::filesystem::path& folder, std::optional<int> only) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "nonari-collections: cannot create %s\n", folder.string().c_str());
        return 1;
    }
    auto started = std::chrono::steady_clock::now();
    for (int difficulty = 0; difficulty < 5; ++difficulty) {
        if (only && *only != difficulty) continue;
        const std::string file = collectionFileName(difficulty);
        auto begun = std::chrono::steady_clock::now();
        std::optional<Collection> collection = makeCollection(difficulty, seed);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
        if (!collection) {
            std::fprintf(stderr, "nonari-collections: no %s puzzles found for seed %u\n", levelName(difficulty), seed);
            return 1;
        }
        std::printf("%s (%.1f s)\n", file.c_str(), seconds);
        for (std::size_t n = 0; n < collection->puzzles.size(); ++n) {
            const MadePuzzle& made = collection->puzzles[n];
            std::printf("  record %zu: %2d givens, hardest: %s\n            %s\n", n, givenCount(made.puzzle),
                        techniqueName(made.hardest), puzzleToText(made.puzzle).c_str());
        }
        if (!writeFileWhole(folder / file, collection->bytes)) {
            std::fprintf(stderr, "nonari-collections: cannot write %s\n", (folder / file).string().c_str());
            return 1;
        }
    }
    double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("done in %.1f s\n", total);
    return 0;
}

bool readNumber(const char* text, unsigned long& value) {
    char* end = nullptr;
    value = std::strtoul(text, &end, 10);
    return end != text && *end == '\0' && value <= 0xFFFFFFFFul;
}

}  // namespace

int main(int argc, char** argv) {
    std::uint32_t seed = 2026;
    std::filesystem::path folder = "data";
    std::optional<std::filesystem::path> showFolder;
    std::optional<int> only;
    int listCount = 0;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        unsigned long value = 0;
        if ((arg == "--seed" || arg == "--list") && hasValue) {
            if (!readNumber(argv[++i], value) || (arg == "--list" && (value < 1 || value > 100000))) {
                std::fprintf(stderr, "nonari-collections: bad number '%s'\n%s", argv[i], usage);
                return 2;
            }
            if (arg == "--seed") seed = static_cast<std::uint32_t>(value);
            else listCount = static_cast<int>(value);
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
    if (showFolder) return show(*showFolder);
    if (listCount > 0) return list(seed, listCount, only);
    return generate(seed, folder, only);
}
