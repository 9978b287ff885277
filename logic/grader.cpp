// The technique solver that grades puzzles and finds hints: singles, intersections, subsets, fish, wings and chains.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/grader.h"

#include <algorithm>
#include <functional>

namespace nonari {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }
DigitMask bit(int d) { return static_cast<DigitMask>(1u << d); }

// The state a technique works on and the step it describes while it works.
struct Work {
    CandidateState& s;
    Step& step;
};

bool has(const CandidateState& s, int cell, int d) { return (s.candidates[at(cell)] & bit(d)) != 0; }

bool eliminate(Work& w, int cell, int d) {
    if (!has(w.s, cell, d)) return false;
    w.s.candidates[at(cell)] = static_cast<DigitMask>(w.s.candidates[at(cell)] & ~bit(d));
    w.step.eliminations.emplace_back(cell, d);
    return true;
}

// A pattern that allowed nothing leaves no trace in the step.
bool found(Work& w, std::vector<int> pattern, int digit = 0, int unit = -1) {
    if (w.step.eliminations.empty()) return false;
    w.step.pattern = std::move(pattern);
    w.step.digit = digit;
    w.step.unit = unit;
    return true;
}

int unitCell(int unit, int index) { return units()[at(unit)][at(index)]; }

// Bit j set when the unit's j-th cell still has d.
unsigned positionsOf(const CandidateState& s, int unit, int d) {
    unsigned m = 0;
    for (int j = 0; j < 9; ++j)
        if (has(s, unitCell(unit, j), d)) m |= 1u << j;
    return m;
}

int bitCount(unsigned m) { return digitCount(static_cast<DigitMask>(m)); }

std::vector<int> cellsOf(int unit, unsigned positions) {
    std::vector<int> cells;
    for (int j = 0; j < 9; ++j)
        if ((positions & (1u << j)) != 0) cells.push_back(unitCell(unit, j));
    return cells;
}

// Calls f with every k-subset of 0..n-1 (as an index list) until f returns true.
bool anyCombination(int n, int k, const std::function<bool(const std::array<int, 4>&)>& f) {
    std::array<int, 4> pick{};
    std::function<bool(int, int)> choose = [&](int start, int depth) {
        if (depth == k) return f(pick);
        for (int i = start; i <= n - (k - depth); ++i) {
            pick[at(depth)] = i;
            if (choose(i + 1, depth + 1)) return true;
        }
        return false;
    };
    return choose(0, 0);
}

void place(Work& w, int cell, int d, int unit) {
    w.step.cell = cell;
    w.step.digit = d;
    w.step.unit = unit;
    w.step.pattern = {cell};
    placeDigit(w.s, cell, d);
}

bool nakedSingle(Work& w) {
    for (int cell = 0; cell < 81; ++cell)
        if (w.s.value[at(cell)] == 0 && digitCount(w.s.candidates[at(cell)]) == 1) {
            place(w, cell, firstDigit(w.s.candidates[at(cell)]), -1);
            return true;
        }
    return false;
}

bool hiddenSingle(Work& w, int firstUnit, int endUnit) {
    for (int u = firstUnit; u < endUnit; ++u)
        for (int d = 1; d <= 9; ++d) {
            unsigned pos = positionsOf(w.s, u, d);
            if (bitCount(pos) == 1) {
                place(w, unitCell(u, firstDigit(static_cast<DigitMask>(pos))), d, u);
                return true;
            }
        }
    return false;
}

