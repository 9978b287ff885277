// The board's grids: 10x10 digits and 10x10x10 candidate marks, indexed (column, row[, digit]) with index 0 unused.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace nonari {

// Element (c, r) lies at c + 10*r: the layout the board files store.
struct Grid {
    std::array<std::uint8_t, 100> cell{};
    std::uint8_t& operator()(int c, int r) { return cell[static_cast<std::size_t>(c + 10 * r)]; }
    std::uint8_t operator()(int c, int r) const { return cell[static_cast<std::size_t>(c + 10 * r)]; }
    void clear() { cell.fill(0); }
    bool operator==(const Grid&) const = default;
};

// Element (c, r, d) lies at c + 10*r + 100*d.
struct CandidateGrid {
    std::array<bool, 1000> mark{};
    bool& operator()(int c, int r, int d) { return mark[static_cast<std::size_t>(c + 10 * r + 100 * d)]; }
    bool operator()(int c, int r, int d) const { return mark[static_cast<std::size_t>(c + 10 * r + 100 * d)]; }
    void clear() { mark.fill(false); }
    void fill(bool value) { mark.fill(value); }
    bool operator==(const CandidateGrid&) const = default;
};

}  // namespace nonari
