// Quick turns: the arrow keys pressed between two ticks. The first accepted
// key of a tick turns the snake at once; later ones wait here, each tested
// against the turn before it, and the next ticks take them one at a time. So
// two quick keys make a corner, never a U-turn into the neck.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quillory {

class TurnQueue {
public:
    static constexpr std::size_t kCapacity = 2;

    // Whether a snake heading `current` may turn to `requested`: only a
    // quarter turn (vertical from horizontal, or the other way round).
    static bool TurnAllowed(std::int32_t current, std::int32_t requested);

    // An arrow key asking for `requested`. Returns true when it was accepted:
    // either applied to `currentDirection` (the first turn of the tick) or
    // queued behind the turns already waiting.
    bool KeyPressed(std::int32_t requested, std::int32_t& currentDirection);

    // After a tick that moved the snake: the next waiting turn becomes the
    // direction of the coming tick.
    void TickDone(std::int32_t& currentDirection);

    // New game, pause, end of game: nothing waits any more.
    void Clear();

    std::size_t Pending() const { return count_; }
    bool TurnedThisTick() const { return turned_; }

private:
    std::array<std::int32_t, kCapacity> pending_{};
    std::size_t count_ = 0;
    bool turned_ = false;  // a turn already decides the coming tick
};

}  // namespace quillory
