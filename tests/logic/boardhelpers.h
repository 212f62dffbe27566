#pragma once

#include "board.h"
#include "cells.h"

#include <array>
#include <initializer_list>
#include <vector>

namespace slidane::test {

// Builds a Board from sixteen values in reading order.
inline Board boardOf(std::initializer_list<int> values)
{
    Board board;
    int cell = 1;
    for (const int value : values) {
        board(rowOfCell(cell), colOfCell(cell)) = static_cast<Int>(value);
        ++cell;
    }
    return board;
}

inline std::vector<int> rowOf(const Board &board, int row)
{
    return {board(row, 1), board(row, 2), board(row, 3), board(row, 4)};
}

inline std::vector<int> colOf(const Board &board, int col)
{
    return {board(1, col), board(2, col), board(3, col), board(4, col)};
}

// Each of 0 to 15 stands exactly once in the used cells, and the unused row 0
// and column 0 hold 0.
inline bool isPermutation(const Board &board)
{
    std::array<int, 16> seen{};
    for (int row = 1; row <= 4; ++row) {
        for (int col = 1; col <= 4; ++col) {
            const int value = board(row, col);
            if (value < 0 || value > 15 || seen[static_cast<std::size_t>(value)]++ != 0) {
                return false;
            }
        }
    }
    for (int i = 0; i < Board::kSize; ++i) {
        if (board(0, i) != 0 || board(i, 0) != 0) {
            return false;
        }
    }
    return true;
}

// A 4 x 4 position can be reached from the solved one exactly when the parity
// of its permutation (gap counted as 16) equals the parity of the gap's
// distance from the bottom-right corner.
inline bool isSolvable(const Board &board)
{
    std::array<int, 16> order{};
    int gapDistance = 0;
    for (int cell = 1; cell <= 16; ++cell) {
        const int value = board(rowOfCell(cell), colOfCell(cell));
        order[static_cast<std::size_t>(cell - 1)] = value == 0 ? 16 : value;
        if (value == 0) {
            gapDistance = (4 - rowOfCell(cell)) + (4 - colOfCell(cell));
        }
    }
    int inversions = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            inversions += order[i] > order[j] ? 1 : 0;
        }
    }
    return inversions % 2 == gapDistance % 2;
}

} // namespace slidane::test
