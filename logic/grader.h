// The technique solver: the easiest step a person can take, and a puzzle's grade by the hardest technique it needs.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logic/puzzle_grid.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace nonari {

// In rising order of difficulty; Beyond: the techniques below do not finish the puzzle.
enum class Technique : int {
    None = 0,
    NakedSingle,
    HiddenSingleInBox,
    HiddenSingleInLine,
    LockedCandidates,  // pointing and claiming
    NakedPair,
    HiddenPair,
    NakedTriple,
    HiddenTriple,
    XWing,
    XYWing,
    Swordfish,
    XYZWing,
    SimpleColouring,
    XChain,
    XYChain,
    AlternatingChain,
    Beyond,
};

const char* techniqueName(Technique technique);

// A set of techniques, bit t for Technique t.
using TechniqueSet = std::uint32_t;
constexpr TechniqueSet only(Technique t) { return TechniqueSet{1} << static_cast<int>(t); }
// Every technique from the naked single up to t.
constexpr TechniqueSet upTo(Technique t) { return (only(t) << 1) - only(Technique::NakedSingle); }

// Pencil marks of a partly solved puzzle; placed cells carry no candidates.
struct CandidateState {
    Puzzle value{};
    std::array<DigitMask, 81> candidates{};
};

// One step as a person would take it: a placement, or the eliminations one pattern allows.
struct Step {
    Technique technique = Technique::None;
    int cell = -1;                                  // a single's cell
    int digit = 0;                                  // a single's digit, or the digit the pattern is about
    int unit = -1;                                  // the unit of a hidden single, subset or locked digit
    std::vector<int> pattern;                       // the cells the reasoning rests on
    std::vector<std::pair<int, int>> eliminations;  // (cell, digit) no longer possible
};

// Every empty cell gets the digits that no peer holds.
CandidateState candidateStateOf(const Puzzle& puzzle);
void placeDigit(CandidateState& state, int cell, int digit);
// An empty cell without candidates, or a unit in which a missing digit has no cell left.
bool isBroken(const CandidateState& state);
bool isSolved(const CandidateState& state);

// One step of the technique, applied to the state and described in *step when given; false when it finds nothing.
bool applyTechnique(Technique technique, CandidateState& state, Step* step = nullptr);
// Tries the allowed techniques from the easiest up; returns the one that made progress, or None.
Technique applyEasiest(CandidateState& state, TechniqueSet allowed, Step* step = nullptr);
// The easiest step on the state, which stays as it is.
std::optional<Step> easiestStep(const CandidateState& state, TechniqueSet allowed = upTo(Technique::AlternatingChain));

struct Grade {
    Technique hardest = Technique::None;  // Beyond when the puzzle was not finished
    bool solved = false;
    Puzzle result{};
};

// Solves with the allowed techniques, always the easiest first.
Grade gradePuzzle(const Puzzle& puzzle, TechniqueSet allowed = upTo(Technique::AlternatingChain));

}  // namespace nonari
