#include <algorithm>

#include "gfx/Maths.h"
#include "round/RoundTest.h"
#include "round/XEffectBigBomb.h"
#include "round/XPlayerChara.h"

namespace {

// Four painters of a battle, drawn in test pictures: body 100 + frame, bounce 110, frozen 111, drained
// 112 + frame, bandage 120, shadow 125, arrow 130 + frame, dim arrow 170 + frame. Brushes, blots and
// footprints are the game's own.
class XPlayerCharaTest : public RoundTest {
protected:
    void SetUp() override {
        RoundTest::SetUp();
        for (uint32_t body : {109, 114, 115, 111}) {
            InstallBlocks(body, 38, 40, 4, 100);
        }
        for (uint32_t bounce = 126; bounce <= 129; ++bounce) {
            InstallBlocks(bounce, 38, 41, 1, 110);
        }
        InstallBlocks(159, 38, 40, 1, 111);
        InstallBlocks(171, 38, 40, 4, 112);
        InstallBlocks(121, 22, 22, 1, 120);
        InstallBlocks(120, 32, 21, 1, 125);
        InstallBlocks(117, 15, 15, 32, 130);
        InstallBlocks(118, 15, 15, 32, 170);
        Start(true, true, 2, {0, 0, 0, 0});
        game->GetCanvas()->Reset();
        item = game->GetItem();
        effects = game->GetEffects();
    }
    // The smallest rectangle holding every pixel of a colour on the field.
    Rect PaintedBox(uint8_t colour) const {
        Rect box{640, 448, 0, 0};
        for (int y = 0; y < 448; ++y) {
            for (int x = 0; x < 640; ++x) {
                if (Field()->GetPixel(x, y) == colour) {
                    box = Rect{std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                               std::max(box.bottom, y + 1)};
                }
            }
        }
        return box;
    }

    XItemChara* item = nullptr;
    XEffectManager* effects = nullptr;
};

TEST_F(XPlayerCharaTest, EachStateHasItsSpeedPaceAndPictureWithTheArrowAhead) {
    struct Case {
        int32_t state;
        float speed;
        int wait;     // 7: the pace is left as it was
        int picture;  // at the body's top-left corner, frame 2
    };
    const Case cases[] = {{XPlayerChara::kNormal, 4.0f, 3, 102},  {XPlayerChara::kFast, 6.0f, 2, 102},
                          {XPlayerChara::kSlowed, 2.0f, 4, 102},  {XPlayerChara::kFrozen, 0.0f, 7, 111},
                          {XPlayerChara::kDrained, 3.0f, 3, 114}, {XPlayerChara::kWide, 4.0f, 3, 102},
                          {XPlayerChara::kBounced, 4.0f, 7, 110}};
    XPlayerChara* p = P(0);
    for (const Case& c : cases) {
        Stand(p, 300, 200);
        p->SetDirection(0);
        p->SetAnimationWait(7);
        p->SetFrame(2);
        p->SetState(c.state);
        EXPECT_FLOAT_EQ(p->GetSpeed(), c.speed) << c.state;
        EXPECT_EQ(p->GetAnimationWait(), c.wait) << c.state;
        Back()->ColourFill(nullptr, 0);
        p->Draw(Back());
        ExpectCorner(300, 200, c.picture, "picture");
    }
    // The bandage of a slowed painter sits just off its centre (319, 220).
    p->SetState(XPlayerChara::kSlowed);
    Back()->ColourFill(nullptr, 0);
    p->Draw(Back());
    ExpectCorner(307, 211, 120, "bandage");

    // The arrow floats 20 pixels out along the course, bright and dim in turns of six frames, and rises with
    // the hop while the shadow stays on the ground.
    struct Arrow {
        int direction;
        uint32_t counter;
        int hop;
        int x, y, colour;
    };
    const Arrow arrows[] = {{0, 0, 0, 332, 213, 130},
                            {60, 6, 0, 314, 193, 178},
                            {64, 11, 0, 312, 193, 178},
                            {128, 12, 32, 292, 181, 146}};
    for (const Arrow& a : arrows) {
        p->SetState(a.hop ? XPlayerChara::kBounced : XPlayerChara::kNormal);
        Stand(p, 300, 200);
        p->SetDirection(a.direction);
        p->UpdateAnimation(a.counter);
        while (p->GetHop() < a.hop) {
            p->UpdateState();
        }
        Back()->ColourFill(nullptr, 0);
        p->DrawShadow(Back());
        p->Draw(Back());
        ExpectCorner(a.x, a.y, a.colour, "arrow");
        ExpectCorner(300, 200 - a.hop, a.hop ? 110 : 100, "body");
        if (a.hop) {
            ExpectCorner(303, 225, 125, "shadow");
        }
    }
    p->SetArrowVisible(false);
    Back()->ColourFill(nullptr, 0);
    p->Draw(Back());
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 146), 0);
}

