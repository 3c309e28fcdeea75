#include <gtest/gtest.h>

#include "gfx/Maths.h"

TEST(Maths, GeneratorFollowsItsSequenceAndIgnoresEmptyRanges) {
    SeedRandomWith(1);
    EXPECT_EQ(Random(32768), 41);
    EXPECT_EQ(Random(32768), 18467);
    EXPECT_EQ(Random(32768), 6334);
    uint32_t before = GetRandomState();
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);
    EXPECT_EQ(GetRandomState(), before);  // no draw for an empty range
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(Random(1), 0);
        int r = Random(7);
        EXPECT_GE(r, 0);
        EXPECT_LT(r, 7);
    }
}

TEST(Maths, RoundToIntRoundsHalvesAwayFromZeroAndSaturates) {
    EXPECT_EQ(RoundToInt(2.5), 3);
    EXPECT_EQ(RoundToInt(-2.5), -3);
    EXPECT_EQ(RoundToInt(-0.5), -1);
    EXPECT_EQ(RoundToInt(0.49), 0);
    EXPECT_EQ(RoundToInt(-0.49), 0);
    EXPECT_EQ(RoundToInt(1e12), 2147483647);
    EXPECT_EQ(RoundToInt(-1e12), -2147483647 - 1);
    EXPECT_EQ(RoundToInt(0.0 / 0.0), 0);
}

TEST(Maths, TablesAreExactAtTheQuarterTurnsAndSilentForNoDirection) {
    BuildDirectionTables();
    EXPECT_EQ(Sin256(64), 1.0f);
    EXPECT_EQ(Cos256(64), 0.0f);
    EXPECT_EQ(Cos256(0), 1.0f);
    EXPECT_EQ(Sin256(128), 0.0f);
    EXPECT_EQ(Sin256(192), -1.0f);
    EXPECT_EQ(Sin256(-1), 0.0f);
    EXPECT_EQ(Cos256(-1), 0.0f);
    EXPECT_EQ(Sin256(320), Sin256(64));
    EXPECT_FLOAT_EQ(Sin256(32), 0.70711f);
}

TEST(Maths, DirectionArithmetic) {
    EXPECT_EQ(NormaliseDirection(-260), 252);
    EXPECT_EQ(NormaliseDirection(300), 44);
    EXPECT_EQ(NormaliseDirection(-1), 255);
    EXPECT_EQ(NormaliseDirection(-256), 0);
    EXPECT_EQ(NormaliseDirection(-2147483647 - 1), 0);  // extremes stay defined
    EXPECT_EQ(AddDirection(2147483647, 1), 0);
    EXPECT_EQ(ReflectAtVerticalWall(-2147483647 - 1), 128);
    EXPECT_EQ(AddDirection(-1, 4), -1);
    EXPECT_EQ(AddDirection(254, 4), 2);
    EXPECT_EQ(SubtractDirection(2, 4), 254);
    EXPECT_EQ(SubtractDirection(-1, 4), -1);
    EXPECT_EQ(ReflectAtVerticalWall(0), 128);
    EXPECT_EQ(ReflectAtVerticalWall(64), 64);
    EXPECT_EQ(ReflectAtVerticalWall(32), 96);
    EXPECT_EQ(ReflectAtHorizontalWall(64), 192);
    EXPECT_EQ(ReflectAtHorizontalWall(0), 0);
    EXPECT_EQ(ReflectAtHorizontalWall(32), 224);
    EXPECT_EQ(ReflectAtVerticalWall(-1), -1);
    EXPECT_EQ(TurnToward(0, 128, 4), 252);  // a half-turn tie goes clockwise
    EXPECT_EQ(TurnToward(250, 2, 4), 254);
    EXPECT_EQ(TurnToward(10, 10, 4), 10);
    EXPECT_EQ(TurnToward(0, 2, 4), 4);  // the step is taken whole
    EXPECT_EQ(DirectionTo32(60), 8);
    EXPECT_EQ(DirectionTo32(255), 0);
    EXPECT_EQ(DirectionTo32(252), 0);
    EXPECT_EQ(DirectionTo32(4), 1);
    EXPECT_EQ(DirectionTo32(-1), -1);
}

TEST(Maths, DirectionBetweenPointsAndDistance) {
    EXPECT_EQ(DirectionBetween(0, 0, 10, 0), 0);
    EXPECT_EQ(DirectionBetween(0, 0, 0, -10), 64);
    EXPECT_EQ(DirectionBetween(0, 0, -10, 0), 128);
    EXPECT_EQ(DirectionBetween(0, 0, 10, 10), 224);
    EXPECT_EQ(DirectionBetween(5, 5, 5, 5), 0);
    EXPECT_EQ(DirectionBetween(0, 0, 100, 1), 0);  // just below right rounds to right
    EXPECT_DOUBLE_EQ(Distance(0, 0, 3, 4), 5.0);
    EXPECT_DOUBLE_EQ(Distance(-2147483647, 0, 2147483647, 0), 4294967294.0);
}
