#include <algorithm>
#include <cstdlib>
#include <vector>

#include "gfx/Maths.h"
#include "round/FieldTestArt.h"

namespace {

// One computer painter; the others stand aside until a test brings them in.
class ComputerPlayerTest : public FieldTest {
protected:
    void SetUp() override {
        FieldTest::SetUp();
        MakeRound();
        cpu = Player(0);
        cpu->SetControlType(XPlayerChara::kComputer);
        for (int p = 1; p < 4; ++p) {
            Player(p)->SetControlType(XPlayerChara::kAbsent);
        }
        PlaceCentre(cpu, 320, 224);
        cpu->SetDirection(0);
    }
    static void PlaceCentre(XPlayerChara* p, int cx, int cy) { p->SetCentre(cx, cy); }
    // Brings opponent i (0 to 2 in the computer's order) in at a centre point.
    XPlayerChara* Opponent(int i, int cx, int cy) {
        XPlayerChara* other = Player(i + 1);
        other->SetControlType(XPlayerChara::kHuman);
        PlaceCentre(other, cx, cy);
        return other;
    }
    // The turn Think made: +4 left, -4 right, 0 none.
    int TurnOf(uint32_t counter) {
        int before = cpu->GetDirection();
        cpu->Think(counter);
        int step = NormaliseDirection(cpu->GetDirection() - before);
        return step > 128 ? step - 256 : step;
    }