TEST_F(XPlayerCharaTest, TouchingPaintersSwapCoursesAndBounceThenGoSlowly) {
    XPlayerChara* a = P(0);
    XPlayerChara* b = P(1);
    struct Case {
        int32_t aState, bState, bControl;
        int bx, by;
        bool bounce;
    };
    const Case cases[] = {
        {XPlayerChara::kNormal, XPlayerChara::kNormal, 0, 210, 205, true},
        {XPlayerChara::kNormal, XPlayerChara::kNormal, 0, 200, 230, false},  // bodies meet, feet do not
        {XPlayerChara::kNormal, XPlayerChara::kFrozen, 0, 200, 215, true},   // a frozen painter can be struck
        {XPlayerChara::kNormal, XPlayerChara::kBounced, 0, 205, 205, false},
        {XPlayerChara::kBounced, XPlayerChara::kNormal, 0, 205, 205, false},
        {XPlayerChara::kNormal, XPlayerChara::kNormal, 2, 205, 205, false},
    };
    Stand(P(2), 500, 100);
    Stand(P(3), 500, 300);
    for (const Case& c : cases) {
        Heard();
        a->SetState(c.aState);
        b->SetState(c.bState);
        b->SetControlType(c.bControl);
        Stand(a, 200, 200);
        Stand(b, c.bx, c.by);
        a->SetDirection(40);
        b->SetDirection(200);
        a->CheckCharacterCollisions();
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(a->GetState(), c.bounce ? XPlayerChara::kBounced : c.aState);
        EXPECT_EQ(b->GetState(), c.bounce ? XPlayerChara::kBounced : c.bState);
        EXPECT_EQ(a->GetDirection(), c.bounce ? 200 : 40);
        EXPECT_EQ(b->GetDirection(), c.bounce ? 40 : 200);
        EXPECT_EQ(Heard(), c.bounce ? std::vector<int32_t>{178} : std::vector<int32_t>{});
    }
    // Two touching at once: only the first in the painter's order bounces with it.
    b->SetControlType(XPlayerChara::kHuman);
    for (XPlayerChara* p : {a, b, P(2)}) {
        p->SetState(XPlayerChara::kNormal);
    }
    Stand(b, 210, 205);
    Stand(P(2), 190, 195);
    a->CheckCharacterCollisions();
    EXPECT_EQ(P(2)->GetState(), XPlayerChara::kNormal);
    // Up and down the same curve, then slow for 110 frames.
    const std::vector<int> hops = {8,  15, 21, 27, 32, 37, 42, 46, 50, 54, 57, 60, 63, 65, 67, 68, 68,
                                   68, 67, 65, 63, 60, 57, 54, 50, 46, 42, 37, 32, 27, 21, 15, 8,  0};
    std::vector<int> seen;
    for (size_t i = 0; i < hops.size(); ++i) {
        EXPECT_EQ(a->GetState(), XPlayerChara::kBounced);
        a->UpdateState();
        seen.push_back(a->GetHop());
    }
    EXPECT_EQ(seen, hops);
    for (int i = 0; i < 110; ++i) {
        EXPECT_EQ(a->GetState(), XPlayerChara::kSlowed);
        a->UpdateState();
    }
    EXPECT_EQ(a->GetState(), XPlayerChara::kNormal);
}

TEST_F(XPlayerCharaTest, PaintersStayOnTheFieldAndSplashesLandInsideThePaintRectangle) {
    XPlayerChara* p = P(0);
    // The body may reach 14 pixels above the field: its feet stay on it.
    const int moves[][4] = {{-50, -50, 1, -13}, {700, 500, 601, 393}, {1, -13, 1, -13}, {601, 393, 601, 393}};
    for (const auto& m : moves) {
        Stand(p, m[0], m[1]);
        p->ClampToField();
        EXPECT_EQ(p->GetX(), m[2]);
        EXPECT_EQ(p->GetY(), m[3]);
        EXPECT_EQ(p->GetFootprint()->GetX(), m[0]) << "the footprint stays where the move put it";
    }
    Rect reach{1000, 1000, -1000, -1000};
    for (int i = 0; i < 20000; ++i) {
        p->SplashRandomBlot();
        const ZSprite256* brush = p->GetBrush();
        reach = Rect{std::min(reach.left, brush->GetX()), std::min(reach.top, brush->GetY()),
                     std::max(reach.right, brush->GetX()), std::max(reach.bottom, brush->GetY())};
    }
    EXPECT_EQ(reach.left, 5);
    EXPECT_EQ(reach.top, 5);
    EXPECT_EQ(reach.right, 603);
    EXPECT_EQ(reach.bottom, 411);
    EXPECT_EQ(effects->CountEffects(), 50) << "every blot adds a blast until the table is full";
    EXPECT_EQ(PaintedBox(kColours[0]).right, 635);
}