bool lockedCandidates(Work& w) {
    // Pointing: within a box the digit is confined to one row or column, so the rest of that line loses it.
    for (int b = 18; b < 27; ++b)
        for (int d = 1; d <= 9; ++d) {
            unsigned rows = 0, columns = 0;
            for (int j = 0; j < 9; ++j) {
                int cell = unitCell(b, j);
                if (!has(w.s, cell, d)) continue;
                rows |= 1u << rowOf(cell);
                columns |= 1u << columnOf(cell);
            }
            if (bitCount(rows) == 1) {
                int r = firstDigit(static_cast<DigitMask>(rows));
                for (int cell : units()[at(r)])
                    if (boxOf(cell) != b - 18) eliminate(w, cell, d);
            }
            if (bitCount(columns) == 1) {
                int c = firstDigit(static_cast<DigitMask>(columns));
                for (int cell : units()[at(9 + c)])
                    if (boxOf(cell) != b - 18) eliminate(w, cell, d);
            }
            if (found(w, cellsOf(b, positionsOf(w.s, b, d)), d, b)) return true;
        }
    // Claiming: within a line the digit is confined to one box, so the rest of that box loses it.
    for (int u = 0; u < 18; ++u)
        for (int d = 1; d <= 9; ++d) {
            unsigned boxes = 0;
            for (int cell : units()[at(u)])
                if (has(w.s, cell, d)) boxes |= 1u << boxOf(cell);
            if (bitCount(boxes) != 1) continue;
            int box = firstDigit(static_cast<DigitMask>(boxes));
            for (int cell : units()[at(18 + box)]) {
                bool inLine = u < 9 ? rowOf(cell) == u : columnOf(cell) == u - 9;
                if (!inLine) eliminate(w, cell, d);
            }
            if (found(w, cellsOf(u, positionsOf(w.s, u, d)), d, u)) return true;
        }
    return false;
}

// k cells of a unit holding only k digits between them: the other cells lose those digits.
bool nakedSubset(Work& w, int k) {
    for (int u = 0; u < 27; ++u) {
        std::array<int, 9> cells{};
        int n = 0;
        for (int cell : units()[at(u)]) {
            int count = digitCount(w.s.candidates[at(cell)]);
            if (w.s.value[at(cell)] == 0 && count >= 2 && count <= k) cells[at(n++)] = cell;
        }
        if (n < k) continue;
        bool done = anyCombination(n, k, [&](const std::array<int, 4>& pick) {
            DigitMask together = 0;
            std::vector<int> subset;
            for (int i = 0; i < k; ++i) {
                subset.push_back(cells[at(pick[at(i)])]);
                together = static_cast<DigitMask>(together | w.s.candidates[at(subset.back())]);
            }
            if (digitCount(together) != k) return false;
            for (int cell : units()[at(u)])
                if (std::find(subset.begin(), subset.end(), cell) == subset.end())
                    for (int d = 1; d <= 9; ++d)
                        if ((together & bit(d)) != 0) eliminate(w, cell, d);
            return found(w, subset, 0, u);
        });
        if (done) return true;
    }
    return false;
}

// k digits of a unit confined to the same k cells: those cells lose every other digit.
bool hiddenSubset(Work& w, int k) {
    for (int u = 0; u < 27; ++u) {
        std::array<int, 9> digits{};
        std::array<unsigned, 9> where{};
        int n = 0;
        for (int d = 1; d <= 9; ++d) {
            unsigned pos = positionsOf(w.s, u, d);
            int count = bitCount(pos);
            if (count >= 2 && count <= k) {
                digits[at(n)] = d;
                where[at(n++)] = pos;
            }
        }
        if (n < k) continue;
        bool done = anyCombination(n, k, [&](const std::array<int, 4>& pick) {
            unsigned cells = 0;
            DigitMask keep = 0;
            for (int i = 0; i < k; ++i) {
                cells |= where[at(pick[at(i)])];
                keep = static_cast<DigitMask>(keep | bit(digits[at(pick[at(i)])]));
            }
            if (bitCount(cells) != k) return false;
            for (int cell : cellsOf(u, cells))
                for (int d = 1; d <= 9; ++d)
                    if ((keep & bit(d)) == 0) eliminate(w, cell, d);
            return found(w, cellsOf(u, cells), 0, u);
        });
        if (done) return true;
    }
    return false;
}

