#include "core/tick_schedule.h"

#include <gtest/gtest.h>

// A 95 ms beat, up to 20 ms made up, the tick due at 1000 running at `now`:
// on time, late by all that is made up, held up longer, a little early.
TEST(TickScheduleTest, KeepsTheBeatAndNeverHurriesALateTick) {
    struct Case {
        std::int64_t now, nextDue, wait;
    };
    for (const Case& c : {Case{1000, 1095, 95}, Case{1020, 1095, 75}, Case{1021, 1116, 95},
                          Case{999, 1095, 96}}) {
        const quillory::NextTick next = quillory::NextTickAfter(1000, c.now, 95, 20);
        EXPECT_EQ(next.Due, c.nextDue) << c.now;
        EXPECT_EQ(next.Wait, c.wait) << c.now;
    }
}
