// Whole games played with random keys from fixed seeds and recorded as they
// ran: the same games on every run and every system.
#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <random>
#include <tuple>
#include <vector>

#include "core/game_record.h"
#include "core/game_state.h"
#include "core/replay_file.h"
#include "core/turn_queue.h"
#include "test_clock.h"

namespace quillory::testing {

// What a player sees after a tick.
using Frame = std::tuple<std::array<std::uint8_t, kBoardCells>, std::int32_t, std::int32_t, bool>;
inline Frame Shot(const GameState& g) {
    return {g.Board.Cells(), g.Score, g.BonusTime, g.Playing};
}

// Game `seed` played through the turn queue, mostly towards the food, with changes of level, paused
// ticks and games started over; in the end a spiral into its own body. `frames`: after every move.
inline std::optional<GameRecord> PlayRecordedGame(unsigned seed, std::vector<Frame>& frames) {
    std::mt19937 random(seed);
    auto below = [&random](unsigned n) { return static_cast<int>(random() % n); };
    GameState game;
    game.Random.SetClock(&FixedClock);
    GameRecorder recorder;
    recorder.Attach(game);
    TurnQueue turns;
    const int spiralFrom = below(3) == 0 ? below(300) : 2000 + below(20000);
    for (int tick = 0, start = 1; start || game.Playing; ++tick, start = below(5000) == 0) {
        ClockValue() = random();
        if (start) {
            game.Level = 1 + below(9);
            turns.Clear();
            game.NewGameReset();
            frames.assign(1, Shot(game));
        }
        for (int key = tick > spiralFrom ? 1 : below(3) == 0 ? 1 + below(2) : 0; key > 0; --key) {
            const auto food =
                std::ranges::find(game.Board.Cells(), cellFood) - game.Board.Cells().begin();
            const int dx = int(food) / kBoardRows + 1 - game.HeadX,
                      dy = int(food) % kBoardRows + 1 - game.HeadY;
            const int towards = (dx && (!dy || below(2))) ? (dx > 0 ? dirRight : dirLeft)
                                                          : (dy > 0 ? dirDown : dirUp);
            const int wanted = below(8) ? towards : 1 + below(4);
            turns.KeyPressed(tick > spiralFrom ? game.CurrentDirection % 4 + 1 : wanted,
                             game.CurrentDirection);
        }
        if (below(400) == 0) game.Level = 1 + below(9);
        game.Paused = below(300) == 0;  // such a tick moves nothing; the next one does
        if (game.Paused) game.TimerTimer();
        game.Paused = false;
        game.TimerTimer();
        frames.push_back(Shot(game));
        if (game.Playing) turns.TickDone(game.CurrentDirection);
    }
    return recorder.Finish(game.Score);
}

// The records of games that scored, each with a row of its own.
inline std::vector<KeptReplay> ScoringGames(unsigned seed, std::size_t count) {
    std::vector<KeptReplay> games;
    for (std::vector<Frame> frames; games.size() < count; ++seed) {
        KeptReplay kept{{}, *PlayRecordedGame(seed, frames)};
        kept.Row.Points = kept.Game.FinalScore;
        if (kept.Row.Points > 0) games.push_back(kept);
    }
    return games;
}

}  // namespace quillory::testing