// n rows (columns) whose cells for d lie in the same n columns (rows): those columns (rows) lose d elsewhere.
bool fish(Work& w, int size) {
    for (int d = 1; d <= 9; ++d)
        for (int orientation = 0; orientation < 2; ++orientation) {
            std::array<int, 9> lines{};
            std::array<unsigned, 9> where{};
            int n = 0;
            for (int i = 0; i < 9; ++i) {
                unsigned pos = positionsOf(w.s, 9 * orientation + i, d);
                int count = bitCount(pos);
                if (count >= 2 && count <= size) {
                    lines[at(n)] = i;
                    where[at(n++)] = pos;
                }
            }
            if (n < size) continue;
            bool done = anyCombination(n, size, [&](const std::array<int, 4>& pick) {
                unsigned cover = 0, base = 0;
                std::vector<int> pattern;
                for (int i = 0; i < size; ++i) {
                    cover |= where[at(pick[at(i)])];
                    base |= 1u << lines[at(pick[at(i)])];
                    for (int cell : cellsOf(9 * orientation + lines[at(pick[at(i)])], where[at(pick[at(i)])]))
                        pattern.push_back(cell);
                }
                if (bitCount(cover) != size) return false;
                for (int j = 0; j < 9; ++j) {
                    if ((cover & (1u << j)) == 0) continue;
                    int coverUnit = 9 * (1 - orientation) + j;
                    for (int k = 0; k < 9; ++k)
                        if ((base & (1u << k)) == 0) eliminate(w, unitCell(coverUnit, k), d);
                }
                return found(w, pattern, d);
            });
            if (done) return true;
        }
    return false;
}

// Removes d from every cell that sees all the given cells (which themselves keep it).
bool eliminateFromCommonPeers(Work& w, int d, std::initializer_list<int> cells) {
    for (int cell = 0; cell < 81; ++cell) {
        bool all = true;
        for (int c : cells) all = all && sees(cell, c);
        if (all) eliminate(w, cell, d);
    }
    return found(w, std::vector<int>(cells), d);
}

bool xyWing(Work& w) {
    const CandidateState& s = w.s;
    for (int pivot = 0; pivot < 81; ++pivot) {
        DigitMask p = s.candidates[at(pivot)];
        if (digitCount(p) != 2) continue;
        for (int a : peers()[at(pivot)]) {
            DigitMask ca = s.candidates[at(a)];
            DigitMask shared = static_cast<DigitMask>(ca & p);
            if (digitCount(ca) != 2 || digitCount(shared) != 1) continue;
            DigitMask z = static_cast<DigitMask>(ca & ~p);
            DigitMask wanted = static_cast<DigitMask>((p & ~shared) | z);
            for (int b : peers()[at(pivot)])
                if (b != a && s.candidates[at(b)] == wanted) {
                    if (eliminateFromCommonPeers(w, firstDigit(z), {a, b})) {
                        w.step.pattern = {pivot, a, b};
                        return true;
                    }
                }
        }
    }
    return false;
}

bool xyzWing(Work& w) {
    const CandidateState& s = w.s;
    for (int pivot = 0; pivot < 81; ++pivot) {
        DigitMask p = s.candidates[at(pivot)];
        if (digitCount(p) != 3) continue;
        for (int a : peers()[at(pivot)]) {
            DigitMask ca = s.candidates[at(a)];
            if (digitCount(ca) != 2 || (ca & ~p) != 0) continue;
            for (int b : peers()[at(pivot)]) {
                DigitMask cb = s.candidates[at(b)];
                if (b == a || digitCount(cb) != 2 || (cb & ~p) != 0 || cb == ca || (ca | cb) != p) continue;
                if (eliminateFromCommonPeers(w, firstDigit(static_cast<DigitMask>(ca & cb)), {pivot, a, b})) return true;
            }
        }
    }
    return false;
}

