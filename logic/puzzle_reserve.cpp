// Fresh puzzles made in the background: one spare per level, ready when a new game wants one.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/puzzle_reserve.h"

#include "logic/levels.h"
#include "platform/system.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>

namespace nonari {

namespace {

// What the GUI thread and the maker share: the spares under the lock, the stop request also atomic so that the
// digging can look at it without the lock.
struct Reserve {
    std::mutex lock;
    std::condition_variable wake;
    std::array<std::optional<Puzzle>, 5> spare;
    std::uint32_t seed = 0;
    std::uint32_t made = 0;  // puzzles begun: each gets its own stream of the seed
    int wanted = 0;          // the level asked for last is made first
    std::atomic<bool> stopping = false;
    ThreadHandle thread = 0;
};

Reserve& reserve() {
    static Reserve r;
    return r;
}

// The level to make next, -1 when every spare is there.
int missingLevel(const Reserve& r) {
    if (!r.spare[static_cast<std::size_t>(r.wanted)]) return r.wanted;
    for (int level = 0; level < 5; ++level)
        if (!r.spare[static_cast<std::size_t>(level)]) return level;
    return -1;
}

void makeSpares() {
    Reserve& r = reserve();
    while (true) {
        int level;
        std::uint32_t seed, stream;
        {
            std::unique_lock<std::mutex> held(r.lock);
            r.wake.wait(held, [&] { return r.stopping.load() || missingLevel(r) >= 0; });
            if (r.stopping) return;
            level = missingLevel(r);
            seed = r.seed;
            stream = r.made++;
        }
        Rng rng(seed, stream);
        std::optional<MadePuzzle> made = makePuzzle(level, rng, 20000, &r.stopping);
        if (!made) continue;  // stopped, or an unlucky seed: the loop looks again
        std::lock_guard<std::mutex> held(r.lock);
        if (!r.stopping) r.spare[static_cast<std::size_t>(level)] = made->puzzle;
    }
}

}  // namespace

void startFreshPuzzles(std::uint32_t seed) {
    Reserve& r = reserve();
    std::lock_guard<std::mutex> held(r.lock);
    if (r.thread != 0) return;
    r.seed = seed;
    r.made = 0;
    r.stopping = false;
    r.thread = startThread(makeSpares);
}

std::optional<Puzzle> takeFreshPuzzle(int difficulty) {
    if (difficulty < 0 || difficulty > 4) return std::nullopt;
    Reserve& r = reserve();
    std::optional<Puzzle> taken;
    {
        std::lock_guard<std::mutex> held(r.lock);
        if (r.thread == 0) return std::nullopt;
        taken.swap(r.spare[static_cast<std::size_t>(difficulty)]);
        r.wanted = difficulty;
    }
    r.wake.notify_one();
    return taken;
}

bool freshPuzzleReady(int difficulty) {
    if (difficulty < 0 || difficulty > 4) return false;
    Reserve& r = reserve();
    std::lock_guard<std::mutex> held(r.lock);
    return r.spare[static_cast<std::size_t>(difficulty)].has_value();
}

void stopFreshPuzzles() {
    Reserve& r = reserve();
    ThreadHandle thread;
    {
        std::lock_guard<std::mutex> held(r.lock);
        thread = r.thread;
        r.thread = 0;
        r.stopping = true;
        for (auto& spare : r.spare) spare.reset();
    }
    r.wake.notify_one();
    if (thread != 0) joinThread(thread);
}

}  // namespace nonari
