#include <cmath>
#include <tuple>

#include "gfx/Maths.h"
#include "support/TestSupport.h"

TEST(Maths, TheGeneratorRoundingAndTablesGiveTheirFixedValues) {
    SeedRandomWith(1);
    EXPECT_EQ((std::tuple{Random(32768), Random(32768), Random(100), Random(1 << 30)}),
              std::tuple(41, 18467, 34, 26500));
    const uint32_t before = GetRandomState();
    EXPECT_EQ(Random(0) + Random(-5) + GetRandomState() - before, 0u) << "an empty range draws nothing";
    EXPECT_TRUE(Random(1) == 0 && GetRandomState() != before);
    const std::pair<double, int> rounds[] = {{2.5, 3},          {-2.5, -3},         {-0.5, -1},
                                             {0.49, 0},         {-0.49, 0},         {1.5, 2},
                                             {1e12, INT32_MAX}, {-1e12, INT32_MIN}, {NAN, 0}};
    for (const auto& [x, rounded] : rounds) EXPECT_EQ(RoundToInt(x), rounded) << x;
    BuildDirectionTables();
    const std::tuple<int, float, float> table[] = {
        {0, 0.0f, 1.0f},   {64, 1.0f, 0.0f}, {128, 0.0f, -1.0f},       {192, -1.0f, 0.0f},
        {320, 1.0f, 0.0f}, {-1, 0.0f, 0.0f}, {32, 0.70711f, 0.70711f}, {1, 0.02454f, 0.9997f}};
    for (const auto& [direction, sine, cosine] : table)
        EXPECT_EQ(std::tuple(Sin256(direction), Cos256(direction)), std::tuple(sine, cosine)) << direction;
    EXPECT_EQ(Distance(7, 1, 4, 5), 5.0);
}

TEST(Maths, DirectionArithmeticPassesNoDirectionThroughAndWrapsRoundTheCircle) {
    // direction, normalised, plus 4, minus 4, reflected at a vertical and a horizontal wall, of 32
    const int table[][7] = {
        {-1, 255, -1, -1, -1, -1, -1}, {0, 0, 4, 252, 128, 0, 0},    {2, 2, 6, 254, 126, 254, 0},
        {3, 3, 7, 255, 125, 253, 0},   {4, 4, 8, 0, 124, 252, 1},    {12, 12, 16, 8, 116, 244, 2},
        {32, 32, 36, 28, 96, 224, 4},  {60, 60, 64, 56, 68, 196, 8}, {64, 64, 68, 60, 64, 192, 8},
        {254, 254, 2, 250, 130, 2, 0}, {255, 255, 3, 251, 129, 1, 0}};
    for (const auto& [d, normalised, plus, minus, vertical, horizontal, of32] : table) {
        EXPECT_EQ(std::tuple(NormaliseDirection(d), AddDirection(d, 4), SubtractDirection(d, 4),
                             ReflectAtVerticalWall(d), ReflectAtHorizontalWall(d), DirectionTo32(d)),
                  std::tuple(normalised, plus, minus, vertical, horizontal, of32)) << d;
    }
    EXPECT_EQ(std::tuple(NormaliseDirection(-260), NormaliseDirection(300)), std::tuple(252, 44));
    // current, target, step and the turned direction; a half-turn tie goes clockwise, the step is whole
    const int turns[][4] = {{0, 128, 4, 252}, {250, 2, 4, 254}, {2, 250, 4, 254}, {10, 10, 4, 10},
                            {0, 2, 4, 4},     {0, 127, 4, 4},   {0, 129, 4, 252}, {200, 100, 8, 192}, {10, 130, 4, 14}};
    for (const auto& [current, target, step, turned] : turns)
        EXPECT_EQ(TurnToward(current, target, step), turned) << current << " to " << target;
    // from (0, 0) to the point, on a screen whose y grows downwards
    const int points[][3] = {{10, 0, 0},  {0, -10, 64}, {-10, 0, 128}, {0, 10, 192},   {10, 10, 224},
                             {100, 1, 0}, {0, 0, 0},    {100, -1, 0},  {-100, 1, 128}, {1000, 13, 255}};
    for (const auto& [x, y, direction] : points) {
        EXPECT_EQ(std::tuple(DirectionBetween(0, 0, x, y), DirectionBetween(5 - x, 7 - y, 5, 7)),
                  std::tuple(direction, direction)) << x << "," << y;
    }
}
