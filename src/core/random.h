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

// Stands between the clock and the generator at every reseed: a recorded game
// notes the clock's values, a replayed one gives the noted values back.
class SeedSource {
public:
    virtual std::uint32_t NextSeed(ClockSource clock) = 0;

protected:
    ~SeedSource() = default;
};

class RandomGenerator {
public:
    RandomGenerator();
    explicit RandomGenerator(ClockSource clock) : clock_(clock) {}

    // Takes the low 32 bits of the clock as the new state (or what the seed
    // source makes of them).
    void ReseedRandom() { state_ = seeds_ ? seeds_->NextSeed(clock_) : clock_(); }

    // Advances the state and maps it onto 0..n-1.
    std::uint32_t RandomBelow(std::uint32_t n) {
        state_ = state_ * 134775813u + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state_) * n) >> 32);
    }

    std::uint32_t State() const { return state_; }
    void SetState(std::uint32_t state) { state_ = state; }
    void SetClock(ClockSource clock) { clock_ = clock; }
    SeedSource* Seeds() const { return seeds_; }
    void SetSeeds(SeedSource* seeds) { seeds_ = seeds; }

private:
    ClockSource clock_;
    SeedSource* seeds_ = nullptr;
    std::uint32_t state_ = 0;
};

}  // namespace quillory
