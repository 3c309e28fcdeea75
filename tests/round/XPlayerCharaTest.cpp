#include <vector>

#include "audio/FakeAudioDevice.h"
#include "gfx/Maths.h"
#include "round/FieldTestArt.h"
#include "round/XEffectBigBomb.h"

namespace {

class XPlayerCharaTest : public FieldTest {
protected:
    void SetUp() override {
        FieldTest::SetUp();
        MakeRound();
    }
    Surface* Field() { return canvas->GetFieldSurface(); }
    int Painted(int player) { return CountPixels(*Field(), Rect{0, 0, 640, 448}, art::kColours[player]); }
    // Pixels of a stamp picture in its own colour.
    static int StampArea(uint16_t bitmap) {
        ZSprite256 stamp(bitmap, 1);
        int count = 0;
        for (int y = 0; y < stamp.GetHeight(); ++y) {
            for (int x = 0; x < stamp.GetWidth(); ++x) {
                count += stamp.GetSurface()->GetPixel(x, y) != art::kKey;
            }
        }
        return count;
    }
    // Stands a player with its body's top-left corner at (x, y), footprint included.
    static void Stand(XPlayerChara* p, int x, int y) {
        p->SetSpeed(0.0f);
        p->SetPosition(x, y);
        p->Move();
    }
    void ClearCanvas() {
        Rect whole{0, 0, 640, 448};
        Field()->ColourFill(&whole, art::kField);
    }
};

TEST_F(XPlayerCharaTest, ColourComesFromTheBrushCentreAndTheStartLayoutIsForty) {
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(Player(p)->GetColour(), art::kColours[p]);
        EXPECT_EQ(Player(p)->GetState(), XPlayerChara::kNormal);
        EXPECT_FLOAT_EQ(Player(p)->GetSpeed(), 4.0f);
        EXPECT_EQ(Player(p)->GetAnimationWait(), 3);
    }
    EXPECT_NEAR(Distance(Player(0)->GetCentreX(), Player(0)->GetCentreY(), 320, 212), 40.0, 1.0);
    EXPECT_LT(Player(0)->GetX(), Player(3)->GetX());
    EXPECT_LT(Player(0)->GetY(), Player(3)->GetY());
}

TEST_F(XPlayerCharaTest, TurningStepsFourUnitsAndWraps) {
    XPlayerChara* p = Player(0);
    p->SetDirection(252);
    p->TurnLeft();
    EXPECT_EQ(p->GetDirection(), 0);
    p->TurnRight();
    p->TurnRight();
    EXPECT_EQ(p->GetDirection(), 248);
    p->SetDirection(-1);
    p->TurnLeft();
    p->TurnRight();
    EXPECT_EQ(p->GetDirection(), -1);
}

TEST_F(XPlayerCharaTest, CollisionSwapsDirectionsAndRunsTheHopThenTheSlowedState) {
    FakeAudioInstall audio;
    app->LoadSounds();
    OldFakeAudioDevice* device = FakeAudioInstall::Current();
    ASSERT_NE(device, nullptr);
    size_t playsBefore = device->log.size();
    XPlayerChara* a = Player(0);
    XPlayerChara* b = Player(1);
    XPlayerChara* c = Player(2);
    Stand(a, 200, 200);
    Stand(b, 210, 205);
    Stand(c, 190, 195);
    Stand(Player(3), 500, 100);
    a->SetDirection(0);
    b->SetDirection(128);
    c->SetDirection(64);
    a->CheckCharacterCollisions();
    EXPECT_EQ(a->GetDirection(), 128);
    EXPECT_EQ(b->GetDirection(), 0);
    EXPECT_EQ(c->GetDirection(), 64) << "only the first opponent in order bounces";
    EXPECT_EQ(a->GetState(), XPlayerChara::kBounced);
    EXPECT_EQ(b->GetState(), XPlayerChara::kBounced);
    EXPECT_EQ(c->GetState(), XPlayerChara::kNormal);
    EXPECT_EQ(device->log.size() - playsBefore, 1u);

    // Bouncing characters neither collide again nor are struck.
    b->CheckCharacterCollisions();
    c->CheckCharacterCollisions();
    EXPECT_EQ(b->GetDirection(), 0);
    EXPECT_EQ(c->GetState(), XPlayerChara::kNormal);

    const std::vector<int> hops = {8,  15, 21, 27, 32, 37, 42, 46, 50, 54, 57, 60, 63, 65, 67, 68, 68,
                                   68, 67, 65, 63, 60, 57, 54, 50, 46, 42, 37, 32, 27, 21, 15, 8,  0};
    std::vector<int> seen;
    for (int i = 0; i < 34; ++i) {
        EXPECT_EQ(a->GetState(), XPlayerChara::kBounced);
        a->UpdateState();
        seen.push_back(a->GetHop());
    }
    EXPECT_EQ(seen, hops);
    EXPECT_EQ(a->GetState(), XPlayerChara::kSlowed);
    EXPECT_FLOAT_EQ(a->GetSpeed(), 2.0f);
    EXPECT_EQ(a->GetAnimationWait(), 4);
    for (int i = 0; i < 109; ++i) {
        a->UpdateState();
    }
    EXPECT_FLOAT_EQ(a->GetSpeed(), 2.0f);
    a->UpdateState();
    EXPECT_EQ(a->GetState(), XPlayerChara::kNormal);
    EXPECT_FLOAT_EQ(a->GetSpeed(), 4.0f);
}

