// A clock the tests set by hand, so that every reseed gives a known sequence.
#pragma once

#include <cstdint>

namespace quillory::testing {

inline std::uint32_t& ClockValue() {
    static std::uint32_t value = 0;
    return value;
}
inline std::uint32_t FixedClock() { return ClockValue(); }

// Clock values whose first draw after a reseed is known (worked out by hand
// from state' = state * 134775813 + 1 and (state' * n) >> 32).
constexpr std::uint32_t kClockNoBonus = 0;    // bonus draw 0; first placement (1, 1)
constexpr std::uint32_t kClockBonusHit = 20;  // bonus draw 9

}  // namespace quillory::testing