TEST_F(XPlayerCharaTest, PaintingStampsTheBrushAtTheFeetInEveryStateButDrainedAndBounced) {
    const std::pair<int32_t, int> cases[] = {{XPlayerChara::kNormal, 812}, {XPlayerChara::kFast, 812},
                                             {XPlayerChara::kSlowed, 812}, {XPlayerChara::kFrozen, 812},
                                             {XPlayerChara::kWide, 1500},  {XPlayerChara::kDrained, 0},
                                             {XPlayerChara::kBounced, 0}};
    XPlayerChara* p = P(1);
    for (auto [state, area] : cases) {
        game->GetCanvas()->Reset();
        Stand(p, 300, 200);
        p->SetState(state);
        p->Paint();
        EXPECT_EQ(Painted(1), area) << state;
    }
    game->GetCanvas()->Reset();
    p->SetState(XPlayerChara::kNormal);
    p->Paint();
    // Centred 14 pixels below the body's centre (319, 220).
    Rect box = PaintedBox(kColours[1]);
    EXPECT_EQ(box.left, 303);
    EXPECT_EQ(box.top, 218);
    EXPECT_EQ(box.right, 335);
    EXPECT_EQ(box.bottom, 250);
}

TEST_F(XPlayerCharaTest, ItemsActOnTheTakerOrOnOpponentsThatAreNeitherBouncingNorAbsent) {
    struct Case {
        int32_t kind;
        std::array<int32_t, 4> states;  // the taker is player 1; player 2 bounces, player 4 is absent
        int effects;
        int splashes;
    };
    const Case cases[] = {
        {XItemChara::kClock, {0, 6, 3, 0}, 1, 0},   {XItemChara::kPotion, {0, 6, 4, 0}, 1, 0},
        {XItemChara::kShoe, {1, 6, 0, 0}, 0, 0},    {XItemChara::kBrushes, {5, 6, 0, 0}, 0, 0},
        {XItemChara::kMissile, {0, 6, 0, 0}, 1, 0}, {XItemChara::kThreeMissiles, {0, 6, 0, 0}, 0, 56},
    };
    P(3)->SetControlType(XPlayerChara::kAbsent);
    for (const Case& c : cases) {
        game->StartRound();
        P(1)->SetState(XPlayerChara::kBounced);
        item->SetKind(c.kind);
        item->PlaceAt(300, 200);
        SeedRandomWith(77);
        int delay = Random(80);
        SeedRandomWith(77);
        P(0)->ApplyItem();
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(P(i)->GetState(), c.states[i]) << "kind " << c.kind << ", player " << i + 1;
        }
        EXPECT_EQ(P(2)->GetComputerDelay(), c.kind == XItemChara::kPotion ? delay : 0);
        EXPECT_EQ(effects->CountEffects(), c.effects) << c.kind;
        EXPECT_EQ(P(0)->GetSplashCounter(), c.splashes) << c.kind;
        EXPECT_EQ(item->GetKind(), XItemChara::kNone);
    }
}

TEST_F(XPlayerCharaTest, TimedStatesEndOnTimeAndLeaveTheirTrails) {
    struct Case {
        int32_t state;
        int updates;
        int32_t after;
        int trail;  // effects added on the way
    };
    const Case cases[] = {{XPlayerChara::kFrozen, 384, XPlayerChara::kFrozen, 0},
                          {XPlayerChara::kFrozen, 385, XPlayerChara::kNormal, 0},
                          {XPlayerChara::kSlowed, 109, XPlayerChara::kSlowed, 0},
                          {XPlayerChara::kFast, 12, XPlayerChara::kFast, 3},
                          {XPlayerChara::kWide, 12, XPlayerChara::kWide, 2},
                          {XPlayerChara::kDrained, 1000, XPlayerChara::kDrained, 0}};
    for (const Case& c : cases) {
        game->StartRound();
        P(0)->SetState(c.state);
        int before = effects->CountEffects();
        for (int i = 0; i < c.updates; ++i) {
            P(0)->UpdateState();
        }
        EXPECT_EQ(P(0)->GetState(), c.after) << c.state;
        EXPECT_EQ(effects->CountEffects() - before, c.trail) << c.state;
    }
}