// Colours the chains of conjugate pairs of each digit: two cells of one colour in a unit make that colour false
// (wrap); a cell seeing both colours cannot hold the digit (trap).
bool simpleColouring(Work& w) {
    const CandidateState& s = w.s;
    for (int d = 1; d <= 9; ++d) {
        std::array<std::vector<int>, 81> links;
        for (int u = 0; u < 27; ++u) {
            unsigned pos = positionsOf(s, u, d);
            if (bitCount(pos) != 2) continue;
            int a = unitCell(u, firstDigit(static_cast<DigitMask>(pos)));
            int b = unitCell(u, firstDigit(static_cast<DigitMask>(pos & (pos - 1))));
            links[at(a)].push_back(b);
            links[at(b)].push_back(a);
        }
        std::array<int, 81> component;
        std::array<int, 81> colour{};
        component.fill(-1);
        for (int start = 0; start < 81; ++start) {
            if (links[at(start)].empty() || component[at(start)] >= 0) continue;
            std::vector<int> members{start};
            component[at(start)] = start;
            for (std::size_t i = 0; i < members.size(); ++i)
                for (int next : links[at(members[i])])
                    if (component[at(next)] < 0) {
                        component[at(next)] = start;
                        colour[at(next)] = 1 - colour[at(members[i])];
                        members.push_back(next);
                    }
            if (members.size() < 3) continue;
            for (int c = 0; c < 2; ++c)
                for (int a : members)
                    for (int b : members)
                        if (a != b && colour[at(a)] == c && colour[at(b)] == c && sees(a, b)) {
                            for (int cell : members)
                                if (colour[at(cell)] == c) eliminate(w, cell, d);
                            if (found(w, members, d)) return true;
                        }
            for (int cell = 0; cell < 81; ++cell) {
                if (!has(s, cell, d) || component[at(cell)] == start) continue;
                bool seesColour[2] = {false, false};
                for (int member : members)
                    if (sees(cell, member)) seesColour[colour[at(member)]] = true;
                if (seesColour[0] && seesColour[1]) eliminate(w, cell, d);
            }
            if (found(w, members, d)) return true;
        }
    }
    return false;
}

// Chains over candidates (node = 9*cell + digit - 1). A strong link: one of the two is true; a weak link: not both.
enum class Links { OneDigit, BivalueCells, All };

int nodeCell(int node) { return node / 9; }
int nodeDigit(int node) { return node % 9 + 1; }
int nodeOf(int cell, int d) { return 9 * cell + d - 1; }

bool exclusive(int a, int b) {
    if (a == b) return false;
    if (nodeCell(a) == nodeCell(b)) return true;
    return nodeDigit(a) == nodeDigit(b) && sees(nodeCell(a), nodeCell(b));
}

