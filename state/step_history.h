// The states a game's board went through, to take the player's changes back and bring them again.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <vector>

namespace nonari {

template <class State>
class StepHistory {
public:
    // A new game: the state now is the first, there is nothing to take back.
    void start(const State& now) {
        states.assign(1, now);
        current = 0;
    }
    // The state now follows the current one unless `same` finds the two alike; the states taken back
    // are gone then. A history never started starts here.
    template <class Same>
    void record(const State& now, Same same) {
        if (states.empty()) return start(now);
        if (same(states[current], now)) return;
        states.resize(current + 1);
        states.push_back(now);
        ++current;
    }
    // The state before or after the current one, which becomes current; null at either end.
    const State* back() { return current == 0 ? nullptr : &states[--current]; }
    const State* forward() { return current + 1 >= states.size() ? nullptr : &states[++current]; }

private:
    std::vector<State> states;
    std::size_t current = 0;
};

}  // namespace nonari