TEST_F(XPlayerCharaTest, FootprintsMustTouchAndAFrozenCharacterCanBeStruck) {
    XPlayerChara* a = Player(0);
    XPlayerChara* b = Player(1);
    Stand(Player(2), 500, 100);
    Stand(Player(3), 500, 300);
    // Bodies overlap but the bases (rows 16 to 37) do not: b stands 30 pixels lower.
    Stand(a, 200, 200);
    Stand(b, 200, 230);
    a->CheckCharacterCollisions();
    EXPECT_EQ(a->GetState(), XPlayerChara::kNormal);

    Stand(b, 200, 215);
    b->SetState(XPlayerChara::kFrozen);
    a->SetDirection(40);
    b->SetDirection(200);
    a->CheckCharacterCollisions();
    EXPECT_EQ(b->GetState(), XPlayerChara::kBounced);
    EXPECT_EQ(b->GetDirection(), 40);
    EXPECT_FLOAT_EQ(b->GetSpeed(), 4.0f);
}

TEST_F(XPlayerCharaTest, ClampAndSplashBoundsFollowTheMargins) {
    XPlayerChara* p = Player(0);
    EXPECT_EQ(p->GetMoveBounds().minX, 1);
    EXPECT_EQ(p->GetMoveBounds().maxX, 601);
    EXPECT_EQ(p->GetMoveBounds().minY, -13);
    EXPECT_EQ(p->GetMoveBounds().maxY, 393);
    const std::vector<std::pair<int, int>> outside = {{-50, -50}, {700, 500}, {-5, 300}, {300, 400}};
    const std::vector<std::pair<int, int>> clamped = {{1, -13}, {601, 393}, {1, 300}, {300, 393}};
    for (size_t i = 0; i < outside.size(); ++i) {
        Stand(p, outside[i].first, outside[i].second);
        p->ClampToField();
        EXPECT_EQ(p->GetX(), clamped[i].first);
        EXPECT_EQ(p->GetY(), clamped[i].second);
        // The footprint stays where the move put it.
        EXPECT_EQ(p->GetFootprint()->GetX(), outside[i].first);
    }

    EXPECT_EQ(p->GetSplashBounds().minX, 5);
    EXPECT_EQ(p->GetSplashBounds().maxX, 604);
    EXPECT_EQ(p->GetSplashBounds().minY, 5);
    EXPECT_EQ(p->GetSplashBounds().maxY, 412);
    int lowX = 1000, highX = -1000, lowY = 1000, highY = -1000;
    for (int i = 0; i < 20000; ++i) {
        p->SplashRandomBlot();
        lowX = std::min(lowX, p->GetBrush()->GetX());
        highX = std::max(highX, p->GetBrush()->GetX());
        lowY = std::min(lowY, p->GetBrush()->GetY());
        highY = std::max(highY, p->GetBrush()->GetY());
    }
    EXPECT_EQ(lowX, 5);
    EXPECT_EQ(highX, 603);
    EXPECT_EQ(lowY, 5);
    EXPECT_EQ(highY, 411);
    EXPECT_EQ(effects->CountEffects(), 50) << "every blot adds a blast until the table is full";
    // Splashes never reach past the paint rectangle.
    EXPECT_EQ(CountPixels(*Field(), Rect{0, 0, 640, 5}, art::kColours[0]), 0);
    EXPECT_EQ(CountPixels(*Field(), Rect{635, 0, 640, 448}, art::kColours[0]), 0);
}

