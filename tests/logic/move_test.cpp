#include "boardhelpers.h"
#include "game.h"

#include <gtest/gtest.h>

namespace slidane {
namespace {

using test::boardOf;

Game gameWith(const Board &board)
{
    Game game;
    game.setBoard(board);
    return game;
}

TEST(Move, TileAboveTheGapSlidesDown)
{
    Game game = gameWith(Board::solved());
    EXPECT_EQ(game.clickCell(12), (Exchange{12, 16}));
    EXPECT_EQ(game.board()(3, 4), 0);
    EXPECT_EQ(game.board()(4, 4), 12);
}

TEST(Move, TileLeftOfTheGapSlidesRight)
{
    Game game = gameWith(Board::solved());
    EXPECT_EQ(game.clickCell(15), (Exchange{15, 16}));
    EXPECT_EQ(game.board()(4, 3), 0);
    EXPECT_EQ(game.board()(4, 4), 15);
}

TEST(Move, DiagonalFarAndGapClicksChangeNothing)
{
    for (const int cell : {11, 16, 1, 6, 13}) {
        Game game = gameWith(Board::solved());
        EXPECT_EQ(game.clickCell(cell), std::nullopt) << "cell " << cell;
        EXPECT_EQ(game.board(), Board::solved()) << "cell " << cell;
    }
}

TEST(Move, GapInACentreCellTakesTilesFromAllFourSides)
{
    // The gap in cell 6; tile 6 stands where the gap belongs.
    const Board start = boardOf({1, 2, 3, 4, 5, 0, 7, 8, 9, 10, 11, 12, 13, 14, 15, 6});
    const struct {
        int cell;
        int valueMoved;
    } sides[] = {{2, 2}, {5, 5}, {7, 7}, {10, 10}};
    for (const auto &side : sides) {
        Game game = gameWith(start);
        EXPECT_EQ(game.clickCell(side.cell), (Exchange{side.cell, 6})) << "cell " << side.cell;
        EXPECT_EQ(game.board()(2, 2), side.valueMoved);
        EXPECT_EQ(game.board()(rowOfCell(side.cell), colOfCell(side.cell)), 0);
        EXPECT_TRUE(test::isPermutation(game.board()));
    }
    for (const int cell : {1, 3, 9, 11, 16}) {
        Game game = gameWith(start);
        EXPECT_EQ(game.clickCell(cell), std::nullopt) << "cell " << cell;
        EXPECT_EQ(game.board(), start);
    }
}

TEST(Move, GapInTheTopLeftCorner)
{
    const Board start = boardOf({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    {
        Game game = gameWith(start);
        EXPECT_EQ(game.clickCell(2), (Exchange{2, 1}));
        EXPECT_EQ(test::rowOf(game.board(), 1), (std::vector<int>{1, 0, 2, 3}));
    }
    {
        Game game = gameWith(start);
        EXPECT_EQ(game.clickCell(5), (Exchange{5, 1}));
        EXPECT_EQ(test::colOf(game.board(), 1), (std::vector<int>{4, 0, 8, 12}));
    }
    {
        Game game = gameWith(start);
        EXPECT_EQ(game.clickCell(6), std::nullopt);
        EXPECT_EQ(game.board(), start);
    }
}

TEST(Move, TwoClicksOnTheSameTileMoveItThereAndBack)
{
    Game game = gameWith(Board::solved());
    EXPECT_EQ(game.clickCell(12), (Exchange{12, 16}));
    EXPECT_EQ(game.clickCell(12), std::nullopt) << "cell 12 is the gap now";
    EXPECT_EQ(game.clickCell(16), (Exchange{16, 12}));
    EXPECT_EQ(game.board(), Board::solved());
}

} // namespace
} // namespace slidane
