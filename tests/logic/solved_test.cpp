#include "boardhelpers.h"
#include "game.h"
#include "scripteddirections.h"

#include <gtest/gtest.h>

namespace slidane {
namespace {

using test::boardOf;

SolvedCheck checkOf(const Board &board)
{
    Game game;
    game.setBoard(board);
    const SolvedCheck check = game.CheckSolved();
    EXPECT_EQ(game.row(), 5);
    EXPECT_EQ(game.col(), 5);
    return check;
}

TEST(Solved, CountsTilesAtHome)
{
    const struct {
        Board board;
        int matches;
        bool solved;
    } cases[] = {
        {Board::solved(), 15, true},
        {boardOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0, 15}), 14, false},
        {boardOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 13, 14, 15, 12}), 14, false},
        {boardOf({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}), 0, false},
        {boardOf({2, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 14, 0}), 11, false},
    };
    for (const auto &c : cases) {
        const SolvedCheck check = checkOf(c.board);
        EXPECT_EQ(check.matches, c.matches);
        EXPECT_EQ(check.solved, c.solved);
    }
}

TEST(Solved, ClicksThatMoveNothingLeaveItSolved)
{
    Game game;
    game.setBoard(Board::solved());
    for (const int cell : {16, 1, 11, 16}) {
        game.clickCell(cell);
        EXPECT_TRUE(game.CheckSolved().solved) << "cell " << cell;
    }
    game.clickCell(12);
    EXPECT_EQ(game.CheckSolved().matches, 14);
    game.clickCell(16);
    EXPECT_TRUE(game.CheckSolved().solved);
}

TEST(Solved, NewGameLeavesTheGapPositionInTheCursorsUntilTheCheck)
{
    Game game;
    test::ScriptedDirections upThenLeft({3, 2}, {2, 0});
    game.NewGame(upThenLeft);
    EXPECT_EQ(game.row(), 3);
    EXPECT_EQ(game.col(), 3);
    EXPECT_EQ(game.CheckSolved().matches, 13);
    EXPECT_EQ(game.row(), 5);
    EXPECT_EQ(game.col(), 5);
}

} // namespace
} // namespace slidane
