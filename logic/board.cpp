#include "board.h"

#include <stdexcept>
#include <string>

namespace slidane {

void Board::throwOutOfRange(int row, int col)
{
    throw std::out_of_range("Board index (" + std::to_string(row) + ", " + std::to_string(col) + ") is outside 0 to 4");
}

Board Board::solved()
{
    Board board;
    for (int row = 1; row <= 4; ++row) {
        for (int col = 1; col <= 4; ++col) {
            board(row, col) = static_cast<Int>((row - 1) * 4 + col);
        }
    }
    board(4, 4) = 0;
    return board;
}

} // namespace slidane
