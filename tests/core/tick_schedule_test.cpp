#include "core/tick_schedule.h"

#include <gtest/gtest.h>

#include <array>

// A 95 ms beat, 20 ms made up; the tick due at 1000 runs on time, late, held up, early.
TEST(TickScheduleTest, KeepsTheBeatAndNeverHurriesALateTick) {
    using Case = std::array<std::int64_t, 3>;  // now, next due, wait
    for (const auto& [now, nextDue, wait] :
         {Case{1000, 1095, 95}, Case{1020, 1095, 75}, Case{1021, 1116, 95}, Case{999, 1095, 96}}) {
        const quillory::NextTick next = quillory::NextTickAfter(1000, now, 95, 20);
        EXPECT_EQ(next.Due, nextDue) << now;
        EXPECT_EQ(next.Wait, wait) << now;
    }
}
