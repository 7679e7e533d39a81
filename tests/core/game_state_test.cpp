#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "core/game_state.h"
#include "test_clock.h"

namespace quillory {
namespace {

int CountCells(const GameState& game, std::uint8_t code) {
    int count = 0;
    for (std::uint8_t cell : game.Board.Cells()) count += cell == code;
    return count;
}
int CountBody(const GameState& game) {
    return CountCells(game, cellBody) + CountCells(game, cellFedBody);
}

// A game whose every reseed returns the tests' clock; it counts its outward calls.
class GameTest : public ::testing::Test {
protected:
    GameTest() {
        testing::ClockValue() = testing::kClockNoBonus;
        game.Random.SetClock(&testing::FixedClock);
        game.DrawField = [this] { ++draws; };
        game.GameOver = [this] { ++gameOvers; };
    }

    // New game with the food moved to (x, y).
    void StartWithFoodAt(int x, int y) {
        game.NewGameReset();
        for (int cx = 1; cx <= kBoardColumns; ++cx)
            for (int cy = 1; cy <= kBoardRows; ++cy)
                if (game.Board(cx, cy) == cellFood) game.Board(cx, cy) = cellEmpty;
        game.Board(x, y) = cellFood;
        draws = 0;
    }

    GameState game;
    int draws = 0;
    int gameOvers = 0;
};

TEST(Movement, WrapsOnAllFourEdges) {
    int x = 0, y = 0;
    MoveHead(30, 7, dirRight, x = -1, y = -1);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, -1) << "a horizontal step writes only the column";
    MoveHead(1, 7, dirLeft, x, y = -1);
    EXPECT_EQ(x, 30);
    MoveHead(4, 1, dirUp, x = -1, y);
    EXPECT_EQ(y, 20);
    EXPECT_EQ(x, -1) << "a vertical step writes only the row";
    MoveHead(4, 20, dirDown, x, y);
    EXPECT_EQ(y, 1);
    MoveHead(15, 10, dirDown, x = -1, y = -1);
    EXPECT_EQ(y, 11);

