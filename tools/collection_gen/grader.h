// A human-style technique solver: applies the easiest technique that makes progress and reports the hardest one needed.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/collection_gen/puzzle_grid.h"

namespace nonari::gen {

// In rising order of difficulty; Beyond: the techniques below do not finish the puzzle.
enum class Technique : int {
    None = 0,
    NakedSingle,
    HiddenSingle,
    LockedCandidates,  // pointing and claiming
    NakedPair,
    HiddenPair,
    NakedTriple,
    HiddenTriple,
    XWing,
    XYWing,
    XYZWing,
    Swordfish,
    SimpleColouring,
    XChain,
    XYChain,
    AlternatingChain,
    Beyond,
};

const char* techniqueName(Technique technique);

// Pencil marks of a partly solved puzzle; placed cells carry no candidates.
struct CandidateState {
    Puzzle value{};
    std::array<DigitMask, 81> candidates{};
};

// Every empty cell gets the digits that no peer holds.
CandidateState candidateStateOf(const Puzzle& puzzle);
void placeDigit(CandidateState& state, int cell, int digit);
// An empty cell without candidates, or a unit in which a missing digit has no cell left.
bool isBroken(const CandidateState& state);
bool isSolved(const CandidateState& state);

// One step of the technique (a placement or the eliminations of one pattern); false when it finds nothing.
bool applyTechnique(Technique technique, CandidateState& state);
// Tries the techniques from the easiest up to `hardestAllowed`; returns the one that made progress, or None.
Technique applyEasiest(CandidateState& state, Technique hardestAllowed);

struct Grade {
    Technique hardest = Technique::None;  // Beyond when the puzzle was not finished
    bool solved = false;
    Puzzle result{};
};

// Solves with techniques no harder than `hardestAllowed`, always the easiest first.
Grade gradePuzzle(const Puzzle& puzzle, Technique hardestAllowed = Technique::AlternatingChain);

}  // namespace nonari::gen
