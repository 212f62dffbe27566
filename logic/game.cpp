#include "game.h"

#include "cells.h"
#include "randomsource.h"

#include <array>
#include <cmath>

namespace slidane {
namespace {

// How the gap travels for each Direction 0 to 3: right, down, left, up.
struct Travel {
    int row;
    int col;
};
constexpr std::array<Travel, 4> kTravel = {{{0, 1}, {1, 0}, {0, -1}, {-1, 0}}};

} // namespace

void Game::NewGame(RandomSource &random)
{
    board_ = Board{};
    for (Row = 1; Row <= 4; ++Row) {
        for (Col = 1; Col <= 4; ++Col) {
            board_(Row, Col) = static_cast<Int>((Row - 1) * 4 + Col);
        }
    }
    board_(4, 4) = 0;

    random.reseed();
    Col = 4;
    Row = 4;

    // Each step draws a direction and moves the gap one cell that way, the
    // tile beside it taking the gap's place; a direction off the board is a
    // step all the same. The gap's value is written back even on a blocked
    // step, which keeps the loop free of branches the draw would mispredict.
    for (Int Step = 1; Step <= kShuffleSteps; ++Step) {
        const auto Direction = static_cast<Int>(std::floor(random.draw() * 4.0f));
        // A source that broke its [0, 1) promise throws here instead of
        // reading past the table.
        const Travel &travel = kTravel.at(static_cast<std::size_t>(Direction));
        const int toRow = Row + travel.row;
        const int toCol = Col + travel.col;
        const bool open = toRow > 0 && toRow < 5 && toCol > 0 && toCol < 5;
        const auto nextRow = static_cast<Int>(open ? toRow : Row);
        const auto nextCol = static_cast<Int>(open ? toCol : Col);
        board_(Row, Col) = board_(nextRow, nextCol);
        board_(nextRow, nextCol) = 0;
        Row = nextRow;
        Col = nextCol;
    }
}

std::optional<Exchange> Game::clickCell(int cell)
{
    std::optional<Exchange> moved;
    // All neighbours are tested, also after a move; none can hold the gap
    // then, because the gap has just come to the clicked cell itself.
    for (const int neighbour : neighboursOf(cell)) {
        if (board_(rowOfCell(neighbour), colOfCell(neighbour)) == 0) {
            MoveTile(cell, neighbour);
            moved = Exchange{cell, neighbour};
        }
    }
    return moved;
}

void Game::MoveTile(int clicked, int blank)
{
    board_(rowOfCell(blank), colOfCell(blank)) = board_(rowOfCell(clicked), colOfCell(clicked));
    board_(rowOfCell(clicked), colOfCell(clicked)) = 0;
}

SolvedCheck Game::CheckSolved()
{
    SolvedCheck check;
    for (Row = 1; Row <= 4; ++Row) {
        for (Col = 1; Col <= 4; ++Col) {
            if (board_(Row, Col) == (Row - 1) * 4 + Col) {
                ++check.matches;
            }
        }
    }
    // The gap's home value 16 never stands on the Board, so 15 is the most.
    check.solved = check.matches == 15;
    return check;
}

} // namespace slidane
