#include "core/random.h"

#include <chrono>

namespace quillory {
namespace {

std::uint32_t SteadyClockLowBits() {
    return static_cast<std::uint32_t>(
        std::chrono::steady_clock::now().time_since_epoch().count());
}

ClockSource defaultClock = &SteadyClockLowBits;

}  // namespace

void SetDefaultClockSource(ClockSource source) {
    defaultClock = source ? source : &SteadyClockLowBits;
}

RandomGenerator::RandomGenerator() : clock_(defaultClock) {}

}  // namespace quillory
