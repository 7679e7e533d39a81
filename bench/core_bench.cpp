// The cost of the tick itself, without any drawing: a game moving on a nearly
// empty board and on a board two-thirds full, with and without a meal, and
// with and without the recorder the game runs with.
#include <benchmark/benchmark.h>

#include "core/game_record.h"
#include "core/game_state.h"

namespace {

using quillory::GameState;

// Fills rows 1..rows with cells the snake must not touch: the board's crowd.
void Crowd(GameState& game, int rows) {
    for (int x = 1; x <= quillory::kBoardColumns; ++x)
        for (int y = 1; y <= rows; ++y) game.Board(x, y) = quillory::cellBody;
}

// A running game whose snake walks along row 17 to the right forever, with
// the food kept off that row.
GameState RunningGame(int crowdedRows, quillory::GameRecorder* recorder = nullptr) {
    GameState game;
    if (recorder) recorder->Attach(game);
    game.NewGameReset();
    game.Board.Clear();
    game.DirectionTrail.Clear();
    Crowd(game, crowdedRows);
    for (int x = 5; x <= 9; ++x) game.Board(x, 17) = quillory::cellBody;
    for (int x = 5; x <= 8; ++x) game.DirectionTrail(x, 17) = quillory::dirRight;
    game.TailX = 5, game.TailY = 17, game.HeadX = 9, game.HeadY = 17;
    game.Board(3, 19) = quillory::cellFood;
    return game;
}

// A record full after half a million ticks starts again, so that every tick
// measured is recorded.
void KeepRecording(quillory::GameRecorder* recorder, const GameState& game) {
    if (recorder && !recorder->Recording()) recorder->GameStarted(game.Level);
}

void BM_TickMove(benchmark::State& state) {
    quillory::GameRecorder recorder;
    quillory::GameRecorder* recording = state.range(1) ? &recorder : nullptr;
    GameState game = RunningGame(static_cast<int>(state.range(0)), recording);
    for (auto _ : state) {
        game.TimerTimer();
        benchmark::DoNotOptimize(game.Board);
        KeepRecording(recording, game);
    }
    if (!game.Playing) state.SkipWithError("the game ended");
}
BENCHMARK(BM_TickMove)->ArgsProduct({{0, 13}, {0, 1}})->ArgNames({"crowdedRows", "recorded"});

// A tick that eats: the next food is placed on a random empty cell and a bonus
// may appear. Each iteration starts again from the same position; the copy is
// measured on its own below.
void BM_TickEat(benchmark::State& state) {
    quillory::GameRecorder recorder;
    quillory::GameRecorder* recording = state.range(1) ? &recorder : nullptr;
    GameState start = RunningGame(static_cast<int>(state.range(0)), recording);
    start.Board(10, 17) = quillory::cellFood;
    GameState game = start;
    for (auto _ : state) {
        game = start;
        game.TimerTimer();
        benchmark::DoNotOptimize(game.Board);
        KeepRecording(recording, game);
    }
}
BENCHMARK(BM_TickEat)->ArgsProduct({{0, 13}, {0, 1}})->ArgNames({"crowdedRows", "recorded"});

void BM_StateCopy(benchmark::State& state) {
    const GameState start = RunningGame(0);
    GameState game = start;
    for (auto _ : state) {
        game = start;
        benchmark::DoNotOptimize(game.Board);
    }
}
BENCHMARK(BM_StateCopy);

}  // namespace

BENCHMARK_MAIN();
