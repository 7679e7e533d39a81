// The game's random numbers: a 32-bit linear congruential generator reseeded
// from a clock. The clock can be replaced (tests pin it; Windows reads the
// performance counter).
#pragma once

#include <cstdint>

namespace quillory {

using ClockSource = std::uint32_t (*)();

// The clock behind every new RandomGenerator; the default reads the host's
// steady clock. Set once at start-up, before any game.
void SetDefaultClockSource(ClockSource source);

class RandomGenerator {
public:
    RandomGenerator();
    explicit RandomGenerator(ClockSource clock) : clock_(clock) {}

    // Takes the low 32 bits of the clock as the new state.
    void ReseedRandom() { state_ = clock_(); }

    // Advances the state and maps it onto 0..n-1.
    std::uint32_t RandomBelow(std::uint32_t n) {
        state_ = state_ * 134775813u + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state_) * n) >> 32);
    }

    std::uint32_t State() const { return state_; }
    void SetState(std::uint32_t state) { state_ = state; }
    void SetClock(ClockSource clock) { clock_ = clock; }

private:
    ClockSource clock_;
    std::uint32_t state_ = 0;
};

}  // namespace quillory
