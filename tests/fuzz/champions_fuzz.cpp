// Fuzz target: any bytes as Champions.Rhm; what loads is saved as 150 lines and loads back the same.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fame/champions_file.h"
#include "state/game_state.h"
#include "tests/fuzz/fuzz_support.h"

#include <algorithm>
#include <cstdint>

using namespace nonari;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enterOwnFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::writeFile(championsFile, data, size);
    FameState& fame = game.fame;
    // Places 1..10 only: no field read from a line holds a line break.
    for (auto& list : fame.championTime) std::fill(list.begin() + 1, list.end(), "\n");
    const FileResult loaded = loadChampions();
    FUZZ_CHECK(loaded == (size > championsFileLimit ? FileResult::Damaged : FileResult::Ok));
    if (loaded != FileResult::Ok) return 0;
    for (const auto& list : fame.championTime) FUZZ_CHECK(std::find(list.begin() + 1, list.end(), "\n") == list.end());

    const FameState before = fame;
    const FileResult saved = saveChampions();
    // Only a file far beyond any real one may be too long to write back.
    FUZZ_CHECK(saved == FileResult::Ok || (saved == FileResult::NotWritten && size > championsFileLimit / 2));
    if (saved != FileResult::Ok) return 0;
    const std::vector<unsigned char> text = fuzz::readFile(championsFile);
    FUZZ_CHECK(std::count(text.begin(), text.end(), '\n') == 150 && std::count(text.begin(), text.end(), '\r') == 150);

    for (auto& list : fame.championName) std::fill(list.begin() + 1, list.end(), "\n");
    FUZZ_CHECK(loadChampions() == FileResult::Ok);
    FUZZ_CHECK(std::tie(fame.championName, fame.championDate, fame.championTime) ==
               std::tie(before.championName, before.championDate, before.championTime));
    return 0;
}