TEST_F(XPlayerCharaTest, PaintStampsTheBrushAtTheFeetExceptWhileDrainedOrBouncing) {
    XPlayerChara* p = Player(0);
    ClearCanvas();
    Stand(p, 300, 200);
    p->Paint();
    int brush = StampArea(110);
    EXPECT_EQ(Painted(0), brush);
    EXPECT_EQ(Field()->GetPixel(p->GetCentreX(), p->GetCentreY() + 14), art::kColours[0]);
    EXPECT_EQ(Field()->GetPixel(p->GetCentreX(), p->GetCentreY() + 14 - 17), art::kField);
    EXPECT_EQ(Field()->GetPixel(p->GetCentreX(), p->GetCentreY() + 14 + 16), art::kField);

    const int32_t silent[2] = {XPlayerChara::kDrained, XPlayerChara::kBounced};
    for (int32_t state : silent) {
        ClearCanvas();
        p->SetState(state);
        p->Paint();
        EXPECT_EQ(Painted(0), 0) << "state " << state;
    }
    ClearCanvas();
    p->SetState(XPlayerChara::kFrozen);
    p->Paint();
    EXPECT_EQ(Painted(0), brush);
    ClearCanvas();
    p->SetState(XPlayerChara::kWide);
    p->Paint();
    EXPECT_EQ(Painted(0), StampArea(246));
}

TEST_F(XPlayerCharaTest, ClockAndPotionSpareBouncingAndAbsentOpponents) {
    XPlayerChara* taker = Player(0);
    Player(1)->SetState(XPlayerChara::kBounced);
    Player(3)->SetControlType(XPlayerChara::kAbsent);
    item->SetKind(XItemChara::kClock);
    taker->ApplyItem();
    EXPECT_EQ(item->GetKind(), XItemChara::kNone);
    EXPECT_EQ(Player(1)->GetState(), XPlayerChara::kBounced);
    EXPECT_EQ(Player(2)->GetState(), XPlayerChara::kFrozen);
    EXPECT_FLOAT_EQ(Player(2)->GetSpeed(), 0.0f);
    EXPECT_EQ(Player(3)->GetState(), XPlayerChara::kNormal);
    EXPECT_EQ(taker->GetState(), XPlayerChara::kNormal);
    EXPECT_EQ(effects->CountEffects(), 1) << "one sparkle burst for the frozen one";

    for (int i = 0; i < 384; ++i) {
        Player(2)->UpdateState();
    }
    EXPECT_EQ(Player(2)->GetState(), XPlayerChara::kFrozen);
    Player(2)->UpdateState();
    EXPECT_EQ(Player(2)->GetState(), XPlayerChara::kNormal);

    Player(1)->SetState(XPlayerChara::kNormal);
    SeedRandomWith(77);
    int first = Random(80);
    int second = Random(80);
    SeedRandomWith(77);
    item->SetKind(XItemChara::kPotion);
    taker->ApplyItem();
    EXPECT_EQ(Player(1)->GetState(), XPlayerChara::kDrained);
    EXPECT_EQ(Player(2)->GetState(), XPlayerChara::kDrained);
    EXPECT_FLOAT_EQ(Player(1)->GetSpeed(), 3.0f);
    EXPECT_EQ(Player(1)->GetComputerDelay(), first);
    EXPECT_EQ(Player(2)->GetComputerDelay(), second);
    EXPECT_EQ(Player(3)->GetState(), XPlayerChara::kNormal);
    EXPECT_EQ(Player(3)->GetComputerDelay(), 0);
    EXPECT_EQ(item->GetKind(), XItemChara::kNone);
}

