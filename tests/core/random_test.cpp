#include <gtest/gtest.h>

#include <set>

#include "core/random.h"
#include "test_clock.h"

namespace quillory {
namespace {

TEST(RandomBelow, FollowsTheRecurrenceAndTheHighWordOfTheProduct) {
    RandomGenerator random(&testing::FixedClock);
    random.SetState(12345);
    // Worked out by hand: 12345 * 134775813 + 1 = 1655067934 (mod 2^32), and so on.
    EXPECT_EQ(random.RandomBelow(30), 11u);
    EXPECT_EQ(random.State(), 1655067934u);
    EXPECT_EQ(random.RandomBelow(20), 5u);
    EXPECT_EQ(random.State(), 1242767767u);
    EXPECT_EQ(random.RandomBelow(15), 1u);
    EXPECT_EQ(random.RandomBelow(1000), 553u);
    // The product needs 64 bits: a 32-bit product would lose the result.
    EXPECT_EQ(random.RandomBelow(0xFFFFFFFFu), 2721613529u);
}

TEST(RandomBelow, WrapsTheStateModulo2To32) {
    RandomGenerator random(&testing::FixedClock);
    random.SetState(0xFFFFFFFFu);
    EXPECT_EQ(random.RandomBelow(30), 29u);
    EXPECT_EQ(random.State(), 4160191484u);
}

TEST(ReseedRandom, TakesTheClockAsTheState) {
    testing::ClockValue() = 20;
    RandomGenerator random(&testing::FixedClock);
    random.SetState(999);
    random.ReseedRandom();
    EXPECT_EQ(random.State(), 20u);
    EXPECT_EQ(random.RandomBelow(15), 9u);
}

TEST(RandomBelow, ReachesEveryColumnAndRowAndNothingElse) {
    RandomGenerator random(&testing::FixedClock);
    random.SetState(1);
    std::set<std::uint32_t> columns, rows;
    for (int i = 0; i < 5000; ++i) {
        columns.insert(random.RandomBelow(30) + 1);
        rows.insert(random.RandomBelow(20) + 1);
    }
    ASSERT_EQ(columns.size(), 30u);
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_EQ(*columns.begin(), 1u);
    EXPECT_EQ(*columns.rbegin(), 30u);
    EXPECT_EQ(*rows.begin(), 1u);
    EXPECT_EQ(*rows.rbegin(), 20u);
}

}  // namespace
}  // namespace quillory
