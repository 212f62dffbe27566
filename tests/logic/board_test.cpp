#include "board.h"
#include "boardhelpers.h"
#include "cells.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace slidane {
namespace {

TEST(Board, IndexOutsideZeroToFourThrows)
{
    Board board;
    const Board &constBoard = board;
    for (const auto &[row, col] : {std::pair{-1, 1}, {5, 1}, {1, -1}, {1, 5}, {-32768, 0}, {0, 32767}}) {
        EXPECT_THROW(board(row, col), std::out_of_range) << row << ", " << col;
        EXPECT_THROW(static_cast<void>(constBoard(row, col)), std::out_of_range) << row << ", " << col;
    }
    EXPECT_NO_THROW(board(0, 0));
    EXPECT_NO_THROW(board(4, 4));
}

TEST(Board, ElementsAreIndependent)
{
    Board board;
    board(2, 3) = 7;
    board(3, 2) = 9;
    EXPECT_EQ(board(2, 3), 7);
    EXPECT_EQ(board(3, 2), 9);
    EXPECT_EQ(board(0, 0), 0);
    EXPECT_EQ(board(4, 4), 0);
}

TEST(Board, SolvedLayoutReadsOneToFifteenThenTheGap)
{
    const Board board = Board::solved();
    EXPECT_EQ(test::rowOf(board, 1), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(test::rowOf(board, 2), (std::vector<int>{5, 6, 7, 8}));
    EXPECT_EQ(test::rowOf(board, 3), (std::vector<int>{9, 10, 11, 12}));
    EXPECT_EQ(test::rowOf(board, 4), (std::vector<int>{13, 14, 15, 0}));
    EXPECT_TRUE(test::isPermutation(board));
}

TEST(Cells, NumbersAndRowsAgree)
{
    EXPECT_EQ(rowOfCell(7), 2);
    EXPECT_EQ(colOfCell(7), 3);
    EXPECT_EQ(rowOfCell(13), 4);
    EXPECT_EQ(colOfCell(13), 1);
    for (int cell = 1; cell <= kCellCount; ++cell) {
        EXPECT_EQ(cellAt(rowOfCell(cell), colOfCell(cell)), cell);
    }
}

TEST(Cells, NeighboursInClickOrderUpLeftRightDown)
{
    const auto list = [](int cell) {
        const Neighbours n = neighboursOf(cell);
        return std::vector<int>(n.begin(), n.end());
    };
    EXPECT_EQ(list(1), (std::vector<int>{2, 5}));
    EXPECT_EQ(list(2), (std::vector<int>{1, 3, 6}));
    EXPECT_EQ(list(4), (std::vector<int>{3, 8}));
    EXPECT_EQ(list(5), (std::vector<int>{1, 6, 9}));
    EXPECT_EQ(list(6), (std::vector<int>{2, 5, 7, 10}));
    EXPECT_EQ(list(11), (std::vector<int>{7, 10, 12, 15}));
    EXPECT_EQ(list(12), (std::vector<int>{8, 11, 16}));
    EXPECT_EQ(list(13), (std::vector<int>{9, 14}));
    EXPECT_EQ(list(15), (std::vector<int>{11, 14, 16}));
    EXPECT_EQ(list(16), (std::vector<int>{12, 15}));

    int corners = 0, borders = 0, centres = 0;
    for (int cell = 1; cell <= kCellCount; ++cell) {
        const std::size_t count = neighboursOf(cell).count;
        corners += count == 2 ? 1 : 0;
        borders += count == 3 ? 1 : 0;
        centres += count == 4 ? 1 : 0;
    }
    EXPECT_EQ(corners, 4);
    EXPECT_EQ(borders, 8);
    EXPECT_EQ(centres, 4);
}

} // namespace
} // namespace slidane
