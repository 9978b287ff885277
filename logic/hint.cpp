// The next step a person can take on a board, and its one German line.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/hint.h"

#include <algorithm>

namespace nonari {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

// The first unit that holds a digit twice; -1 when none.
int brokenUnit(const Puzzle& board, int& digit) {
    for (int u = 0; u < 27; ++u) {
        DigitMask seen = 0;
        for (int cell : units()[at(u)]) {
            const int d = board[at(cell)];
            if (d == 0) continue;
            if ((seen & (1u << d)) != 0) {
                digit = d;
                return u;
            }
            seen = static_cast<DigitMask>(seen | (1u << d));
        }
    }
    return -1;
}

std::string unitName(int unit) {
    if (unit < 9) return "Zeile " + std::to_string(unit + 1);
    if (unit < 18) return "Spalte " + std::to_string(unit - 8);
    return "Block " + std::to_string(unit - 17);
}

std::string place(int cell) {
    return "Zeile " + std::to_string(rowOf(cell) + 1) + ", Spalte " + std::to_string(columnOf(cell) + 1);
}

// "die 7", or in letters mode "das G".
std::string digitName(int d, bool numbersMode) {
    if (numbersMode) return "die " + std::to_string(d);
    return std::string("das ") + static_cast<char>(64 + d);
}

const char* germanName(Technique t) {
    switch (t) {
        case Technique::NakedSingle: return "Nackter Einer";
        case Technique::HiddenSingleInBox:
        case Technique::HiddenSingleInLine: return "Versteckter Einer";
        case Technique::LockedCandidates: return "Gesperrte Kandidaten";
        case Technique::NakedPair: return "Nacktes Paar";
        case Technique::HiddenPair: return "Verstecktes Paar";
        case Technique::NakedTriple: return "Nackter Dreier";
        case Technique::HiddenTriple: return "Versteckter Dreier";
        case Technique::XWing: return "X-Wing";
        case Technique::XYWing: return "XY-Wing";
        case Technique::Swordfish: return "Schwertfisch";
        case Technique::XYZWing: return "XYZ-Wing";
        case Technique::SimpleColouring: return "Einfaches Färben";
        case Technique::XChain: return "X-Kette";
        case Technique::XYChain: return "XY-Kette";
        case Technique::AlternatingChain: return "Alternierende Kette";
        default: return "";
    }
}

std::pair<int, int> columnRow(int cell) { return {columnOf(cell) + 1, rowOf(cell) + 1}; }

std::size_t characters(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

Hint nextHint(const Grid& board, const Grid& givens, int skip) {
    Hint hint;
    const Puzzle current = puzzleOf(board);
    hint.unit = brokenUnit(current, hint.digit);
    if (hint.unit >= 0) {
        hint.kind = Hint::Kind::RuleBroken;
        return hint;
    }
    const Puzzle puzzle = puzzleOf(givens);
    const int solutions = countSolutions(puzzle);
    if (solutions == 0) {
        hint.kind = Hint::Kind::NoSolution;
        return hint;
    }
    if (const std::optional<Puzzle> solution = solutions == 1 ? uniqueSolution(puzzle) : std::nullopt) {
        for (int cell = 0; cell < 81; ++cell)
            if (current[at(cell)] != 0 && current[at(cell)] != (*solution)[at(cell)]) {
                hint.kind = Hint::Kind::WrongDigit;
                hint.unit = rowOf(cell);
                return hint;
            }
    }
    if (givenCount(current) == 81) {
        hint.kind = Hint::Kind::Solved;
        return hint;
    }
    CandidateState state = candidateStateOf(current);
    for (int shown = 0;; ++shown) {
        Step step;
        if (isBroken(state) || applyEasiest(state, upTo(Technique::AlternatingChain), &step) == Technique::None)
            return hint;  // Stuck
        // A placement is never passed over: the player has not made it while the board is the same.
        if (shown >= skip || step.cell >= 0) {
            hint.kind = Hint::Kind::Step;
            hint.step = step;
            return hint;
        }
    }
}

std::string hintText(const Hint& hint, bool numbersMode) {
    switch (hint.kind) {
        case Hint::Kind::RuleBroken:
            return "In " + unitName(hint.unit) + " steht " + digitName(hint.digit, numbersMode) + " zweimal.";
        case Hint::Kind::WrongDigit: return "In " + unitName(hint.unit) + " steht eine falsche Zahl.";
        case Hint::Kind::NoSolution: return "Dieses Brett hat keine Lösung.";
        case Hint::Kind::Solved: return "Das Brett ist gelöst.";
        case Hint::Kind::Stuck: return "Hier hilft nur noch Probieren.";
        case Hint::Kind::Step: break;
    }
    const Step& s = hint.step;
    const std::string name = germanName(s.technique);
    if (s.technique == Technique::NakedSingle)
        return name + ": in " + place(s.cell) + " passt nur " + digitName(s.digit, numbersMode);
    if (s.cell >= 0) {
        const std::string where = s.unit < 9    ? "Spalte " + std::to_string(columnOf(s.cell) + 1)
                                  : s.unit < 18 ? "Zeile " + std::to_string(rowOf(s.cell) + 1)
                                                : place(s.cell);
        return name + ": " + digitName(s.digit, numbersMode) + " passt in " + unitName(s.unit) + " nur in " + where;
    }
    const auto [cell, digit] = s.eliminations.front();
    const std::string in = s.unit >= 0 ? " in " + unitName(s.unit) : "";
    return name + in + ": " + digitName(digit, numbersMode) + " fällt in " + place(cell) + " weg";
}

std::vector<std::pair<int, int>> hintPatternCells(const Hint& hint) {
    std::vector<std::pair<int, int>> cells;
    if (hint.kind == Hint::Kind::Step && hint.step.cell < 0)
        for (int cell : hint.step.pattern) cells.push_back(columnRow(cell));
    return cells;
}

std::vector<std::pair<int, int>> hintTargetCells(const Hint& hint) {
    std::vector<std::pair<int, int>> cells;
    if (hint.kind != Hint::Kind::Step) return cells;
    if (hint.step.cell >= 0) return {columnRow(hint.step.cell)};
    for (auto [cell, digit] : hint.step.eliminations)
        if (std::find(cells.begin(), cells.end(), columnRow(cell)) == cells.end()) cells.push_back(columnRow(cell));
    return cells;
}

std::vector<std::string> wrapText(const std::string& text, int width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t blank = text.find(' ', start);
        if (blank == std::string::npos) blank = text.size();
        const std::string word = text.substr(start, blank - start);
        start = blank + 1;
        if (!line.empty() && characters(line) + 1 + characters(word) > static_cast<std::size_t>(width)) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace nonari