// Assuming a start candidate false, follows strong links to true ones and weak links to false ones: every true
// candidate reached and the start cannot both be false, so a candidate excluding both is eliminated.
bool chains(Work& w, Links kind) {
    const CandidateState& s = w.s;
    std::vector<std::vector<int>> strong(729), weak(729);
    if (kind != Links::BivalueCells)
        for (int u = 0; u < 27; ++u)
            for (int d = 1; d <= 9; ++d) {
                unsigned pos = positionsOf(s, u, d);
                if (bitCount(pos) != 2) continue;
                int a = nodeOf(unitCell(u, firstDigit(static_cast<DigitMask>(pos))), d);
                int b = nodeOf(unitCell(u, firstDigit(static_cast<DigitMask>(pos & (pos - 1)))), d);
                strong[at(a)].push_back(b);
                strong[at(b)].push_back(a);
            }
    for (int cell = 0; cell < 81; ++cell) {
        DigitMask m = s.candidates[at(cell)];
        if (kind != Links::OneDigit && digitCount(m) == 2) {
            int a = nodeOf(cell, firstDigit(m));
            int b = nodeOf(cell, firstDigit(static_cast<DigitMask>(m & (m - 1))));
            strong[at(a)].push_back(b);
            strong[at(b)].push_back(a);
        }
        for (int d = 1; d <= 9; ++d) {
            if (!has(s, cell, d)) continue;
            int node = nodeOf(cell, d);
            for (int p : peers()[at(cell)])
                if (has(s, p, d)) weak[at(node)].push_back(nodeOf(p, d));
            if (kind == Links::All)
                for (int e = 1; e <= 9; ++e)
                    if (e != d && has(s, cell, e)) weak[at(node)].push_back(nodeOf(cell, e));
        }
    }
    // Entries 2*node + 1 for a node found true, 2*node for one found false; from[] leads back to the start.
    std::vector<int> from(2 * 729), queue;
    for (int start = 0; start < 729; ++start) {
        if (strong[at(start)].empty()) continue;
        std::fill(from.begin(), from.end(), -1);
        from[at(2 * start)] = 2 * start;
        queue.assign(1, 2 * start);
        for (std::size_t i = 0; i < queue.size(); ++i) {
            int node = queue[i] / 2;
            bool isTrue = queue[i] % 2 == 1;
            for (int next : isTrue ? weak[at(node)] : strong[at(node)]) {
                int entry = 2 * next + (isTrue ? 0 : 1);
                if (from[at(entry)] >= 0) continue;
                from[at(entry)] = queue[i];
                queue.push_back(entry);
            }
        }
        int startCell = nodeCell(start), startDigit = nodeDigit(start);
        int firstEnd = -1;
        for (int end = 0; end < 729; ++end) {
            if (from[at(2 * end + 1)] < 0 || end == start) continue;
            std::size_t before = w.step.eliminations.size();
            for (int d = 1; d <= 9; ++d) {
                int x = nodeOf(startCell, d);
                if (d != startDigit && has(s, startCell, d) && x != end && exclusive(x, end)) eliminate(w, startCell, d);
            }
            for (int p : peers()[at(startCell)]) {
                int x = nodeOf(p, startDigit);
                if (has(s, p, startDigit) && x != end && exclusive(x, end)) eliminate(w, p, startDigit);
            }
            if (firstEnd < 0 && w.step.eliminations.size() > before) firstEnd = end;
        }
        if (firstEnd >= 0) {
            std::vector<int> path;
            for (int entry = 2 * firstEnd + 1;; entry = from[at(entry)]) {
                int cell = nodeCell(entry / 2);
                if (std::find(path.begin(), path.end(), cell) == path.end()) path.push_back(cell);
                if (entry == 2 * start) break;
            }
            return found(w, path, startDigit);
        }
    }
    return false;
}

bool run(Technique technique, Work& w) {
    switch (technique) {
        case Technique::NakedSingle: return nakedSingle(w);
        case Technique::HiddenSingleInBox: return hiddenSingle(w, 18, 27);
        case Technique::HiddenSingleInLine: return hiddenSingle(w, 0, 18);
        case Technique::LockedCandidates: return lockedCandidates(w);
        case Technique::NakedPair: return nakedSubset(w, 2);
        case Technique::HiddenPair: return hiddenSubset(w, 2);
        case Technique::NakedTriple: return nakedSubset(w, 3);
        case Technique::HiddenTriple: return hiddenSubset(w, 3);
        case Technique::XWing: return fish(w, 2);
        case Technique::XYWing: return xyWing(w);
        case Technique::Swordfish: return fish(w, 3);
        case Technique::XYZWing: return xyzWing(w);
        case Technique::SimpleColouring: return simpleColouring(w);
        case Technique::XChain: return chains(w, Links::OneDigit);
        case Technique::XYChain: return chains(w, Links::BivalueCells);
        case Technique::AlternatingChain: return chains(w, Links::All);
        case Technique::None:
        case Technique::Beyond: return false;
    }
    return false;
}

}  // namespace