    DirectionTrail trail;
    trail(30, 5) = dirRight;
    MoveTail(trail, 30, 5, x, y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 5);
}

TEST(Movement, UnknownDirectionsLeaveTheOutputsAlone) {
    int x = -7, y = -7;
    MoveHead(5, 5, dirNone, x, y);
    MoveHead(5, 5, 9, x, y);
    EXPECT_EQ(x, -7);
    EXPECT_EQ(y, -7);
    DirectionTrail trail;  // all zero
    MoveTail(trail, 5, 5, x, y);
    EXPECT_EQ(x, -7);
    EXPECT_EQ(y, -7);
}

TEST_F(GameTest, NewGameStartsWithFiveBodyCellsAndOneFood) {
    game.Score = 55;
    game.BonusTime = 12;
    game.Paused = true;
    game.Board(20, 3) = cellBonus;
    game.NewGameReset();

    for (int x = 5; x <= 9; ++x) EXPECT_EQ(game.Board(x, 10), cellBody) << x;
    for (int x = 5; x <= 8; ++x) EXPECT_EQ(game.DirectionTrail(x, 10), dirRight) << x;
    EXPECT_EQ(game.DirectionTrail(9, 10), 0);
    EXPECT_EQ(CountCells(game, cellFood), 1);
    EXPECT_EQ(CountBody(game), 5);
    EXPECT_EQ(CountCells(game, cellEmpty), kBoardCells - 6);
    EXPECT_EQ(game.TailX, 5);
    EXPECT_EQ(game.TailY, 10);
    EXPECT_EQ(game.HeadX, 9);
    EXPECT_EQ(game.HeadY, 10);
    EXPECT_EQ(game.Score, 0);
    EXPECT_EQ(game.BonusTime, 0);
    EXPECT_EQ(game.CurrentDirection, dirRight);
    EXPECT_TRUE(game.Playing);
    EXPECT_FALSE(game.Paused);
    EXPECT_EQ(draws, 1);
}

TEST_F(GameTest, FirstTickMovesTailBeforeHead) {
    StartWithFoodAt(20, 3);
    game.TimerTimer();
    for (int x = 6; x <= 10; ++x) EXPECT_EQ(game.Board(x, 10), cellBody) << x;
    EXPECT_EQ(game.Board(5, 10), cellEmpty);
    EXPECT_EQ(game.DirectionTrail(9, 10), dirRight);
    EXPECT_EQ(game.TailX, 6);
    EXPECT_EQ(game.HeadX, 10);
    EXPECT_EQ(draws, 1);
}

TEST_F(GameTest, TicksDoNothingWhenNotRunning) {
    StartWithFoodAt(20, 3);
    game.Paused = true;
    const GameState before = game;
    game.TimerTimer();
    EXPECT_EQ(game.Board.Cells(), before.Board.Cells());
    EXPECT_EQ(game.DirectionTrail.Cells(), before.DirectionTrail.Cells());
    EXPECT_EQ(game.HeadX, before.HeadX);
    EXPECT_EQ(game.TailX, before.TailX);
    EXPECT_EQ(draws, 0);

    game.Paused = false;
    game.Playing = false;
    game.TimerTimer();
    EXPECT_EQ(game.Board.Cells(), before.Board.Cells());
    EXPECT_EQ(draws + gameOvers, 0);
}

TEST_F(GameTest, HeadWrapsFromTheRightEdgeAndTheTopEdge) {
    StartWithFoodAt(20, 3);
    for (int i = 0; i < 21; ++i) game.TimerTimer();  // head from column 9 to 30
    EXPECT_EQ(game.HeadX, 30);
    game.TimerTimer();
    EXPECT_EQ(game.HeadX, 1);
    EXPECT_EQ(game.Board(1, 10), cellBody);
    EXPECT_TRUE(game.Playing);

    game.CurrentDirection = dirUp;
    for (int i = 0; i < 10; ++i) game.TimerTimer();  // row 10 up to row 20 through row 1
    EXPECT_EQ(game.HeadY, 20);
    EXPECT_EQ(game.Board(1, 20), cellBody);
    EXPECT_TRUE(game.Playing);
}

TEST_F(GameTest, FoodScoresLevelAndTheSnakeGrowsWhenTheTailGetsThere) {
    game.Level = 4;
    StartWithFoodAt(10, 10);
    game.TimerTimer();
    EXPECT_EQ(game.Score, 4);
    EXPECT_EQ(game.Board(10, 10), cellFedBody);
    EXPECT_EQ(CountCells(game, cellFood), 1);
    EXPECT_EQ(CountBody(game), 5) << "no growth until the tail reaches the meal";

    for (int i = 0; i < 4; ++i) game.TimerTimer();  // the tail walks to (10, 10)
    EXPECT_EQ(game.TailX, 10);
    EXPECT_EQ(game.Board(10, 10), cellFedBody);
    EXPECT_EQ(CountBody(game), 5);
    game.TimerTimer();  // the tail stays, the meal becomes body
    EXPECT_EQ(game.TailX, 10);
    EXPECT_EQ(game.Board(10, 10), cellBody);
    EXPECT_EQ(CountBody(game), 6);
    game.TimerTimer();
    EXPECT_EQ(game.TailX, 11);
    EXPECT_EQ(CountBody(game), 6);
}

TEST_F(GameTest, BonusAppearsWithCountdown29AndVanishesAfter29Ticks) {
    testing::ClockValue() = testing::kClockBonusHit;
    StartWithFoodAt(10, 10);
    game.TimerTimer();
    ASSERT_EQ(game.BonusTime, 29);
    ASSERT_EQ(CountCells(game, cellBonus), 1);
    EXPECT_EQ(game.Board(game.BonusX, game.BonusY), cellBonus);

    // Worked out by hand from the clock: the new food lands on (19, 13) and
    // the bonus on the next draw, (21, 13), both off the head's row.
    EXPECT_EQ(game.Board(19, 13), cellFood);
    EXPECT_EQ(game.BonusX, 21);
    EXPECT_EQ(game.BonusY, 13);
    const int bonusX = game.BonusX, bonusY = game.BonusY;
    for (int tick = 1; tick <= 29; ++tick) {
        game.TimerTimer();
        ASSERT_TRUE(game.Playing);
        EXPECT_EQ(game.BonusTime, 29 - tick);
        if (tick < 29) {
            EXPECT_EQ(game.Board(bonusX, bonusY), cellBonus);
        }
    }
    EXPECT_EQ(game.Board(bonusX, bonusY), cellEmpty);
    EXPECT_EQ(CountCells(game, cellBonus), 0);
}

TEST_F(GameTest, BonusAwardIsLevelTimesTheCountdownShown) {
    StartWithFoodAt(20, 3);
    game.Level = 7;
    game.Board(10, 10) = cellBonus;  // as on the tick after its placement
    game.BonusX = 10;
    game.BonusY = 10;
    game.BonusTime = 29;
    game.TimerTimer();
    EXPECT_EQ(game.Score, 7 * 29);
    EXPECT_EQ(game.BonusTime, 0);
    EXPECT_EQ(game.Board(10, 10), cellBody);
    EXPECT_EQ(CountCells(game, cellBonus), 0);
}

TEST_F(GameTest, FoodWhileABonusShowsDrawsNoSecondBonus) {
    testing::ClockValue() = testing::kClockBonusHit;  // every draw would hit
    StartWithFoodAt(10, 10);
    game.Board(25, 18) = cellBonus;
    game.BonusX = 25;
    game.BonusY = 18;
    game.BonusTime = 12;
    game.TimerTimer();
    EXPECT_EQ(game.BonusTime, 11);
    EXPECT_EQ(CountCells(game, cellBonus), 1);
    EXPECT_EQ(game.Board(25, 18), cellBonus);
}

TEST_F(GameTest, LevelChangeDuringAGameChangesTheNextAward) {
    StartWithFoodAt(10, 10);
    EXPECT_EQ(game.TickIntervalMs(), 95);
    game.Level = 9;
    game.TimerTimer();
    EXPECT_EQ(game.Score, 9);
    EXPECT_EQ(game.TickIntervalMs(), 45);
}

TEST_F(GameTest, HeadMayFollowIntoTheCellTheTailLeaves) {
    // A four-cell ring: tail (5, 11) -> (5, 10) -> (6, 10) -> head (6, 11), heading left.
    game.Playing = true;
    for (auto [x, y] : {std::pair{5, 11}, {5, 10}, {6, 10}, {6, 11}}) game.Board(x, y) = cellBody;
    game.DirectionTrail(5, 11) = dirUp;
    game.DirectionTrail(5, 10) = dirRight;
    game.DirectionTrail(6, 10) = dirDown;
    game.TailX = 5, game.TailY = 11, game.HeadX = 6, game.HeadY = 11;
    game.CurrentDirection = dirLeft;

    game.TimerTimer();
    EXPECT_TRUE(game.Playing);
    EXPECT_EQ(gameOvers, 0);
    EXPECT_EQ(game.HeadX, 5);
    EXPECT_EQ(game.HeadY, 11);
    EXPECT_EQ(game.TailX, 5);
    EXPECT_EQ(game.TailY, 10);
    EXPECT_EQ(CountBody(game), 4);

    // The same ring with a meal at the tail: the tail stays, and the head runs into it.
    game.Board(game.TailX, game.TailY) = cellFedBody;
    game.CurrentDirection = dirUp;
    game.TimerTimer();
    EXPECT_FALSE(game.Playing);
    EXPECT_EQ(gameOvers, 1);
}

TEST_F(GameTest, CollisionEndsTheGameWithoutARedraw) {
    StartWithFoodAt(20, 3);
    game.CurrentDirection = dirLeft;  // straight back into the neck
    game.TimerTimer();
    EXPECT_FALSE(game.Playing);
    EXPECT_EQ(gameOvers, 1);
    EXPECT_EQ(draws, 0);
    EXPECT_EQ(game.Board(5, 10), cellEmpty) << "the tail moved before the head hit";
    const int headX = game.HeadX;
    game.TimerTimer();
    game.TimerTimer();
    EXPECT_EQ(gameOvers, 1);
    EXPECT_EQ(draws, 0);
    EXPECT_EQ(game.HeadX, headX);
}

// Fills every cell with body except the ones listed.
void FillBoardExcept(GameState& game, std::initializer_list<std::pair<int, int>> keep) {
    for (int x = 1; x <= kBoardColumns; ++x)
        for (int y = 1; y <= kBoardRows; ++y) game.Board(x, y) = cellBody;
    for (auto [x, y] : keep) game.Board(x, y) = cellEmpty;
}

TEST_F(GameTest, NoRoomForTheNextFoodEndsTheGame) {
    game.Playing = true;
    FillBoardExcept(game, {{10, 10}});
    game.Board(10, 10) = cellFood;
    game.HeadX = 9, game.HeadY = 10, game.CurrentDirection = dirRight;
    game.TailX = 1, game.TailY = 1;
    game.Board(1, 1) = cellFedBody;  // the tail stays: no cell is freed
    game.Level = 3;

    game.TimerTimer();  // must return
    EXPECT_FALSE(game.Playing);
    EXPECT_EQ(gameOvers, 1);
    EXPECT_EQ(game.Score, 3);
    EXPECT_EQ(game.Board(10, 10), cellFedBody);
    EXPECT_EQ(CountCells(game, cellEmpty), 0);
    game.TimerTimer();
    EXPECT_EQ(gameOvers, 1);
}

TEST_F(GameTest, NoRoomForABonusPlacesNone) {
    testing::ClockValue() = testing::kClockBonusHit;
    game.Playing = true;
    FillBoardExcept(game, {{10, 10}});
    game.Board(10, 10) = cellFood;
    game.HeadX = 9, game.HeadY = 10, game.CurrentDirection = dirRight;
    game.TailX = 1, game.TailY = 1;
    game.DirectionTrail(1, 1) = dirRight;  // the tail frees (1, 1): room for one food only

    game.TimerTimer();
    EXPECT_TRUE(game.Playing);
    EXPECT_EQ(game.Board(1, 1), cellFood);
    EXPECT_EQ(game.BonusTime, 0);
    EXPECT_EQ(CountCells(game, cellBonus), 0);
    EXPECT_EQ(draws, 1);
}

TEST_F(GameTest, PlaceItemNeverPicksAnOccupiedCell) {
    FillBoardExcept(game, {{17, 4}});
    game.Board(3, 3) = cellFood;
    game.Board(4, 4) = cellFedBody;
    game.Board(5, 5) = cellBonus;
    int x = 0, y = 0;
    ASSERT_TRUE(game.PlaceItem(x, y));
    EXPECT_EQ(x, 17);
    EXPECT_EQ(y, 4);
    EXPECT_EQ(game.Board(17, 4), cellFood);
    x = y = -1;
    EXPECT_FALSE(game.PlaceItem(x, y));
    EXPECT_EQ(x, -1) << "a failed placement writes nothing";
}

// ---- A long run: many games with random turns; the invariants hold after every tick.

std::uint32_t CountingClock() {
    static std::uint32_t ticks = 0x9E3779B9u;
    return ticks += 0x6D2B79F5u;
}

// The snake's length walked along the trail from the tail to the head, or -1
// when the walk leaves the body or never reaches the head.
int LengthAlongTrail(const GameState& game) {
    int x = game.TailX, y = game.TailY;
    for (int length = 1; length <= kBoardCells; ++length) {
        const std::uint8_t cell = game.Board(x, y);
        if (cell != cellBody && cell != cellFedBody) return -1;
        if (x == game.HeadX && y == game.HeadY) return length;
        MoveHead(x, y, game.DirectionTrail(x, y), x, y);
    }
    return -1;
}

int Opposite(int direction) { return (direction + 1) % 4 + 1; }

// The direction that brings the head nearer to the food (ignoring the wrap).
int DirectionTowardsFood(const GameState& game) {
    for (int x = 1; x <= kBoardColumns; ++x)
        for (int y = 1; y <= kBoardRows; ++y)
            if (game.Board(x, y) == cellFood) {
                if (x != game.HeadX) return x > game.HeadX ? dirRight : dirLeft;
                return y > game.HeadY ? dirDown : dirUp;
            }
    return game.CurrentDirection;
}

TEST(LongRun, InvariantsHoldAfterEveryTick) {
    GameState game;
    game.Random.SetClock(&CountingClock);
    std::mt19937 turns(20261208);
    int games = 0, ticks = 0, foods = 0, bonuses = 0, gameOvers = 0;  // bonuses: appearances
    game.GameOver = [&] { ++gameOvers; };

    for (games = 0; games < 300; ++games) {
        game.Level = 1 + games % 9;
        game.NewGameReset();
        for (int tick = 0; tick < 4000 && game.Playing; ++tick) {
            int turn = game.CurrentDirection;
            if (turns() % 4 != 0) {
                turn = DirectionTowardsFood(game);  // mostly hungry...
            } else if (turns() % 3 == 0) {
                turn = 1 + static_cast<int>(turns() % 4);  // ...sometimes wandering
            }
            // Never straight back into the neck, but for a rare slip.
            if (turn != Opposite(game.CurrentDirection) || turns() % 200 == 0)
                game.CurrentDirection = turn;
            const int scoreBefore = game.Score;
            game.TimerTimer();
            ++ticks;
            if (!game.Playing) break;
            foods += game.Score - scoreBefore == game.Level;
            bonuses += game.BonusTime == 29;

            ASSERT_EQ(CountCells(game, cellFood), 1) << "game " << games << " tick " << tick;
            ASSERT_LE(CountCells(game, cellBonus), 1);
            ASSERT_GE(game.BonusTime, 0);
            ASSERT_LE(game.BonusTime, 29);
            ASSERT_EQ(CountCells(game, cellBonus), game.BonusTime > 0 ? 1 : 0);
            if (game.BonusTime > 0) {
                ASSERT_EQ(game.Board(game.BonusX, game.BonusY), cellBonus);
            }
            ASSERT_EQ(LengthAlongTrail(game), CountBody(game)) << "game " << games << " tick " << tick;
            const std::uint8_t head = game.Board(game.HeadX, game.HeadY);
            ASSERT_TRUE(head == cellBody || head == cellFedBody);
        }
    }
    EXPECT_EQ(gameOvers, games - static_cast<int>(game.Playing));
    // The run must have exercised what it checks.
    EXPECT_GT(ticks, 10000);
    EXPECT_GT(foods, 2000);
    EXPECT_GT(bonuses, 80);
    std::printf("long run: %d games, %d ticks, %d meals, %d bonuses\n", games, ticks, foods, bonuses);
}

}  // namespace
}  // namespace quillory
