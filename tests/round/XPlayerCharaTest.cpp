#include "round/RoundTest.h"
#include "round/XEffectBigBomb.h"

namespace {

// Four painters of a battle in test pictures: body 100 + frame, bounce 110, frozen 111, drained 112 + frame,
// bandage 120, shadow 125, arrow 130 + frame, dim arrow 170 + frame. Brushes, blots and footprints are the
// game's own.
class XPlayerCharaTest : public RoundTest {
protected:
    void SetUp() override {
        RoundTest::SetUp();
        for (uint32_t body : {109, 114, 115, 111}) InstallBlocks(body, 38, 40, 4, 100);
        for (uint32_t bounce : {126, 127, 128, 129}) InstallBlocks(bounce, 38, 41, 1, 110);
        const int art[][5] = {{159, 38, 40, 1, 111}, {171, 38, 40, 4, 112},  {121, 22, 22, 1, 120},
                              {120, 32, 21, 1, 125}, {117, 15, 15, 32, 130}, {118, 15, 15, 32, 170}};
        for (const auto& a : art) InstallBlocks(a[0], a[1], a[2], a[3], a[4]);
        Start(true, true, 2, {0, 0, 0, 0});
        game->GetCanvas()->Reset();
    }
    XEffectManager* Effects() const { return game->GetEffects(); }
};

// Player 1 steered by the computer, centred on (320, 224) and heading right, alone until a test brings in
// opponents.
class ComputerPlayerTest : public XPlayerCharaTest {
protected:
    void SetUp() override {
        XPlayerCharaTest::SetUp();
        for (int i = 0; i < 4; ++i) P(i)->SetControlType(i ? XPlayerChara::kAbsent : XPlayerChara::kComputer);
        P(0)->SetCentre(320, 224);
        P(0)->SetDirection(0);
    }
    // Opponent i (0 to 2, in the computer's order) takes part with its centre at an offset from the
    // computer's.
    XPlayerChara* Opponent(int i, int dx, int dy) {
        P(i + 1)->SetControlType(XPlayerChara::kHuman);
        P(i + 1)->SetCentre(P(0)->GetCentreX() + dx, P(0)->GetCentreY() + dy);
        return P(i + 1);
    }
    // The turns of the next decisions (+4 left, -4 right), then whether a turn to a target is under way.
    std::vector<int> Turns(uint32_t counter, int count = 1) {
        std::vector<int> turns;
        for (int before = P(0)->GetDirection(); count-- > 0; before = P(0)->GetDirection()) {
            P(0)->Think(counter++);
            turns.push_back((NormaliseDirection(P(0)->GetDirection() - before) + 128) % 256 - 128);
        }
        turns.push_back(P(0)->IsComputerTurning());
        return turns;
    }
};

TEST_F(XPlayerCharaTest, EachStateHasItsSpeedPaceAndPictureWithTheArrowAhead) {
    // State, speed, animation wait (7: left as it was) and the picture drawn at the body's place, frame 2.
    const std::tuple<int, float, int, int> states[] = {
        {0, 4.0f, 3, 102}, {1, 6.0f, 2, 102}, {2, 2.0f, 4, 102}, {3, 0.0f, 7, 111},
        {4, 3.0f, 3, 114}, {5, 4.0f, 3, 102}, {6, 4.0f, 7, 110}, {2, 2.0f, 4, 120}};
    XPlayerChara* p = P(0);
    Stand(p, 300, 200);
    p->SetDirection(0);
    for (auto [state, speed, wait, picture] : states) {
        p->SetAnimationWait(7);
        p->SetFrame(2);
        p->SetState(state);
        Back()->ColourFill(nullptr, 0);
        p->Draw(Back());
        EXPECT_EQ(std::tuple(p->GetSpeed(), p->GetAnimationWait()), std::tuple(speed, wait)) << state;
        picture == 120 ? ExpectCorner(307, 211, 120, "bandage") : ExpectCorner(300, 200, picture, "picture");
    }
    // The arrow floats 20 pixels out along the course, bright and dim in turns of six frames, and rises with
    // the hop; the shadow stays on the ground. Course, frame counter, hop; the arrow's corner and colour.
    const std::array<int, 6> arrows[] = {{0, 0, 0, 332, 213, 130},
                                         {60, 6, 0, 314, 193, 178},
                                         {64, 11, 0, 312, 193, 178},
                                         {128, 12, 32, 292, 181, 146}};
    for (auto [direction, counter, hop, x, y, colour] : arrows) {
        p->SetState(hop ? XPlayerChara::kBounced : XPlayerChara::kNormal);
        p->SetDirection(direction);
        p->UpdateAnimation(counter);
        while (p->GetHop() < hop) p->UpdateState();
        Back()->ColourFill(nullptr, 0);
        p->DrawShadow(Back());
        p->Draw(Back());
        ExpectCorner(x, y, colour, "arrow");
    }
    ExpectCorner(303, 225, 125, "shadow");
    // An empty seat shows nothing, and a hidden arrow nothing either.
    p->SetControlType(XPlayerChara::kAbsent);
    P(1)->SetArrowVisible(false);
    Back()->ColourFill(nullptr, 0);
    p->DrawShadow(Back());
    p->Draw(Back());
    P(1)->Draw(Back());
    EXPECT_EQ(CountPixels(*Back(), {0, 0, 640, 480}, 0), 640 * 480 - 36 * 38);
}

TEST_F(XPlayerCharaTest, TouchingPaintersSwapCoursesAndBounceThenGoSlowly) {
    XPlayerChara* a = P(0);
    XPlayerChara* b = P(1);
    // Painter 1's state, painter 2's state, control and corner; whether they bounce. Bodies meet but feet do
    // not; a frozen painter can be struck; a bouncing or absent one cannot.
    const std::array<int, 6> cases[] = {{0, 0, 0, 210, 205, 1}, {0, 0, 0, 200, 230, 0},
                                        {0, 3, 0, 200, 215, 1}, {0, 6, 0, 205, 205, 0},
                                        {6, 0, 0, 205, 205, 0}, {0, 0, 2, 205, 205, 0}};
    Stand(P(2), 500, 100);
    Stand(P(3), 500, 300);
    for (auto [aState, bState, bControl, x, y, bounce] : cases) {
        Heard();
        a->SetState(aState);
        b->SetState(bState);
        b->SetControlType(bControl);
        Stand(a, 200, 200);
        Stand(b, x, y);
        a->SetDirection(40);
        b->SetDirection(200);
        a->CheckCharacterCollisions();
        EXPECT_EQ(
            std::tuple(a->GetState(), b->GetState(), a->GetDirection(), b->GetDirection(), Heard().size()),
            bounce ? std::tuple(6, 6, 200, 40, size_t{1}) : std::tuple(aState, bState, 40, 200, size_t{0}))
            << x << "," << y;
    }
    // Two touching at once: only the first in the painter's order bounces with it.
    b->SetControlType(XPlayerChara::kHuman);
    for (XPlayerChara* p : {a, b, P(2)}) p->SetState(XPlayerChara::kNormal);
    Stand(b, 210, 205);
    Stand(P(2), 190, 195);
    a->CheckCharacterCollisions();
    EXPECT_EQ(P(2)->GetState(), XPlayerChara::kNormal);
    // Up and down the same curve, then slow for 110 frames.
    std::vector<int> hops = {0,  8,  15, 21, 27, 32, 37, 42, 46, 50, 54, 57, 60, 63, 65, 67, 68,
                             68, 68, 67, 65, 63, 60, 57, 54, 50, 46, 42, 37, 32, 27, 21, 15, 8};
    hops.resize(34 + 110, -XPlayerChara::kSlowed);
    hops.push_back(XPlayerChara::kNormal);
    std::vector<int> seen;
    for (size_t i = 0; i < hops.size(); ++i, a->UpdateState()) {
        seen.push_back(a->GetState() == XPlayerChara::kBounced ? a->GetHop() : -a->GetState());
    }
    EXPECT_EQ(seen, hops);
}

TEST_F(XPlayerCharaTest, PaintersStayOnTheFieldAndSplashesLandInsideThePaintRectangle) {
    XPlayerChara* p = P(0);
    // The body may reach 14 pixels above the field, its feet stay on it; the footprint stays where it moved.
    const Four moves[] = {{-50, -50, 1, -13}, {700, 500, 601, 393}, {1, -13, 1, -13}, {601, 393, 601, 393}};
    for (auto [x, y, clampedX, clampedY] : moves) {
        Stand(p, x, y);
        p->ClampToField();
        EXPECT_EQ(std::tuple(p->GetX(), p->GetY(), p->GetFootprint()->GetX()),
                  std::tuple(clampedX, clampedY, x));
    }
    Rect reach{640, 448, 0, 0};  // of the blots' top-left corners
    for (int i = 0; i < 20000; ++i) {
        p->SplashRandomBlot();
        const ZSprite256* brush = p->GetBrush();
        reach = {std::min(reach.left, brush->GetX()), std::min(reach.top, brush->GetY()),
                 std::max(reach.right, brush->GetX()), std::max(reach.bottom, brush->GetY())};
    }
    EXPECT_EQ(std::tuple(reach.left, reach.top, reach.right, reach.bottom, Effects()->CountEffects()),
              std::tuple(5, 5, 603, 411, 50))
        << "every blot adds a blast until the table is full";
}

TEST_F(XPlayerCharaTest, PaintingStampsTheBrushAtTheFeetInEveryStateButDrainedAndBounced) {
    // State and control type; the pixels painted within the stamp's square 14 pixels below the body's centre.
    const std::array<int, 3> cases[] = {{0, 0, 812},  {1, 1, 812}, {2, 0, 812}, {3, 0, 812},
                                        {5, 0, 1500}, {4, 0, 0},   {6, 0, 0},   {0, 2, 0}};
    for (auto [state, control, area] : cases) {
        game->GetCanvas()->Reset();
        Stand(P(1), 300, 200);
        P(1)->SetState(state);
        P(1)->SetControlType(control);
        P(1)->Paint();
        int square = state == XPlayerChara::kWide ? 22 : 16;
        EXPECT_EQ(
            std::tuple(Painted(1),
                       CountPixels(*Field(), {319 - square, 234 - square, 319 + square, 234 + square}, 23)),
            std::tuple(area, area))
            << state;
    }
}

TEST_F(XPlayerCharaTest, ItemsActOnTheTakerOrOnOpponentsThatAreNeitherBouncingNorAbsentForTheirTime) {
    // Kind; the states after it (player 1 takes it, player 2 bounces, player 4 is absent), effects added, the
    // splashes to come; then for the painter it changed: the trail of effects over 12 frames and its state
    // after 384 and 385.
    const std::array<int, 11> cases[] = {
        {1, 0, 6, 3, 0, 1, 0, 2, 0, 3, 0}, {5, 0, 6, 4, 0, 1, 0, 2, 0, 4, 4},
        {2, 1, 6, 0, 0, 0, 0, 0, 3, 1, 1}, {6, 5, 6, 0, 0, 0, 0, 0, 2, 5, 5},
        {3, 0, 6, 0, 0, 1, 0, 0, 0, 0, 0}, {4, 0, 6, 0, 0, 0, 56, 0, 12, 0, 0}};
    P(3)->SetControlType(XPlayerChara::kAbsent);
    for (const auto& c : cases) {
        game->StartRound();
        P(1)->SetState(XPlayerChara::kBounced);
        game->GetItem()->SetKind(c[0]);
        SeedRandomWith(77);
        int delay = Random(80);
        SeedRandomWith(77);
        P(0)->ApplyItem();
        EXPECT_EQ(
            std::tuple(Each(&XPlayerChara::GetState), Effects()->CountEffects(), P(0)->GetSplashCounter(),
                       P(2)->GetComputerDelay(), game->GetItem()->GetKind()),
            std::tuple(Four{c[1], c[2], c[3], c[4]}, c[5], c[6], c[0] == XItemChara::kPotion ? delay : 0, 0))
            << c[0];
        XPlayerChara* changed = P(c[7]);
        Effects()->ClearAll();
        std::vector<int> seen;
        for (int i = 1; i <= 385; ++i) {
            changed->UpdateState();
            if (i == 12 || i >= 384) {
                seen.push_back(i == 12 ? Effects()->CountEffects() : changed->GetState());
            }
        }
        EXPECT_EQ(seen, std::vector<int>(c.begin() + 8, c.end())) << c[0];
    }
}

TEST_F(XPlayerCharaTest, MissilesPaintTheTakersColourIntoTheField) {
    XItemChara* item = game->GetItem();
    item->SetKind(XItemChara::kMissile);
    item->PlaceAt(300, 200);
    P(2)->ApplyItem();
    EXPECT_EQ(std::tuple(Painted(2), CountPixels(*Field(), {212, 112, 432, 332}, 203)),
              std::tuple(26519, 26519))
        << "the whole blot, centred on the item";
    EXPECT_NE(dynamic_cast<XEffectBigBomb*>(Effects()->GetEffect(0)), nullptr);
    item->SetKind(XItemChara::kMissile);
    item->PlaceAt(1, 1);
    P(0)->ApplyItem();
    EXPECT_EQ(std::tuple(Painted(0) > 5000, CountPixels(*Field(), {0, 0, 5, 448}, 192),
                         CountPixels(*Field(), {0, 0, 640, 5}, 192)),
              std::tuple(true, 0, 0))
        << "cut at the paint rectangle";
    // Three missiles: a blot and a blast on each of 56 frames, a bang on every fourth.
    item->SetKind(XItemChara::kThreeMissiles);
    P(3)->ApplyItem();
    Effects()->ClearAll();
    Heard();
    int blasts = 0;
    for (int i = 0; i < 60; ++i, Effects()->Update()) {
        int before = Effects()->CountEffects();
        P(3)->UpdateState();
        blasts += Effects()->CountEffects() - before;
    }
    EXPECT_EQ(std::tuple(blasts, Heard(), Painted(3) > 20 * 812),
              std::tuple(56, std::vector<int32_t>(14, 185), true));
}

TEST_F(XPlayerCharaTest, OnlyAPainterThatTakesPartAndIsFreeToMoveTakesTheItem) {
    // Control type, state, item kind, the painter's y; whether it takes the item at (297, 197).
    const std::array<int, 5> cases[] = {{0, 0, 0, 200, 0}, {0, 0, 2, 200, 1}, {1, 4, 2, 200, 1},
                                        {0, 3, 2, 200, 0}, {0, 6, 2, 200, 0}, {2, 0, 2, 200, 0},
                                        {0, 0, 2, 170, 0}};
    game->GetItem()->PlaceAt(297, 197);
    for (auto [control, state, kind, y, takes] : cases) {
        P(0)->SetControlType(control);
        P(0)->SetState(state);
        game->GetItem()->SetKind(kind);
        Stand(P(0), 300, y);
        EXPECT_EQ(P(0)->CanPickUpItem(), takes) << control << " " << state << " " << kind << " " << y;
    }
}

TEST_F(ComputerPlayerTest, ItWeavesLeftRightLeftOnAStraightMeanCourseAndTurnsBackAtTheEdges) {
    std::vector<int> weave;
    for (int turn : {4, -4, -4, 4, 4, -4, -4, 4}) weave.insert(weave.end(), 6, turn);
    weave.push_back(false);
    EXPECT_EQ(Turns(0, 48), weave);
    EXPECT_EQ(P(0)->GetDirection(), 0);
    // At an edge it turns to the mirrored course with a variation of -8 to 8, but not when running along it.
    const XPlayerChara::Bounds& bounds = P(0)->GetMoveBounds();
    const Four cases[] = {
        {bounds.minX, 200, 128, 0},  {bounds.maxX, 200, 0, 128},  {bounds.minX, 200, 64, -1},
        {bounds.maxX, 200, 192, -1}, {300, bounds.minY, 64, 192}, {300, bounds.maxY, 224, 32},
        {300, bounds.minY, 0, -1},   {300, bounds.maxY, 128, -1}, {bounds.minX + 1, 200, 128, -1}};
    for (auto [x, y, direction, mirror] : cases) {
        std::set<int> variations;
        for (uint32_t seed = 1; seed < 40; ++seed) {
            P(0)->ResetForRound();
            P(0)->SetPosition(x, y);
            P(0)->SetDirection(direction);
            SeedRandomWith(seed);
            EXPECT_EQ(Turns(0), (mirror < 0 ? std::vector<int>{4, 0} : std::vector<int>{0, 1}))
                << x << "," << y;
            variations.insert(mirror < 0 ? 0 : NormaliseDirection(P(0)->GetComputerTarget() - mirror + 8));
        }
        EXPECT_EQ(variations, (mirror < 0 ? std::set<int>{0} : std::set<int>{0, 4, 8, 12, 16})) << direction;
    }
    P(0)->SetComputerDelay(20);
    P(0)->ResetForRound();
    EXPECT_EQ(std::tuple(P(0)->IsComputerTurning(), P(0)->GetComputerDelay()), std::tuple(false, 0));
}

TEST_F(ComputerPlayerTest, ThreatsAreOpponentsNearbyOrCloseAheadAndTheNearestCounts) {
    // Course and the opponent's offset; whether it is a threat: within 80 pixels, or 130 inside the quarter
    // turn ahead, which wraps past 0.
    const Four cases[] = {{0, -79, 0, 1},   {0, -80, 0, 0},    {0, 100, 0, 1},   {0, 129, 0, 1},
                          {0, 130, 0, 0},   {0, 70, -70, 1},   {0, 70, 70, 1},   {0, 70, -76, 0},
                          {64, 0, -129, 1}, {64, -70, -70, 1}, {64, 70, -70, 1}, {64, 73, -70, 0},
                          {16, 92, 38, 1},  {16, 0, 100, 0}};
    XPlayerChara* other = Opponent(1, 0, 0);
    for (auto [direction, dx, dy, threat] : cases) {
        P(0)->SetDirection(direction);
        other->SetCentre(320 + dx, 224 + dy);
        EXPECT_EQ(P(0)->FindThreat(), threat ? 1 : -1) << direction << ": " << dx << "," << dy;
    }
    // The nearest wins, the earlier keeps a tie, and an empty seat never counts.
    P(0)->SetDirection(0);
    XPlayerChara* first = Opponent(0, 0, 60);
    const std::pair<int, int> steps[] = {
        {-60, 0}, {-50, 1}, {-50, 0}, {-50, -1}};  // the second's offset, nearest
    for (auto [dy, nearest] : steps) {
        other->SetCentre(320, 224 + dy);
        other->SetControlType(nearest == 0 && dy == -50 ? XPlayerChara::kAbsent : XPlayerChara::kHuman);
        first->SetControlType(nearest < 0 ? XPlayerChara::kAbsent : XPlayerChara::kHuman);
        if (nearest < 0) {
            other->SetControlType(XPlayerChara::kAbsent);
        }
        EXPECT_EQ(std::tuple(P(0)->FindThreat(), P(0)->NearestOpponent()), std::tuple(nearest, nearest))
            << dy;
    }
}

TEST_F(ComputerPlayerTest, ItSwervesTwelveUnitsFromTheSideOfTheThreatFourUnitsAFrame) {
    // Left, straight ahead and straight behind count as the left: it swerves right.
    const std::array<int, 3> cases[] = {
        {50, -30, 244}, {50, 0, 244}, {-50, 0, 244}, {-50, 1, 12}, {50, 30, 12}};
    for (auto [dx, dy, evade] : cases) {
        Opponent(0, dx, dy);
        EXPECT_EQ(P(0)->EvadeDirection(0), evade) << dx << "," << dy;
    }
    Opponent(0, 50, -30);
    EXPECT_EQ(Turns(0), (std::vector<int>{4, true})) << "the swerve starts in the next frame";
    EXPECT_EQ(P(0)->GetComputerTarget(), 244);
    EXPECT_EQ(Turns(1, 5), (std::vector<int>{-4, -4, -4, -4, 4, true})) << "the short way, ending on it";
}

TEST_F(ComputerPlayerTest, AfterItsDelayItSteersForTheItemButNotWithinTenUnits) {
    game->GetItem()->SetKind(XItemChara::kShoe);
    game->GetItem()->SetCentre(520, 224);  // straight to the right
    P(0)->SetComputerDelay(2);
    EXPECT_EQ(Turns(6, 2), (std::vector<int>{-4, 0, false})) << "weaving while it waits";
    for (auto [direction, turn] : {std::pair{246, 0}, {245, 4}, {128, 4}, {127, -4}, {11, -4}, {10, 0}}) {
        P(0)->SetDirection(direction);
        EXPECT_EQ(Turns(0), (std::vector<int>{turn, false})) << direction;
    }
}

TEST_F(ComputerPlayerTest, DrainedItNeverSwervesAndChasesTheNearestAfterItsDelay) {
    Opponent(0, 0, -60)->SetState(XPlayerChara::kFrozen);
    Opponent(2, 0, 150);
    P(0)->SetState(XPlayerChara::kDrained);
    P(0)->SetComputerDelay(2);
    EXPECT_EQ(Turns(0), (std::vector<int>{4, false})) << "weaving while it waits, and no swerve";
    std::vector<int> chase(12, 4);  // up to the nearest, where the weave would go right
    chase.push_back(false);
    EXPECT_EQ(Turns(6, 12), chase);
    // With nobody to chase it goes straight, even at an edge.
    P(1)->SetControlType(XPlayerChara::kAbsent);
    P(3)->SetControlType(XPlayerChara::kAbsent);
    P(0)->SetPosition(P(0)->GetMoveBounds().minX, 200);
    P(0)->SetDirection(128);
    EXPECT_EQ(Turns(6), (std::vector<int>{0, false}));
}

}  // namespace
