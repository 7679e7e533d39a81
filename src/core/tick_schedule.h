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

// The tick due at `due` runs at `now`; all in the same unit. The next one is
// due an interval after this one's due time, so a tick up to `makeUp` late
// (the clock's rounding) is made up on the next wait. A tick held up longer
// (a box, a menu, a busy moment) starts the beat afresh: the next one comes a
// whole interval later, never hurried to catch up.
constexpr NextTick NextTickAfter(std::int64_t due, std::int64_t now, std::int64_t interval,
                                 std::int64_t makeUp) {
    if (now - due > makeUp) return {now + interval, interval};
    return {due + interval, due + interval - now};
}

}  // namespace quillory
