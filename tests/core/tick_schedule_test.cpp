#include "core/tick_schedule.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

TEST(TickScheduleTest, KeepsTheBeatAndNeverHurriesALateTick) {
    struct Case {
        const char* what;
        std::int64_t due, now, nextDue, wait;
    };
    // A 95 ms beat, up to 20 ms made up; the tick due at 1000.
    for (const Case& c : {Case{"on time", 1000, 1000, 1095, 95},
                          Case{"rounded up by the clock", 1000, 1015, 1095, 80},
                          Case{"late by all that is made up", 1000, 1020, 1095, 75},
                          Case{"held up by a box", 1000, 1021, 1116, 95},
                          Case{"held up for several beats", 1000, 1500, 1595, 95},
                          Case{"a little early", 1000, 999, 1095, 96}}) {
        const NextTick next = NextTickAfter(c.due, c.now, 95, 20);
        EXPECT_EQ(next.Due, c.nextDue) << c.what;
        EXPECT_EQ(next.Wait, c.wait) << c.what;
    }
}

}  // namespace
}  // namespace quillory
