#include "core/turn_queue.h"

#include <gtest/gtest.h>

#include "core/game_state.h"

namespace quillory {
namespace {

TEST(TurnQueueTest, SingleKeysFollowTheArrowTable) {
    // Only quarter turns are allowed; a reverse or the same direction is refused.
    struct Case {
        std::int32_t current, requested;
        bool allowed;
    };
    const Case cases[] = {
        {dirRight, dirUp, true},     {dirRight, dirDown, true},  {dirRight, dirLeft, false},
        {dirRight, dirRight, false}, {dirLeft, dirUp, true},     {dirLeft, dirDown, true},
        {dirUp, dirLeft, true},      {dirUp, dirRight, true},    {dirUp, dirDown, false},
        {dirUp, dirUp, false},       {dirDown, dirLeft, true},   {dirDown, dirUp, false},
        {dirNone, dirUp, false},     {dirRight, dirNone, false},
    };
    for (const Case& c : cases) {
        TurnQueue queue;
        std::int32_t direction = c.current;
        EXPECT_EQ(queue.KeyPressed(c.requested, direction), c.allowed)
            << c.current << " -> " << c.requested;
        EXPECT_EQ(direction, c.allowed ? c.requested : c.current);
        EXPECT_EQ(queue.Pending(), 0u);
    }
}

TEST(TurnQueueTest, TwoQuickKeysMakeACornerOverTwoTicks) {
    // Moving right, Up then Left before the tick: without the queue the snake
    // would reverse into its neck. The tick goes up, the next one left.
    TurnQueue queue;
    std::int32_t direction = dirRight;
    EXPECT_TRUE(queue.KeyPressed(dirUp, direction));
    EXPECT_EQ(direction, dirUp);
    EXPECT_TRUE(queue.KeyPressed(dirLeft, direction));
    EXPECT_EQ(direction, dirUp) << "the second key waits";
    EXPECT_EQ(queue.Pending(), 1u);

    queue.TickDone(direction);  // the tick moved up
    EXPECT_EQ(direction, dirLeft);
    EXPECT_EQ(queue.Pending(), 0u);
    queue.TickDone(direction);  // the tick moved left
    EXPECT_EQ(direction, dirLeft);
    EXPECT_FALSE(queue.TurnedThisTick());
}

TEST(TurnQueueTest, WaitingKeysAreTestedAgainstTheTurnBeforeThem) {
    TurnQueue queue;
    std::int32_t direction = dirRight;
    ASSERT_TRUE(queue.KeyPressed(dirUp, direction));
    EXPECT_FALSE(queue.KeyPressed(dirDown, direction)) << "reverse of the pending Up";
    EXPECT_FALSE(queue.KeyPressed(dirUp, direction)) << "same as the pending Up";
    EXPECT_TRUE(queue.KeyPressed(dirLeft, direction));
    EXPECT_FALSE(queue.KeyPressed(dirRight, direction)) << "reverse of the queued Left";
    EXPECT_TRUE(queue.KeyPressed(dirDown, direction));
    EXPECT_FALSE(queue.KeyPressed(dirRight, direction)) << "the queue holds two at most";
    EXPECT_EQ(queue.Pending(), 2u);

    // One turn per tick: up, then left, then down.
    queue.TickDone(direction);
    EXPECT_EQ(direction, dirLeft);
    // A key in this tick is tested against the last waiting turn (down).
    EXPECT_TRUE(queue.KeyPressed(dirRight, direction));
    queue.TickDone(direction);
    EXPECT_EQ(direction, dirDown);
    queue.TickDone(direction);
    EXPECT_EQ(direction, dirRight);
    queue.TickDone(direction);
    EXPECT_EQ(direction, dirRight);
    EXPECT_EQ(queue.Pending(), 0u);
}

TEST(TurnQueueTest, ClearForgetsWaitingTurnsAndTheTicksTurn) {
    TurnQueue queue;
    std::int32_t direction = dirRight;
    ASSERT_TRUE(queue.KeyPressed(dirUp, direction));
    ASSERT_TRUE(queue.KeyPressed(dirLeft, direction));
    queue.Clear();
    EXPECT_EQ(queue.Pending(), 0u);
    EXPECT_FALSE(queue.TurnedThisTick());
    queue.TickDone(direction);
    EXPECT_EQ(direction, dirUp) << "nothing waiting is applied after Clear";
    // After Clear the next key is a first key again and turns at once.
    EXPECT_TRUE(queue.KeyPressed(dirLeft, direction));
    EXPECT_EQ(direction, dirLeft);
}

TEST(TurnQueueTest, NoSequenceOfKeysReversesTheSnakeBetweenTwoTicks) {
    // Every sequence of up to four keys between ticks, over a few ticks: the
    // direction each tick uses is never the reverse of the previous tick's.
    const std::int32_t keys[] = {dirUp, dirRight, dirDown, dirLeft};
    for (int pattern = 0; pattern < 256; ++pattern) {
        TurnQueue queue;
        std::int32_t direction = dirRight;
        std::int32_t moved = direction;
        for (int tick = 0; tick < 3; ++tick) {
            for (int k = 0; k < 4; ++k) queue.KeyPressed(keys[(pattern >> (2 * k)) & 3], direction);
            const bool reverse = (moved == dirUp && direction == dirDown) ||
                                 (moved == dirDown && direction == dirUp) ||
                                 (moved == dirLeft && direction == dirRight) ||
                                 (moved == dirRight && direction == dirLeft);
            ASSERT_FALSE(reverse) << "pattern " << pattern << " tick " << tick;
            moved = direction;
            queue.TickDone(direction);
        }
    }
}

}  // namespace
}  // namespace quillory
