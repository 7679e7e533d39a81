// Games played by a random player through the turn queue, as the main window
// plays them, recorded as they run: the inputs of the record tests.
#pragma once

#include <optional>
#include <random>
#include <vector>

#include "core/game_record.h"
#include "core/turn_queue.h"
#include "test_clock.h"

namespace quillory::testing {

// What a player sees after a tick.
struct Frame {
    std::array<std::uint8_t, kBoardCells> Cells;
    std::int32_t Score, BonusTime;
    bool Playing;
    explicit Frame(const GameState& game)
        : Cells(game.Board.Cells()), Score(game.Score), BonusTime(game.BonusTime),
          Playing(game.Playing) {}
    bool operator==(const Frame&) const = default;
};

// Plays game `seed` to its end: keys between ticks, towards the food or at
// random, now and then a change of level, a paused tick or a game started
// over, and at some point a spiral into its own body. `frames` gets the
// position after the start and after every tick that moved.
inline std::optional<GameRecord> PlayRecordedGame(unsigned seed, std::vector<Frame>& frames) {
    std::mt19937 random(seed);
    auto below = [&random](unsigned n) { return static_cast<int>(random() % n); };
    GameState game;
    game.Random.SetClock(&SteppingClock);
    ClockValue() = random() | 1u;
    GameRecorder recorder;
    recorder.Attach(game);
    TurnQueue turns;
    const int spiralFrom = below(3) == 0 ? below(300) : 2000 + below(20000);
    int ticks = 0;
    for (bool start = true; start || game.Playing; start = below(5000) == 0) {
        if (start) {
            game.Level = 1 + below(9);
            turns.Clear();
            game.NewGameReset();
            frames.assign(1, Frame(game));
        }
        if (++ticks > spiralFrom) turns.KeyPressed(game.CurrentDirection % 4 + 1, game.CurrentDirection);
        for (int key = ticks <= spiralFrom && below(3) == 0 ? 1 + below(2) : 0; key > 0; --key) {
            int x = game.HeadX, y = game.HeadY;
            for (int cx = 1; cx <= kBoardColumns; ++cx)
                for (int cy = 1; cy <= kBoardRows; ++cy)
                    if (game.Board(cx, cy) == cellFood || game.Board(cx, cy) == cellBonus) x = cx, y = cy;
            int wanted = 1 + below(4);
            if (below(8) != 0 && (x != game.HeadX || y != game.HeadY))
                wanted = x != game.HeadX && below(2) ? (x > game.HeadX ? dirRight : dirLeft)
                                                     : (y > game.HeadY ? dirDown : dirUp);
            turns.KeyPressed(wanted, game.CurrentDirection);
        }
        if (below(400) == 0) game.Level = 1 + below(9);
        if (below(300) == 0) {
            game.Paused = true;
            game.TimerTimer();
            game.Paused = false;
        }
        game.TimerTimer();
        frames.emplace_back(game);
        if (game.Playing) turns.TickDone(game.CurrentDirection);
    }
    return recorder.Finish(game.Score);
}

}  // namespace quillory::testing
