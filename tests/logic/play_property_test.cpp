#include "boardhelpers.h"
#include "clockrandom.h"
#include "game.h"

#include <gtest/gtest.h>

#include <random>

namespace slidane {
namespace {

// Any run of clicks keeps a legal, solvable position, and every click
// changes the Board exactly as its reported exchange says.
TEST(PlayProperty, RandomClicksKeepEveryTileOnceAndTheBoardSolvable)
{
    ClockRandom random;
    Game game;
    game.NewGame(random);
    ASSERT_TRUE(test::isPermutation(game.board()));
    ASSERT_TRUE(test::isSolvable(game.board()));

    std::mt19937 clicks(20261207);
    std::uniform_int_distribution<int> anyCell(1, 16);
    int moves = 0;
    for (int i = 0; i < 100000; ++i) {
        const Board before = game.board();
        const int cell = anyCell(clicks);
        const auto exchange = game.clickCell(cell);
        if (exchange) {
            ++moves;
            ASSERT_EQ(exchange->clicked, cell);
            ASSERT_EQ(before(rowOfCell(exchange->blank), colOfCell(exchange->blank)), 0);
            ASSERT_EQ(game.board()(rowOfCell(exchange->blank), colOfCell(exchange->blank)),
                before(rowOfCell(cell), colOfCell(cell)));
            ASSERT_EQ(game.board()(rowOfCell(cell), colOfCell(cell)), 0);
        } else {
            ASSERT_EQ(game.board(), before);
        }
        const SolvedCheck check = game.CheckSolved();
        ASSERT_EQ(game.row(), 5);
        ASSERT_EQ(game.col(), 5);
        ASSERT_LE(check.matches, 15);
        ASSERT_TRUE(test::isPermutation(game.board()));
        ASSERT_TRUE(test::isSolvable(game.board()));
    }
    // About one click in five finds the gap beside it.
    EXPECT_GT(moves, 10000);
}

} // namespace
} // namespace slidane
