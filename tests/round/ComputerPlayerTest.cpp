#include <set>

#include "gfx/Maths.h"
#include "round/RoundTest.h"

namespace {

// Player 1 steered by the computer, centred on (320, 224) and heading right; the empty seats join in as
// opponents where a test places them.
class ComputerPlayerTest : public RoundTest {
protected:
    void SetUp() override {
        RoundTest::SetUp();
        Start(true, true, 2, {1, 2, 2, 2});
        cpu = P(0);
        cpu->SetCentre(320, 224);
        cpu->SetDirection(0);
    }
    // Opponent i (0 to 2, in the computer's order) takes part with its centre at an offset from the
    // computer's.
    XPlayerChara* Opponent(int i, int dx, int dy) {
        P(i + 1)->SetControlType(XPlayerChara::kHuman);
        P(i + 1)->SetCentre(cpu->GetCentreX() + dx, cpu->GetCentreY() + dy);
        return P(i + 1);
    }
    // The turn one decision made: +4 left, -4 right, 0 none.
    int TurnOf(uint32_t counter) {
        int before = cpu->GetDirection();
        cpu->Think(counter);
        int step = NormaliseDirection(cpu->GetDirection() - before);
        return step > 128 ? step - 256 : step;
    }

    XPlayerChara* cpu = nullptr;
};

TEST_F(ComputerPlayerTest, WeavesLeftRightLeftOverTwentyFourFramesOnAStraightMeanCourse) {
    std::vector<int> turns;
    for (uint32_t counter = 0; counter < 48; ++counter) {
        turns.push_back(TurnOf(counter));
    }
    std::vector<int> expected;
    for (int lap = 0; lap < 2; ++lap) {
        for (int turn : {4, -4, -4, 4}) {
            expected.insert(expected.end(), 6, turn);
        }
    }
    EXPECT_EQ(turns, expected);
    EXPECT_EQ(cpu->GetDirection(), 0);
    cpu->SetControlType(XPlayerChara::kHuman);
    EXPECT_EQ(TurnOf(0), 0) << "people steer themselves";
}

TEST_F(ComputerPlayerTest, AtAnEdgeItTurnsToTheMirroredCourseWithARandomVariation) {
    const XPlayerChara::Bounds& bounds = cpu->GetMoveBounds();
    struct Case {
        int x, y, direction;
        int mirror;  // -1: it just weaves on
    };
    const Case cases[] = {
        {bounds.minX, 200, 128, 0},  {bounds.maxX, 200, 0, 128},  {bounds.minX, 200, 64, -1},
        {bounds.maxX, 200, 192, -1}, {300, bounds.minY, 64, 192}, {300, bounds.maxY, 224, 32},
        {300, bounds.minY, 0, -1},   {300, bounds.maxY, 128, -1}, {bounds.minX + 1, 200, 128, -1}};
    for (const Case& c : cases) {
        std::set<int> variations;
        for (uint32_t seed = 1; seed < 40; ++seed) {
            cpu->ResetForRound();
            cpu->SetPosition(c.x, c.y);
            cpu->SetDirection(c.direction);
            SeedRandomWith(seed);
            int turn = TurnOf(0);
            EXPECT_EQ(cpu->IsComputerTurning(), c.mirror >= 0) << c.x << "," << c.y << " " << c.direction;
            EXPECT_EQ(turn, c.mirror >= 0 ? 0 : 4) << "the turn starts in the next frame";
            variations.insert(NormaliseDirection(cpu->GetComputerTarget() - c.mirror + 8));
        }
        if (c.mirror >= 0) {
            EXPECT_EQ(variations, (std::set<int>{0, 4, 8, 12, 16})) << c.direction;
        }
    }
    cpu->SetComputerDelay(20);
    cpu->ResetForRound();
    EXPECT_FALSE(cpu->IsComputerTurning()) << "a new round ends the turn";
    EXPECT_EQ(cpu->GetComputerDelay(), 0);
}

TEST_F(ComputerPlayerTest, ATurnGoesFourUnitsAFrameTheShortWayAndEndsOnItsTarget) {
    Opponent(0, RoundToInt(Cos256(8) * 100.0f), -RoundToInt(Sin256(8) * 100.0f));
    const int cases[][2] = {{0, 1}, {100, 26}, {160, 23}};  // start, frames
    for (const auto& c : cases) {
        cpu->ResetForRound();
        cpu->SetDirection(8);
        cpu->Think(0);  // the opponent dead ahead starts a swerve 12 units to the right
        ASSERT_EQ(cpu->GetComputerTarget(), 252);
        cpu->SetDirection(c[0]);
        int frames = 0;
        for (; cpu->IsComputerTurning() && frames < 100; ++frames) {
            int step = TurnOf(frames);
            EXPECT_TRUE(step == 4 || step == -4) << step;
        }
        EXPECT_EQ(frames, c[1]) << c[0];
        EXPECT_EQ(cpu->GetDirection(), 252);
    }
}

TEST_F(ComputerPlayerTest, ThreatsAreOpponentsNearbyOrCloseAheadAndTheNearestCounts) {
    struct Case {
        int direction, dx, dy;
        bool threat;
    };
    const Case cases[] = {
        {0, -79, 0, true},   {0, -80, 0, false},   {0, 100, 0, true},   {0, 129, 0, true},    // behind, ahead
        {0, 130, 0, false},  {0, 70, -70, true},   {0, 70, 70, true},   {0, 70, -76, false},  // cone of +-32
        {64, 0, -129, true}, {64, -70, -70, true}, {64, 70, -70, true}, {64, 73, -70, false},
        {16, 92, 38, true},  {16, 0, 100, false},  // the cone wraps past 0
    };
    XPlayerChara* other = Opponent(1, 0, 0);
    for (const Case& c : cases) {
        cpu->SetDirection(c.direction);
        other->SetCentre(320 + c.dx, 224 + c.dy);
        EXPECT_EQ(cpu->FindThreat(), c.threat ? 1 : -1) << c.direction << ": " << c.dx << "," << c.dy;
    }
    // The nearest wins, the earlier keeps a tie, and an empty seat never counts.
    cpu->SetDirection(0);
    XPlayerChara* third = Opponent(2, 0, 60);
    other->SetCentre(320, 224 - 60);
    EXPECT_EQ(cpu->FindThreat(), 1);
    EXPECT_EQ(cpu->NearestOpponent(), 1);
    third->SetCentre(320, 224 + 50);
    EXPECT_EQ(cpu->FindThreat(), 2);
    EXPECT_EQ(cpu->NearestOpponent(), 2);
    third->SetControlType(XPlayerChara::kAbsent);
    EXPECT_EQ(cpu->FindThreat(), 1);
    EXPECT_EQ(cpu->NearestOpponent(), 1);
}

TEST_F(ComputerPlayerTest, ItSwervesTwelveUnitsAwayFromTheSideOfTheThreat) {
    // Left, straight ahead and straight behind count as the left: it swerves right.
    const int cases[][3] = {{50, -30, 244}, {50, 0, 244}, {-50, 0, 244}, {-50, 1, 12}, {50, 30, 12}};
    for (const auto& c : cases) {
        Opponent(0, c[0], c[1]);
        EXPECT_EQ(cpu->EvadeDirection(0), c[2]) << c[0] << "," << c[1];
    }
    cpu->Think(0);
    EXPECT_TRUE(cpu->IsComputerTurning());
    EXPECT_EQ(cpu->GetComputerTarget(), 12);
}

TEST_F(ComputerPlayerTest, AfterItsDelayItSteersForTheItemButNotWithinTenUnits) {
    XItemChara* item = game->GetItem();
    item->SetKind(XItemChara::kShoe);
    item->SetCentre(520, 224);  // straight to the right
    cpu->SetComputerDelay(2);
    EXPECT_EQ(TurnOf(6), -4) << "still weaving while it waits";
    EXPECT_EQ(TurnOf(6), 0);
    const int cases[][2] = {{246, 0}, {245, 4}, {128, 4}, {127, -4}, {11, -4}, {10, 0}};  // course, turn
    for (const auto& c : cases) {
        cpu->SetDirection(c[0]);
        EXPECT_EQ(TurnOf(0), c[1]) << c[0];
    }
}

TEST_F(ComputerPlayerTest, DrainedItNeverSwervesAndChasesTheNearestAfterItsDelay) {
    XPlayerChara* near = Opponent(2, 0, -60);
    XPlayerChara* far = Opponent(0, 0, 150);
    near->SetState(XPlayerChara::kFrozen);
    cpu->SetState(XPlayerChara::kDrained);
    cpu->SetComputerDelay(2);
    EXPECT_EQ(TurnOf(0), 4) << "weaving while it waits";
    EXPECT_FALSE(cpu->IsComputerTurning()) << "no swerve while drained";
    // The nearest is straight up: it turns left in frames that would weave right.
    for (uint32_t counter = 6; counter < 18; ++counter) {
        EXPECT_EQ(TurnOf(counter), 4);
    }
    // With nobody to chase it goes straight, even at an edge.
    near->SetControlType(XPlayerChara::kAbsent);
    far->SetControlType(XPlayerChara::kAbsent);
    cpu->SetPosition(cpu->GetMoveBounds().minX, 200);
    cpu->SetDirection(128);
    EXPECT_EQ(TurnOf(6), 0);
    EXPECT_FALSE(cpu->IsComputerTurning());
}

}  // namespace