const char* techniqueName(Technique technique) {
    switch (technique) {
        case Technique::None: return "none";
        case Technique::NakedSingle: return "naked single";
        case Technique::HiddenSingleInBox: return "hidden single in a box";
        case Technique::HiddenSingleInLine: return "hidden single in a line";
        case Technique::LockedCandidates: return "locked candidates";
        case Technique::NakedPair: return "naked pair";
        case Technique::HiddenPair: return "hidden pair";
        case Technique::NakedTriple: return "naked triple";
        case Technique::HiddenTriple: return "hidden triple";
        case Technique::XWing: return "X-wing";
        case Technique::XYWing: return "XY-wing";
        case Technique::Swordfish: return "swordfish";
        case Technique::XYZWing: return "XYZ-wing";
        case Technique::SimpleColouring: return "simple colouring";
        case Technique::XChain: return "X-chain";
        case Technique::XYChain: return "XY-chain";
        case Technique::AlternatingChain: return "alternating inference chain";
        case Technique::Beyond: return "beyond these techniques";
    }
    return "?";
}

CandidateState candidateStateOf(const Puzzle& puzzle) {
    CandidateState s;
    s.candidates.fill(allDigits);
    for (int cell = 0; cell < 81; ++cell)
        if (puzzle[at(cell)] != 0) placeDigit(s, cell, puzzle[at(cell)]);
    return s;
}

void placeDigit(CandidateState& s, int cell, int digit) {
    s.value[at(cell)] = static_cast<std::uint8_t>(digit);
    s.candidates[at(cell)] = 0;
    for (int p : peers()[at(cell)]) s.candidates[at(p)] = static_cast<DigitMask>(s.candidates[at(p)] & ~bit(digit));
}

bool isBroken(const CandidateState& s) {
    for (int cell = 0; cell < 81; ++cell)
        if (s.value[at(cell)] == 0 && s.candidates[at(cell)] == 0) return true;
    for (const auto& unit : units()) {
        DigitMask covered = 0;
        for (int cell : unit)
            covered = static_cast<DigitMask>(covered | s.candidates[at(cell)] | bit(s.value[at(cell)]));
        if ((covered & allDigits) != allDigits) return true;
    }
    return false;
}

bool isSolved(const CandidateState& s) { return givenCount(s.value) == 81; }

bool applyTechnique(Technique technique, CandidateState& s, Step* step) {
    Step scratch;
    Step& record = step != nullptr ? *step : scratch;
    record = Step{};
    record.technique = technique;
    Work w{s, record};
    return run(technique, w);
}

Technique applyEasiest(CandidateState& s, TechniqueSet allowed, Step* step) {
    for (int t = static_cast<int>(Technique::NakedSingle); t < static_cast<int>(Technique::Beyond); ++t)
        if ((allowed & only(static_cast<Technique>(t))) != 0 && applyTechnique(static_cast<Technique>(t), s, step))
            return static_cast<Technique>(t);
    return Technique::None;
}

std::optional<Step> easiestStep(const CandidateState& state, TechniqueSet allowed) {
    CandidateState copy = state;
    Step step;
    if (isBroken(copy) || applyEasiest(copy, allowed, &step) == Technique::None) return std::nullopt;
    return step;
}

Grade gradePuzzle(const Puzzle& puzzle, TechniqueSet allowed) {
    Grade g;
    if (!isConsistent(puzzle)) {
        g.hardest = Technique::Beyond;
        g.result = puzzle;
        return g;
    }
    CandidateState s = candidateStateOf(puzzle);
    while (true) {
        if (isSolved(s)) {
            g.solved = true;
            break;
        }
        Technique used = isBroken(s) ? Technique::None : applyEasiest(s, allowed);
        if (used == Technique::None) {
            g.hardest = Technique::Beyond;
            break;
        }
        if (used > g.hardest) g.hardest = used;
    }
    g.result = s.value;
    return g;
}

}  // namespace nonari
