// Fuzz target: any bytes as Champions.Rhm; what loads is saved as 150 lines and loads back the same.
#include "fame/champions_file.h"
#include "state/game_state.h"
#include "tests/fuzz/fuzz_support.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

using namespace nonari;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enterOwnFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::writeFile(championsFile, data, size);
    for (auto& list : game.fame.championTime) list.fill("\n");  // no field read from a line holds a line break
    const FileResult loaded = loadChampions();
    FUZZ_CHECK(loaded == (size > championsFileLimit ? FileResult::Damaged : FileResult::Ok));
    if (loaded != FileResult::Ok) return 0;
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 10; ++p) FUZZ_CHECK(game.fame.championTime[d][p] != "\n");

    const auto names = game.fame.championName, dates = game.fame.championDate, times = game.fame.championTime;
    const FileResult saved = saveChampions();
    // Only a file far beyond any real one may be too long to write back.
    FUZZ_CHECK(saved == FileResult::Ok || (saved == FileResult::NotWritten && size > championsFileLimit / 2));
    if (saved != FileResult::Ok) return 0;
    const std::vector<unsigned char> text = fuzz::readFile(championsFile);
    FUZZ_CHECK(std::count(text.begin(), text.end(), '\n') == 150 && std::count(text.begin(), text.end(), '\r') == 150);

    for (auto& list : game.fame.championName) list.fill("\n");
    FUZZ_CHECK(loadChampions() == FileResult::Ok);
    const FameState& fame = game.fame;
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 10; ++p)
            FUZZ_CHECK(std::tie(fame.championName[d][p], fame.championDate[d][p], fame.championTime[d][p]) ==
                       std::tie(names[d][p], dates[d][p], times[d][p]));
    return 0;
}