TEST_F(XPlayerCharaTest, MissilesPaintTheTakersColourIntoTheField) {
    item->SetKind(XItemChara::kMissile);
    item->PlaceAt(300, 200);
    P(2)->ApplyItem();
    EXPECT_EQ(Painted(2), 26519) << "the whole blot";
    Rect box = PaintedBox(kColours[2]);
    EXPECT_NEAR(box.left + box.right, 2 * 322, 1) << "centred on the item";
    EXPECT_NEAR(box.top + box.bottom, 2 * 222, 1);
    EXPECT_NE(dynamic_cast<XEffectBigBomb*>(effects->GetEffect(0)), nullptr);
    // Near a corner only the part inside the paint rectangle lands.
    item->SetKind(XItemChara::kMissile);
    item->PlaceAt(1, 1);
    P(0)->ApplyItem();
    EXPECT_GT(Painted(0), 5000);
    EXPECT_EQ(PaintedBox(kColours[0]).left, 5);
    EXPECT_EQ(PaintedBox(kColours[0]).top, 5);

    // Three missiles: a blot and a blast on each of 56 frames, a bang on every fourth.
    item->SetKind(XItemChara::kThreeMissiles);
    P(3)->ApplyItem();
    effects->ClearAll();
    Heard();
    int blasts = 0;
    for (int i = 0; i < 60; ++i) {
        int before = effects->CountEffects();
        P(3)->UpdateState();
        blasts += effects->CountEffects() - before;
        effects->Update();
    }
    EXPECT_EQ(blasts, 56);
    EXPECT_EQ(Heard(), std::vector<int32_t>(14, 185));
    EXPECT_GT(Painted(3), 20 * 812);
}

TEST_F(XPlayerCharaTest, OnlyAPainterThatTakesPartAndIsFreeToMoveTakesTheItem) {
    struct Case {
        int32_t control, state, kind;
        int y;
        bool takes;
    };
    const Case cases[] = {{0, XPlayerChara::kNormal, XItemChara::kNone, 200, false},
                          {0, XPlayerChara::kNormal, XItemChara::kShoe, 200, true},
                          {1, XPlayerChara::kDrained, XItemChara::kShoe, 200, true},
                          {0, XPlayerChara::kFrozen, XItemChara::kShoe, 200, false},
                          {0, XPlayerChara::kBounced, XItemChara::kShoe, 200, false},
                          {2, XPlayerChara::kNormal, XItemChara::kShoe, 200, false},
                          {0, XPlayerChara::kNormal, XItemChara::kShoe, 170, false}};  // the feet miss it
    XPlayerChara* p = P(0);
    item->PlaceAt(297, 197);
    for (const Case& c : cases) {
        p->SetControlType(c.control);
        p->SetState(c.state);
        item->SetKind(c.kind);
        Stand(p, 300, c.y);
        EXPECT_EQ(p->CanPickUpItem(), c.takes) << &c - cases;
    }
}

TEST_F(XPlayerCharaTest, AnEmptySeatNeitherMovesPaintsNorShows) {
    XPlayerChara* ghost = P(1);
    Stand(ghost, 100, 100);
    ghost->SetControlType(XPlayerChara::kAbsent);
    ghost->SetPosition(-100, -100);
    ghost->SetSpeed(4.0f);
    ghost->SetDirection(0);
    ghost->SetState(XPlayerChara::kBounced);
    for (int i = 0; i < 40; ++i) {
        ghost->Move();
        ghost->UpdateState();
        ghost->ClampToField();
    }
    EXPECT_EQ(ghost->GetX(), -100);
    EXPECT_EQ(ghost->GetState(), XPlayerChara::kBounced);
    ghost->SetPosition(300, 200);
    ghost->SetState(XPlayerChara::kNormal);
    ghost->Paint();
    EXPECT_EQ(Painted(1), 0);
    Back()->ColourFill(nullptr, 0);
    ghost->DrawShadow(Back());
    ghost->Draw(Back());
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 0), 640 * 480);
}

TEST_F(XPlayerCharaTest, TurningStepsFourUnitsAroundTheCircle) {
    XPlayerChara* p = P(0);
    const int cases[][3] = {{252, 4, 0}, {0, -4, 252}, {100, 4, 104}, {-1, 4, -1}, {-1, -4, -1}};
    for (const auto& c : cases) {
        p->SetDirection(c[0]);
        c[1] > 0 ? p->TurnLeft() : p->TurnRight();
        EXPECT_EQ(p->GetDirection(), c[2]) << c[0];
    }
}

}  // namespace
