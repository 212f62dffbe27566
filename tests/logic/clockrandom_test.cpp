#include "boardhelpers.h"
#include "clockrandom.h"
#include "game.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>
#include <vector>

namespace slidane {
namespace {

TEST(ClockRandom, GamesDealtBackToBackDiffer)
{
    ClockRandom random;
    Game game;
    std::set<std::vector<int>> boards;
    for (int i = 0; i < 200; ++i) {
        game.NewGame(random);
        ASSERT_TRUE(test::isPermutation(game.board()));
        ASSERT_TRUE(test::isSolvable(game.board()));
        ASSERT_EQ(game.board()(game.row(), game.col()), 0);
        std::vector<int> cells;
        for (int row = 1; row <= 4; ++row) {
            for (const int value : test::rowOf(game.board(), row)) {
                cells.push_back(value);
            }
        }
        boards.insert(cells);
    }
    EXPECT_GE(boards.size(), 195u);
}

TEST(ClockRandom, DrawsStayBelowOneAndSpreadEvenlyOverTheFourDirections)
{
    ClockRandom random;
    random.reseed();
    constexpr int kDraws = 400000;
    std::array<int, 4> counts{};
    for (int i = 0; i < kDraws; ++i) {
        const float r = random.draw();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        ++counts[static_cast<std::size_t>(std::floor(r * 4.0f))];
    }
    // Four standard deviations of a binomial count is about 1100 here.
    for (const int count : counts) {
        EXPECT_NEAR(count, kDraws / 4, 1500);
    }
}

TEST(ClockRandom, ReseedingStartsADifferentSequence)
{
    ClockRandom random;
    random.reseed();
    const float first = random.draw();
    const float second = random.draw();
    random.reseed();
    EXPECT_FALSE(random.draw() == first && random.draw() == second);
}

} // namespace
} // namespace slidane