    XPlayerChara* cpu = nullptr;
};

TEST_F(ComputerPlayerTest, WeavesLeftRightLeftOverTwentyFourFrames) {
    std::vector<int> turns;
    for (uint32_t counter = 0; counter < 48; ++counter) {
        turns.push_back(TurnOf(counter));
    }
    for (uint32_t counter = 0; counter < 48; ++counter) {
        uint32_t phase = counter % 24;
        int expected = (phase < 6 || phase >= 18) ? 4 : -4;
        EXPECT_EQ(turns[counter], expected) << "frame " << counter;
    }
    EXPECT_EQ(cpu->GetDirection(), 0) << "the weave keeps the mean course";

    // People and absent seats are not steered by it.
    cpu->SetControlType(XPlayerChara::kHuman);
    EXPECT_EQ(TurnOf(0), 0);
}

TEST_F(ComputerPlayerTest, EdgesReflectTheCourseWithAVariation) {
    const XPlayerChara::Bounds& bounds = cpu->GetMoveBounds();
    std::vector<int> targets;
    for (uint32_t seed = 1; seed < 60; ++seed) {
        cpu->ResetForRound();
        cpu->SetPosition(bounds.minX, 200);
        cpu->SetDirection(128);
        SeedRandomWith(seed);
        int variation = Random(5) * 4 - 8;
        SeedRandomWith(seed);
        EXPECT_EQ(TurnOf(0), 0) << "the turn starts in the next frame";
        ASSERT_TRUE(cpu->IsComputerTurning());
        EXPECT_EQ(cpu->GetComputerTarget(), NormaliseDirection(variation));
        targets.push_back(cpu->GetComputerTarget());
    }
    for (int target : {248, 252, 0, 4, 8}) {
        EXPECT_NE(std::find(targets.begin(), targets.end(), target), targets.end()) << target;
    }

    // Along the wall it just weaves.
    for (int along : {64, 192}) {
        cpu->ResetForRound();
        cpu->SetPosition(bounds.minX, 200);
        cpu->SetDirection(along);
        EXPECT_EQ(TurnOf(0), 4);
        EXPECT_FALSE(cpu->IsComputerTurning());
    }

    // The floor mirrors vertically: heading down-right (224) turns towards up-right (32).
    cpu->ResetForRound();
    cpu->SetPosition(300, bounds.maxY);
    cpu->SetDirection(224);
    cpu->Think(0);
    ASSERT_TRUE(cpu->IsComputerTurning());
    EXPECT_LE(std::abs(cpu->GetComputerTarget() - 32), 8);
}

TEST_F(ComputerPlayerTest, TurnsInStepsOfFourAndEndsExactlyOnTheTarget) {
    const XPlayerChara::Bounds& bounds = cpu->GetMoveBounds();
    cpu->SetPosition(bounds.maxX, 200);
    cpu->SetDirection(0);
    SeedRandomWith(3);
    cpu->Think(0);
    ASSERT_TRUE(cpu->IsComputerTurning());
    int target = cpu->GetComputerTarget();
    int steps = 0;
    while (cpu->IsComputerTurning() && steps < 100) {
        int before = cpu->GetDirection();
        cpu->Think(0);
        int step = NormaliseDirection(cpu->GetDirection() - before);
        EXPECT_TRUE(step == 4 || step == 252);
        ++steps;
    }
    EXPECT_EQ(cpu->GetDirection(), target);
    EXPECT_EQ(steps, (std::min(NormaliseDirection(target - 0), NormaliseDirection(0 - target)) + 3) / 4);

    // From 0 to 252: one clockwise step.
    cpu->ResetForRound();
    PlaceCentre(cpu, 320, 224);
    Opponent(0, 320 + RoundToInt(Cos256(8) * 100.0f), 224 - RoundToInt(Sin256(8) * 100.0f));
    cpu->SetDirection(8);
    cpu->Think(0);  // the opponent straight ahead starts a swerve 12 units to the right
    ASSERT_TRUE(cpu->IsComputerTurning());
    ASSERT_EQ(cpu->GetComputerTarget(), 252);
    cpu->SetDirection(0);
    cpu->Think(1);
    EXPECT_EQ(cpu->GetDirection(), 252);
    EXPECT_FALSE(cpu->IsComputerTurning());
}

TEST_F(ComputerPlayerTest, ThreatsAreNearbyOrAheadInTheCone) {
    XPlayerChara* other = Opponent(1, 320 - 79, 224);
    EXPECT_EQ(cpu->FindThreat(), 1) << "79 px behind";
    other->SetCentre(320 - 100, 224);
    EXPECT_EQ(cpu->FindThreat(), -1) << "100 px behind";
    other->SetCentre(320 + 100, 224);
    EXPECT_EQ(cpu->FindThreat(), 1) << "100 px ahead";
    other->SetCentre(320 + 129, 224);
    EXPECT_EQ(cpu->FindThreat(), 1);
    other->SetCentre(320 + 131, 224);
    EXPECT_EQ(cpu->FindThreat(), -1);
    // Just outside the quarter-turn cone (about 47 degrees off the course).
    other->SetCentre(320 + 70, 224 - 76);
    EXPECT_EQ(cpu->FindThreat(), -1);
    other->SetCentre(320 + 80, 224 - 70);
    EXPECT_EQ(cpu->FindThreat(), 1);

    // The cone wraps past 0: heading 16, something at direction 240 is ahead.
    cpu->SetDirection(16);
    other->SetCentre(320 + 92, 224 + 38);
    ASSERT_EQ(DirectionBetween(320, 224, 412, 262), 240);
    EXPECT_EQ(cpu->FindThreat(), 1);
    cpu->SetDirection(0);

    // The nearest wins, earlier ones keep ties, and absent seats never count.
    XPlayerChara* third = Opponent(2, 320, 224 + 60);
    other->SetCentre(320, 224 - 60);
    EXPECT_EQ(cpu->FindThreat(), 1);
    third->SetCentre(320, 224 + 50);
    EXPECT_EQ(cpu->FindThreat(), 2);
    third->SetControlType(XPlayerChara::kAbsent);
    EXPECT_EQ(cpu->FindThreat(), 1);
}

TEST_F(ComputerPlayerTest, SwervesAwayFromTheSideOfTheThreat) {
    XPlayerChara* other = Opponent(0, 320 + 50, 224 - 30);  // ahead and to the left (up)
    EXPECT_EQ(cpu->EvadeDirection(0), 244);
    other->SetCentre(320 + 50, 224 + 30);  // to the right
    EXPECT_EQ(cpu->EvadeDirection(0), 12);
    other->SetCentre(320 + 50, 224);  // straight ahead counts as the left
    EXPECT_EQ(cpu->EvadeDirection(0), 244);

    cpu->Think(0);
    EXPECT_TRUE(cpu->IsComputerTurning());
    EXPECT_EQ(cpu->GetComputerTarget(), 244);
}

TEST_F(ComputerPlayerTest, WaitsItsDelayThenSteersForTheItemWithADeadZone) {
    // The item lies 10 units to the left of the course.
    int cx = 320 + RoundToInt(Cos256(10) * 250.0f);
    int cy = 224 - RoundToInt(Sin256(10) * 250.0f);
    ASSERT_EQ(DirectionBetween(320, 224, cx, cy), 10);
    item->SetCentre(cx, cy);
    item->SetKind(XItemChara::kShoe);
    cpu->SetComputerDelay(3);
    EXPECT_EQ(TurnOf(6), -4) << "still weaving while the delay runs";
    EXPECT_EQ(TurnOf(7), -4);
    EXPECT_EQ(cpu->GetComputerDelay(), 1);
    cpu->SetDirection(0);
    for (uint32_t counter = 0; counter < 10; ++counter) {
        EXPECT_EQ(TurnOf(counter), 0) << "10 units off is straight enough";
    }
    cpu->SetDirection(252);
    EXPECT_EQ(TurnOf(0), 4) << "14 units off turns left";
    cpu->SetDirection(24);
    EXPECT_EQ(TurnOf(0), -4) << "14 units the other way turns right";
}

TEST_F(ComputerPlayerTest, DrainedComputerIgnoresThreatsAndChasesTheNearestAfterItsDelay) {
    XPlayerChara* near = Opponent(2, 320, 224 - 60);
    XPlayerChara* far = Opponent(0, 320, 224 + 150);
    near->SetState(XPlayerChara::kFrozen);
    far->SetState(XPlayerChara::kFast);
    cpu->SetState(XPlayerChara::kDrained);
    EXPECT_EQ(cpu->NearestOpponent(), 2);
    cpu->SetComputerDelay(2);
    EXPECT_EQ(TurnOf(0), 4) << "weaving during the delay";
    EXPECT_FALSE(cpu->IsComputerTurning()) << "no swerve while drained";
    cpu->SetDirection(0);
    // Delay over: the nearest is straight up (64), so it turns left every frame.
    for (uint32_t counter = 6; counter < 18; ++counter) {
        EXPECT_EQ(TurnOf(counter), 4);
    }
    EXPECT_FALSE(cpu->IsComputerTurning());

    // With nobody left to chase it goes straight, even at an edge.
    near->SetControlType(XPlayerChara::kAbsent);
    far->SetControlType(XPlayerChara::kAbsent);
    EXPECT_EQ(cpu->NearestOpponent(), -1);
    cpu->SetPosition(cpu->GetMoveBounds().minX, 200);
    cpu->SetDirection(128);
    EXPECT_EQ(TurnOf(0), 0);
    EXPECT_FALSE(cpu->IsComputerTurning());
}

TEST_F(ComputerPlayerTest, ResetForRoundEndsATurnAndTheDelay) {
    cpu->SetPosition(cpu->GetMoveBounds().minX, 200);
    cpu->SetDirection(128);
    cpu->SetComputerDelay(20);
    cpu->Think(0);
    ASSERT_TRUE(cpu->IsComputerTurning());
    cpu->ResetForRound();
    EXPECT_FALSE(cpu->IsComputerTurning());
    EXPECT_EQ(cpu->GetComputerDelay(), 0);
}

}  // namespace