TEST_F(XPlayerCharaTest, ShoeAndBrushesChangeTheTakerAndLeaveTrails) {
    XPlayerChara* p = Player(0);
    item->SetKind(XItemChara::kShoe);
    p->ApplyItem();
    EXPECT_EQ(p->GetState(), XPlayerChara::kFast);
    EXPECT_FLOAT_EQ(p->GetSpeed(), 6.0f);
    EXPECT_EQ(p->GetAnimationWait(), 2);
    for (int i = 0; i < 12; ++i) {
        p->UpdateState();
    }
    EXPECT_EQ(effects->CountEffects(), 3) << "a sparkle every fourth frame";
    EXPECT_EQ(p->GetState(), XPlayerChara::kFast) << "fast lasts until something else happens";

    effects->ClearAll();
    item->SetKind(XItemChara::kBrushes);
    p->ApplyItem();
    EXPECT_EQ(p->GetState(), XPlayerChara::kWide);
    EXPECT_FLOAT_EQ(p->GetSpeed(), 4.0f);
    for (int i = 0; i < 12; ++i) {
        p->UpdateState();
    }
    EXPECT_EQ(effects->CountEffects(), 2) << "a ring every sixth frame";
}

TEST_F(XPlayerCharaTest, MissileStampsTheBlotOnTheItemWithABigBomb) {
    ClearCanvas();
    item->PlaceAt(300, 200);
    item->SetKind(XItemChara::kMissile);
    Player(2)->ApplyItem();
    EXPECT_EQ(Painted(2), StampArea(162));
    EXPECT_EQ(Field()->GetPixel(item->GetCentreX(), item->GetCentreY()), art::kColours[2]);
    EXPECT_EQ(Field()->GetPixel(item->GetCentreX() - 111, item->GetCentreY()), art::kField);
    EXPECT_EQ(effects->CountEffects(), 1);
    EXPECT_NE(dynamic_cast<XEffectBigBomb*>(effects->GetEffect(0)), nullptr);

    // Near a corner only the part inside the paint rectangle lands.
    ClearCanvas();
    item->PlaceAt(1, 1);
    item->SetKind(XItemChara::kMissile);
    Player(2)->ApplyItem();
    EXPECT_GT(Painted(2), 5000);
    EXPECT_EQ(CountPixels(*Field(), Rect{0, 0, 5, 448}, art::kColours[2]), 0);
    EXPECT_EQ(CountPixels(*Field(), Rect{0, 0, 640, 5}, art::kColours[2]), 0);
}

TEST_F(XPlayerCharaTest, ThreeMissilesSplashFiftySixBlotsWithFourteenSounds) {
    FakeAudioInstall audio;
    app->LoadSounds();
    OldFakeAudioDevice* device = FakeAudioInstall::Current();
    ASSERT_NE(device, nullptr);
    size_t playsBefore = device->log.size();
    ClearCanvas();
    XPlayerChara* p = Player(3);
    item->SetKind(XItemChara::kThreeMissiles);
    p->ApplyItem();
    EXPECT_EQ(p->GetSplashCounter(), 56);
    int blasts = 0;
    for (int i = 0; i < 60; ++i) {
        int before = effects->CountEffects();
        p->UpdateState();
        blasts += effects->CountEffects() - before;
        effects->Update();
    }
    EXPECT_EQ(blasts, 56);
    EXPECT_EQ(p->GetSplashCounter(), 0);
    EXPECT_GT(Painted(3), 20 * StampArea(113));
    EXPECT_EQ(device->log.size() - playsBefore, 14u);
}

TEST_F(XPlayerCharaTest, PickUpNeedsBothMasksAndATakingPartMovableCharacter) {
    XPlayerChara* p = Player(0);
    Stand(p, 300, 200);
    item->PlaceAt(297, 197);
    EXPECT_FALSE(p->CanPickUpItem()) << "kind 0 is no item";
    item->SetKind(XItemChara::kShoe);
    EXPECT_TRUE(p->CanPickUpItem());
    const int32_t blocked[2] = {XPlayerChara::kFrozen, XPlayerChara::kBounced};
    for (int32_t state : blocked) {
        p->SetState(state);
        EXPECT_FALSE(p->CanPickUpItem()) << "state " << state;
    }
    p->SetState(XPlayerChara::kDrained);
    EXPECT_TRUE(p->CanPickUpItem());
    // Above the item the bases do not meet.
    Stand(p, 300, 170);
    EXPECT_FALSE(p->CanPickUpItem());
}

