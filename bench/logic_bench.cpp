#include "board.h"
#include "clockrandom.h"
#include "game.h"

#include <benchmark/benchmark.h>

namespace {

// One deal: reset, reseed from the clock and 1000 steps of the gap.
void newGame(benchmark::State &state)
{
    slidane::ClockRandom random;
    slidane::Game game;
    for (auto _ : state) {
        game.NewGame(random);
        benchmark::DoNotOptimize(game.board());
    }
}
BENCHMARK(newGame);

// One click that moves a tile, followed by the solved check, as a cell's
// handler runs them. Clicking cell 12 and then cell 16 moves tile 12 down and
// back, so the Board stays in the same two positions.
void clickAndCheck(benchmark::State &state)
{
    slidane::Game game;
    game.setBoard(slidane::Board::solved());
    int cell = 12;
    for (auto _ : state) {
        benchmark::DoNotOptimize(game.clickCell(cell));
        benchmark::DoNotOptimize(game.CheckSolved());
        cell = cell == 12 ? 16 : 12;
    }
}
BENCHMARK(clickAndCheck);

} // namespace
