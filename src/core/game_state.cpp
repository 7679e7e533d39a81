// The rules of a game: the board's moves, the new-game position and the tick.
#include "core/game_state.h"

#include <algorithm>

#include "core/game_record.h"

namespace quillory {
namespace {

// A missed draw is normal on a crowded board; a check for any empty cell at
// all runs only after this many misses in a row, so the draws themselves are
// exactly those of an unbounded search.
constexpr int kDrawsBetweenFullBoardChecks = 64;

bool HasEmptyCell(const Board& board) {
    const auto& cells = board.Cells();
    return std::find(cells.begin(), cells.end(), cellEmpty) != cells.end();
}

}  // namespace

void MoveHead(int x, int y, int direction, int& newX, int& newY) {
    switch (direction) {
        case dirUp: newY = (y - 1 < 1) ? kBoardRows : y - 1; break;
        case dirRight: newX = (x + 1 > kBoardColumns) ? 1 : x + 1; break;
        case dirDown: newY = (y + 1 > kBoardRows) ? 1 : y + 1; break;
        case dirLeft: newX = (x - 1 < 1) ? kBoardColumns : x - 1; break;
        default: break;
    }
}

void MoveTail(const DirectionTrail& trail, int x, int y, int& newX, int& newY) {
    const int direction = trail(x, y);
    if (direction < dirUp || direction > dirLeft) return;
    newX = x;
    newY = y;
    MoveHead(x, y, direction, newX, newY);
}

bool GameState::PlaceItem(int& x, int& y) {
    Random.ReseedRandom();
    int column = 0, row = 0;
    for (int misses = 0;; ++misses) {
        if (misses > 0 && misses % kDrawsBetweenFullBoardChecks == 0 && !HasEmptyCell(Board))
            return false;
        column = static_cast<int>(Random.RandomBelow(kBoardColumns)) + 1;
        row = static_cast<int>(Random.RandomBelow(kBoardRows)) + 1;
        if (Board(column, row) == cellEmpty) break;
    }
    Board(column, row) = cellFood;
    x = column;
    y = row;
    return true;
}

void GameState::NewGameReset() {
    if (Recorder) Recorder->GameStarted(Level);  // before the first food's seed
    Score = 0;
    BonusTime = 0;
    Board.Clear();
    DirectionTrail.Clear();

    constexpr int kStartRow = 10, kFirstColumn = 5, kLastColumn = 9;
    for (int x = kFirstColumn; x <= kLastColumn; ++x) Board(x, kStartRow) = cellBody;
    TailX = kFirstColumn;
    TailY = kStartRow;
    HeadX = kLastColumn;
    HeadY = kStartRow;
    // The head's own way out is recorded by the first tick.
    for (int x = kFirstColumn; x < kLastColumn; ++x) DirectionTrail(x, kStartRow) = dirRight;

    int foodX = 0, foodY = 0;
    PlaceItem(foodX, foodY);  // a new board always has room
    if (DrawField) DrawField();

    CurrentDirection = dirRight;
    Playing = true;
    Paused = false;
}

void GameState::TimerTimer() {
    if (!Playing || Paused) return;
    if (Recorder) Recorder->TickTaken(CurrentDirection, Level);

    DirectionTrail(HeadX, HeadY) = static_cast<std::uint8_t>(CurrentDirection);

    // Tail first: a meal swallowed here makes the snake one longer, so the
    // tail waits; otherwise its cell is freed before the head moves, which
    // lets the head follow right behind it.
    if (Board(TailX, TailY) == cellFedBody) {
        Board(TailX, TailY) = cellBody;
    } else {
        Board(TailX, TailY) = cellEmpty;
        MoveTail(DirectionTrail, TailX, TailY, TailX, TailY);
    }

    MoveHead(HeadX, HeadY, CurrentDirection, HeadX, HeadY);

    const std::uint8_t entered = Board(HeadX, HeadY);
    if (entered == cellBody || entered == cellFedBody) {
        Playing = false;
        if (GameOver) GameOver();
        return;
    }

    if (entered == cellBonus) {
        Score += Level * BonusTime;
        BonusTime = 0;
    }

    if (entered == cellFood) {
        Score += Level;
        int foodX = 0, foodY = 0;
        const bool placed = PlaceItem(foodX, foodY);
        Board(HeadX, HeadY) = cellFedBody;
        if (!placed) {
            // The snake fills the board: nowhere is left for the next meal,
            // so this is where the game ends. Show the full board first.
            Playing = false;
            if (DrawField) DrawField();
            if (GameOver) GameOver();
            return;
        }
        Random.ReseedRandom();
        if (BonusTime == 0 && Random.RandomBelow(kBonusChanceRange) == kBonusChanceHit) {
            // With no free cell left for it, no bonus appears.
            if (PlaceItem(BonusX, BonusY)) {
                BonusTime = kBonusCountdown;
                Board(BonusX, BonusY) = cellBonus;
            }
        }
    }

    if (BonusTime > 0) {
        --BonusTime;
        if (BonusTime == 0) Board(BonusX, BonusY) = cellEmpty;
    }

    if (Board(HeadX, HeadY) != cellFedBody) Board(HeadX, HeadY) = cellBody;

    if (DrawField) DrawField();
}

}  // namespace quillory
