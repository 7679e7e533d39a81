// A steady beat on a monotonic clock: when the next tick is due and how long
// to wait for it. A system timer that is simply re-armed with the interval
// rounds every period up to its next clock interrupt and drifts; holding each
// tick to a due time keeps the mean at the interval itself.
#pragma once

#include <cstdint>

namespace quillory {

struct NextTick {
    std::int64_t Due;   // when the next tick is due
    std::int64_t Wait;  // from now until then
};

// The tick due at `due` runs at `now`; all three in the same unit. The next
// one is due an interval after this one's due time, so a tick a little late
// (the clock's rounding) is made up on the next wait. A tick held up longer
// than half an interval (a box, a menu, a busy moment) starts the beat afresh:
// the next one comes a whole interval later, never hurried to catch up.
constexpr NextTick NextTickAfter(std::int64_t due, std::int64_t now, std::int64_t interval) {
    if (now - due > interval / 2) return {now + interval, interval};
    return {due + interval, due + interval - now};
}

}  // namespace quillory
