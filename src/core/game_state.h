// The board, the snake and the game's rules: everything a tick needs, with no
// window anywhere near it. The program keeps exactly one GameState; tests make
// as many as they like.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "core/random.h"

namespace quillory {

class GameRecorder;

constexpr int kBoardColumns = 30;
constexpr int kBoardRows = 20;
constexpr int kBoardCells = kBoardColumns * kBoardRows;

// What a cell of the board holds.
enum CellCode : std::uint8_t {
    cellEmpty = 0,
    cellBody = 5,     // a cell of the snake, the head included
    cellFood = 6,
    cellFedBody = 7,  // a body cell holding a swallowed meal: the snake grows when the tail gets here
    cellBonus = 8,
};

// Which way the head moves; also the code the trail keeps for each body cell.
enum Direction : std::int32_t {
    dirNone = 0,
    dirUp = 1,
    dirRight = 2,
    dirDown = 3,
    dirLeft = 4,
};

// A 30 x 20 grid of bytes addressed 1-based as [x, y]: column x 1..30 from the
// left, row y 1..20 from the top. The cells of one column lie together.
class CellGrid {
public:
    std::uint8_t& operator()(int x, int y) { return cells_[Index(x, y)]; }
    std::uint8_t operator()(int x, int y) const { return cells_[Index(x, y)]; }
    void Clear() { cells_.fill(0); }
    const std::array<std::uint8_t, kBoardCells>& Cells() const { return cells_; }

private:
    static int Index(int x, int y) { return (x - 1) * kBoardRows + (y - 1); }
    std::array<std::uint8_t, kBoardCells> cells_{};
};

using Board = CellGrid;           // holds CellCode values
using DirectionTrail = CellGrid;  // holds Direction values, one byte each

// The neighbour of (x, y) in a direction, wrapping at the edges. Only the
// coordinate that changes is written; a direction outside 1..4 writes nothing.
void MoveHead(int x, int y, int direction, int& newX, int& newY);

// The tail's next cell: the neighbour in the direction the trail recorded at
// (x, y). A trail code outside 1..4 leaves the outputs unchanged.
void MoveTail(const DirectionTrail& trail, int x, int y, int& newX, int& newY);

struct GameState {
    quillory::Board Board;
    quillory::DirectionTrail DirectionTrail;

    std::int32_t Level = 7;
    std::int32_t Score = 0;
    std::int32_t CurrentDirection = dirNone;
    bool Playing = false;
    bool Paused = false;
    std::int32_t TailX = 0, TailY = 0;
    std::int32_t HeadX = 0, HeadY = 0;
    std::int32_t BonusX = 0, BonusY = 0;
    std::int32_t BonusTime = 0;  // ticks the bonus has left; 0: none on the board

    RandomGenerator Random;

    // Notes the level, the directions and (through Random) the seeds of the
    // games this state plays; none: nothing is noted.
    GameRecorder* Recorder = nullptr;

    // The two calls a tick makes outward. Either may be left empty.
    std::function<void()> DrawField;  // the redraw, after every tick that does not end the game
    std::function<void()> GameOver;   // the end of a game, after Playing has been cleared

    // Puts food on a random empty cell and returns the cell. Returns false,
    // writing nothing, when no cell of the board is empty.
    bool PlaceItem(int& x, int& y);

    // The starting position of a new game: snake in row 10 from column 5 to 9
    // heading right, one food, redraw, Running.
    void NewGameReset();

    // One move of the snake and everything that follows from it.
    void TimerTimer();

    // The tick interval a new game at the current level runs at.
    int TickIntervalMs() const { return TickIntervalMsAt(Level); }
    static constexpr int TickIntervalMsAt(int level) { return 270 - 25 * level; }
};

constexpr int kInitialTickIntervalMs = 150;  // before the first new game
constexpr int kBonusCountdown = 30;
constexpr int kBonusChanceRange = 15;        // a bonus appears when RandomBelow(15) draws...
constexpr int kBonusChanceHit = 9;           // ...this number

}  // namespace quillory