TEST_F(XPlayerCharaTest, AbsentCharacterDoesNothingAtAll) {
    XPlayerChara* ghost = Player(1);
    // Its footprint still lies where it last stood.
    Stand(ghost, 100, 100);
    ghost->SetControlType(XPlayerChara::kAbsent);
    ghost->SetPosition(-100, -100);
    ghost->SetSpeed(4.0f);
    ghost->SetDirection(0);
    ghost->Move();
    ghost->UpdateState();
    ghost->ClampToField();
    EXPECT_EQ(ghost->GetX(), -100) << "neither moved nor clamped";
    ghost->SetPosition(300, 200);
    item->PlaceAt(297, 197);
    item->SetKind(XItemChara::kShoe);
    EXPECT_FALSE(ghost->CanPickUpItem());

    ClearCanvas();
    ghost->Paint();
    EXPECT_EQ(Painted(1), 0);
    Back()->ColourFill(nullptr, 0);
    ghost->DrawShadow(Back());
    ghost->Draw(Back());
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 0), 640 * 480);

    // Others pass through it.
    Stand(Player(0), 100, 100);
    ghost->SetPosition(100, 100);
    Player(0)->CheckCharacterCollisions();
    ghost->CheckCharacterCollisions();
    EXPECT_EQ(Player(0)->GetState(), XPlayerChara::kNormal);
    EXPECT_EQ(ghost->GetState(), XPlayerChara::kNormal);
}

TEST_F(XPlayerCharaTest, DrawShowsTheStateImageRaisedByTheHopWithTheArrowAhead) {
    XPlayerChara* p = Player(0);
    Stand(p, 300, 200);
    p->SetDirection(0);
    p->UpdateAnimation(0);
    EXPECT_TRUE(p->IsArrowBright());
    Back()->ColourFill(nullptr, 0);
    p->Draw(Back());
    EXPECT_EQ(Back()->GetPixel(305, 205), art::kBody + 0);
    // Arrow cell 15 x 15 centred 20 px right of the body's centre (319, 220).
    EXPECT_EQ(Back()->GetPixel(339, 220), art::kArrow + 0);
    EXPECT_EQ(Back()->GetPixel(339 - 7, 220), art::kBody) << "the arrow's rim is transparent";
    EXPECT_EQ(Back()->GetPixel(339 - 6, 220), art::kArrow);
    EXPECT_EQ(Back()->GetPixel(339 + 6, 220), art::kArrow);
    EXPECT_EQ(Back()->GetPixel(339 + 7, 220), 0);
    EXPECT_EQ(Back()->GetPixel(339, 220 - 6), art::kArrow);
    EXPECT_EQ(Back()->GetPixel(339, 220 - 7), 0);

    p->SetDirection(60);
    p->UpdateAnimation(6);
    EXPECT_FALSE(p->IsArrowBright());
    Back()->ColourFill(nullptr, 0);
    p->Draw(Back());
    int ax = RoundToInt(319 + Cos256(60) * 20.0f);
    int ay = RoundToInt(220 - Sin256(60) * 20.0f);
    EXPECT_EQ(Back()->GetPixel(ax, ay), art::kDimArrow + 8);

    p->SetArrowVisible(false);
    Back()->ColourFill(nullptr, 0);
    p->Draw(Back());
    EXPECT_EQ(Back()->GetPixel(ax, ay), 0);

    p->SetState(XPlayerChara::kFrozen);
    Back()->ColourFill(nullptr, 0);
    p->Draw(Back());
    EXPECT_EQ(Back()->GetPixel(305, 205), art::kFrozen);

    p->SetState(XPlayerChara::kDrained);
    p->SetFrame(2);
    Back()->ColourFill(nullptr, 0);
    p->Draw(Back());
    EXPECT_EQ(Back()->GetPixel(305, 205), art::kDrained + 2);

    p->SetState(XPlayerChara::kSlowed);
    Back()->ColourFill(nullptr, 0);
    p->Draw(Back());
    EXPECT_EQ(Back()->GetPixel(305, 205), art::kBody + 2);
    EXPECT_EQ(Back()->GetPixel(318, 222), art::kBandage);

    p->SetState(XPlayerChara::kBounced);
    for (int i = 0; i < 5; ++i) {
        p->UpdateState();
    }
    ASSERT_EQ(p->GetHop(), 32);
    Back()->ColourFill(nullptr, 0);
    p->DrawShadow(Back());
    p->Draw(Back());
    EXPECT_EQ(Back()->GetPixel(305, 205 - 32), art::kBounce);
    EXPECT_EQ(Back()->GetPixel(319, 235), art::kShadow) << "the shadow stays on the ground";
}

}  // namespace
