#include "round/RoundTest.h"

// Four painters of a battle in test pictures: body 100 + frame, bounce 110, frozen 111, drained 112 + frame,
// bandage 120, shadow 125, arrow 130 + frame, dim arrow 170 + frame. Brushes, blots and footprints are the
// game's own: player 1 paints 192, player 2 paints 23.
class XPlayerCharaTest : public RoundTest {
protected:
    void SetUp() override {
        RoundTest::SetUp();
        const std::vector<std::array<int, 5>> pictures = {
            {109, 38, 40, 4, 100}, {114, 38, 40, 4, 100}, {115, 38, 40, 4, 100},  {111, 38, 40, 4, 100},
            {126, 38, 41, 1, 110}, {127, 38, 41, 1, 110}, {159, 38, 40, 1, 111},  {171, 38, 40, 4, 112},
            {121, 22, 22, 1, 120}, {120, 32, 21, 1, 125}, {117, 15, 15, 32, 130}, {118, 15, 15, 32, 170}};
        InstallBlocks(pictures);
        Start(true, true, 2, {0, 0, 0, 0});
    }
    // Player 1 alone, steered by the computer, centred on (320, 224) and heading right.
    void Computer() {
        for (int i = 0; i < 4; ++i) P(i)->SetControlType(i ? XPlayerChara::kAbsent : XPlayerChara::kComputer);
        P(0)->SetCentre(320, 224);
        P(0)->SetDirection(0);
    }
    // Opponent i (0 to 2, in player 1's order) takes part, centred at an offset from player 1's centre.
    XPlayerChara* Opponent(int i, int dx, int dy) {
        P(i + 1)->SetControlType(XPlayerChara::kHuman);
        P(i + 1)->SetCentre(P(0)->GetCentreX() + dx, P(0)->GetCentreY() + dy);
        return P(i + 1);
    }
    // Player 1's turns in its next decisions (+4 left, -4 right), then whether a turn to a target is under
    // way.
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

TEST_F(XPlayerCharaTest, EachStateHasItsSpeedPacePictureAndBrushAndSaysWhetherTheItemCanBeTaken) {
    // Control type, state, item kind, the painter's y; speed, animation wait (7: left as it was), the picture
    // at the body's corner (frame 2), the pixels painted at the feet, whether it takes the item at (297,
    // 197). The dim arrow floats 20 pixels above the centre; a slowed painter wears a bandage just off it;
    // the shadow shows below the feet.
    const std::tuple<int, int, int, int, float, int, int, int, bool> cases[] = {
        {0, 0, 2, 200, 4.0f, 3, 102, 812, true},  {0, 1, 2, 200, 6.0f, 2, 102, 812, true},
        {0, 2, 2, 200, 2.0f, 4, 102, 812, true},  {0, 3, 2, 200, 0.0f, 7, 111, 812, false},
        {1, 4, 2, 200, 3.0f, 3, 114, 0, true},    {0, 5, 2, 200, 4.0f, 3, 102, 1500, true},
        {0, 6, 2, 200, 4.0f, 7, 110, 0, false},   {2, 0, 2, 200, 4.0f, 3, 0, 0, false},
        {0, 0, 0, 200, 4.0f, 3, 102, 812, false}, {0, 0, 2, 170, 4.0f, 3, 102, 812, false}};
    XPlayerChara* p = P(0);
    p->SetDirection(64);
    // The arrow bright for six frames of the phase counter, dim for six.
    std::string phases;
    for (uint32_t counter : {0, 5, 6, 11, 12})
        phases += (p->UpdateAnimation(counter), p->IsArrowBright()) ? 'B' : 'd';
    EXPECT_EQ(phases, "BBddB");
    p->UpdateAnimation(6);
    game->GetItem()->PlaceAt(297, 197);
    for (auto [control, state, kind, y, speed, wait, picture, painted, takes] : cases) {
        game->GetCanvas()->Reset();
        game->GetItem()->SetKind(kind);
        Stand(p, 300, y);
        p->SetControlType(control);
        p->SetAnimationWait(7);
        p->SetFrame(2);
        p->SetState(state);
        Back()->ColourFill(nullptr, 0);
        p->DrawShadow(Back());
        p->Draw(Back());
        p->Paint();
        auto at = [&](int x, int dy) -> int { return Back()->GetPixel(x, y + dy); };
        int feet = Painted(192, {297, y + 12, 341, y + 56});
        std::vector<int> seen = {at(301, 1),  at(300, 1),  Painted(192), feet,        p->CanPickUpItem(),
                                 at(313, -6), at(308, 12), at(307, 12),  at(308, 11), at(319, 42)};
        EXPECT_EQ(
            std::tuple(p->GetSpeed(), p->GetAnimationWait(), seen),
            std::tuple(speed, wait,
                       std::vector<int>{picture, 0, painted, painted, takes, picture ? 178 : 0,
                                        state == 2 ? 120 : picture, picture, picture, picture ? 125 : 0}))
            << control << " " << state << " " << kind << " " << y;
    }
}

TEST_F(XPlayerCharaTest, TouchingPaintersSwapCoursesAndBounceThenGoSlowly) {
    XPlayerChara* a = P(0);
    XPlayerChara* b = P(1);
    // Painter 1's state, painter 2's state, control and corner; whether they bounce. Bodies meet but feet do
    // not; a frozen painter can be struck; a bouncing or absent one cannot.
    const std::array<int, 6> cases[] = {{0, 0, 0, 200, 230, 0}, {0, 3, 0, 200, 215, 1},
                                        {0, 6, 0, 205, 205, 0}, {6, 0, 0, 205, 205, 0},
                                        {0, 0, 2, 205, 205, 0}, {0, 0, 0, 210, 205, 1}};
    for (auto [aState, bState, bControl, x, y, bounce] : cases) {
        a->SetState(aState);
        b->SetState(bState);
        b->SetControlType(bControl);
        Stand(a, 200, 200);
        Stand(b, x, y);
        a->SetDirection(128);
        b->SetDirection(200);
        a->CheckCharacterCollisions();
        std::vector<int32_t> sounds = Heard();
        std::vector<int> after = {a->GetState(), b->GetState(), a->GetDirection(), b->GetDirection()};
        after.insert(after.end(), sounds.begin(), sounds.end());
        std::vector<int> expected = {aState, bState, 128, 200};
        EXPECT_EQ(after, (bounce ? std::vector<int>{6, 6, 200, 128, 178} : expected)) << x << "," << y;
    }
    // Up and down the same curve, then slow for 110 frames.
    std::vector<int> hops = {0,  8,  15, 21, 27, 32, 37, 42, 46, 50, 54, 57, 60, 63, 65, 67, 68,
                             68, 68, 67, 65, 63, 60, 57, 54, 50, 46, 42, 37, 32, 27, 21, 15, 8};
    hops.resize(34 + 110, -XPlayerChara::kSlowed);
    hops.push_back(XPlayerChara::kNormal);
    std::vector<int> seen, arrowTops;
    for (size_t i = 0; i < hops.size(); ++i, a->UpdateState()) {
        seen.push_back(a->GetState() == XPlayerChara::kBounced ? a->GetHop() : -a->GetState());
        if (i == 0 || i == 16) {
            // The arrow hops with the painter.
            Back()->ColourFill(nullptr, 0);
            a->Draw(Back());
            int top = 480;
            for (int y = 479; y >= 0; --y)
                for (int x = 0; x < 640; ++x) top = Back()->GetPixel(x, y) >= 130 ? y : top;
            arrowTops.push_back(top);
        }
    }
    EXPECT_EQ(std::tuple(seen, arrowTops[0] - arrowTops[1]), std::tuple(hops, 68));
}

TEST_F(XPlayerCharaTest, PaintersStayOnTheFieldAndTheirPaintInsideThePaintRectangle) {
    XPlayerChara* p = P(0);
    // The body may reach 14 pixels above the field, its feet stay on it; the footprint stays where it moved.
    for (auto [x, y, clampedX, clampedY] :
         {Four{-50, -50, 1, -13}, {700, 500, 601, 393}, {1, -13, 1, -13}, {601, 393, 601, 393}}) {
        Stand(p, x, y);
        p->ClampToField();
        EXPECT_EQ(std::tuple(p->GetX(), p->GetY(), p->GetFootprint()->GetX()),
                  std::tuple(clampedX, clampedY, x));
    }
    int left = 640, top = 448, right = 0, bottom = 0;  // the splashed blots' top-left corners
    for (int i = 0; i < 20000; ++i) {
        p->SplashRandomBlot();
        int x = p->GetBrush()->GetX(), y = p->GetBrush()->GetY();
        std::tie(left, top, right, bottom) =
            std::tuple(std::min(left, x), std::min(top, y), std::max(right, x), std::max(bottom, y));
    }
    // Every blot adds a blast until the table is full; blots at the corners are cut at the paint rectangle.
    game->GetCanvas()->Reset();
    for (int corner : {1, 2}) {
        game->GetItem()->SetKind(XItemChara::kMissile);
        game->GetItem()->PlaceAt(corner == 1 ? 1 : 595, corner == 1 ? 1 : 403);
        P(1)->ApplyItem();
    }
    EXPECT_EQ(std::tuple(left, top, right, bottom, game->GetEffects()->CountEffects(), Painted(23) > 5000,
                         Painted(23, {5, 5, 635, 443})), std::tuple(5, 5, 603, 411, 50, true, Painted(23)));
}

TEST_F(XPlayerCharaTest, ItemsActOnTheTakerOrOnOpponentsThatAreNeitherBouncingNorAbsentForTheirTime) {
    // Kind; the states after it (player 1 takes it, player 2 bounces, player 4 is absent), the pixels
    // painted, the effects added, the splashes to come, the effects after 13 more frames of the taker (a
    // trail of speed every 4th, of brushes every 6th, a blot each while splashing) and the splash sounds
    // heard in them (one every fourth splash), player 3's state after
    // 384 and 385 frames, how far player 3's delay is from the potion's draw of 0 to 79 (or from 0 without a
    // potion), and the item's kind, gone once applied.
    const std::array<int, 14> cases[] = {
        {1, 0, 6, 3, 0, 0, 1, 0, 1, 0, 3, 0, 0, 0},     {5, 0, 6, 4, 0, 0, 1, 0, 1, 0, 4, 4, 0, 0},
        {2, 1, 6, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0},     {6, 5, 6, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0},
        {3, 0, 6, 0, 0, 26139, 1, 0, 1, 0, 0, 0, 0, 0}, {4, 0, 6, 0, 0, 0, 0, 56, 13, 4, 0, 0, 0, 0}};
    P(3)->SetControlType(XPlayerChara::kAbsent);
    XItemChara* item = game->GetItem();
    for (const auto& c : cases) {
        game->StartRound();
        P(1)->SetState(XPlayerChara::kBounced);
        item->SetKind(c[0]);
        EXPECT_EQ(item->GetFrame(), c[0] - 1) << "taken by the picture of its kind, drawn or not";
        item->PlaceAt(300, 200);
        SeedRandomWith(77);
        int delay = c[0] == XItemChara::kPotion ? Random(80) : 0;
        SeedRandomWith(77);
        P(0)->ApplyItem();
        std::vector<int> seen = {P(0)->GetState(), P(1)->GetState(), P(2)->GetState(), P(3)->GetState()};
        seen.insert(seen.end(), {Painted(192, {212, 112, 432, 332}), game->GetEffects()->CountEffects()});
        seen.push_back(P(0)->GetSplashCounter());
        Heard();
        for (int i = 0; i < 13; ++i) P(0)->UpdateState();
        std::vector<int32_t> heard = Heard();
        seen.insert(seen.end(), {game->GetEffects()->CountEffects(),
                                 static_cast<int>(std::count(heard.begin(), heard.end(), 185))});
        for (int i = 0; i < 384; ++i) P(2)->UpdateState();
        seen.push_back(P(2)->GetState());
        P(2)->UpdateState();
        seen.push_back(P(2)->GetState());
        seen.insert(seen.end(), {P(2)->GetComputerDelay() - delay, item->GetKind()});
        EXPECT_EQ(seen, std::vector<int>(c.begin() + 1, c.end())) << c[0];
    }
    game->StartRound();
    EXPECT_EQ(P(0)->GetSplashCounter(), 0) << "the next round starts without the last one's splashes";
}

TEST_F(XPlayerCharaTest, AComputerWeavesOnAStraightMeanCourseAndTurnsBackAtTheEdges) {
    Computer();
    std::vector<int> weave;  // left for a quarter, right for a half, left for a quarter
    for (int turn : {4, -4, -4, 4, 4, -4, -4, 4}) weave.insert(weave.end(), 6, turn);
    weave.push_back(false);
    EXPECT_EQ(Turns(0, 48), weave);
    // At an edge it turns to the mirrored course with a variation of -8 to 8, but not when running along it.
    const XPlayerChara::Bounds& bounds = P(0)->GetMoveBounds();
    const Four cases[] = {{bounds.minX, 200, 128, 0},  {bounds.maxX, 200, 0, 128},
                          {bounds.minX, 200, 64, -1},  {bounds.maxX, 200, 192, -1},
                          {300, bounds.minY, 64, 192}, {300, bounds.maxY, 224, 32},
                          {300, bounds.minY, 0, -1},   {300, bounds.maxY, 128, -1}};
    for (auto [x, y, direction, mirror] : cases) {
        std::set<int> variations;
        for (uint32_t seed = 1; seed < 40; ++seed) {
            P(0)->ResetForRound();
            P(0)->SetPosition(x, y);
            P(0)->SetDirection(direction);
            SeedRandomWith(seed);
            std::vector<int> turns = Turns(0);  // the turn, if any, starts in the next frame
            variations.insert(mirror < 0 ? turns[0]
                                         : NormaliseDirection(P(0)->GetComputerTarget() - mirror + 8));
            EXPECT_EQ(turns[1], mirror >= 0) << x << "," << y << " " << direction;
        }
        EXPECT_EQ(variations, (mirror < 0 ? std::set<int>{4} : std::set<int>{0, 4, 8, 12, 16})) << direction;
    }
}

TEST_F(XPlayerCharaTest, AComputerSeesThreatsNearbyOrCloseAheadAndSwervesTheOtherWay) {
    Computer();
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
    XPlayerChara* first = Opponent(0, 0, 60);
    EXPECT_EQ(P(0)->NearestOpponent(), 0);
    // A threat on the left, straight ahead or straight behind is swerved from to the right, one on the right
    // to the left: 12 units, four a frame the short way, starting in the next frame.
    const Four evades[] = {{0, 50, -30, 244}, {0, 50, 0, 244}, {0, -50, 0, 244},
                           {0, -50, 1, 12},   {0, 50, 30, 12}, {64, 50, -30, 76}};
    for (auto [direction, dx, dy, evade] : evades) {
        P(0)->SetDirection(direction);
        first->SetCentre(320 + dx, 224 + dy);
        EXPECT_EQ(P(0)->EvadeDirection(0), evade) << direction << ": " << dx << "," << dy;
    }
    P(0)->SetDirection(0);
    first->SetCentre(370, 194);
    EXPECT_EQ(Turns(0, 6), (std::vector<int>{4, -4, -4, -4, -4, 4, true}));
}

TEST_F(XPlayerCharaTest, AComputerWaitsItsDelayThenSteersForTheItemButNotWithinTenUnits) {
    Computer();
    game->GetItem()->SetKind(XItemChara::kShoe);
    game->GetItem()->SetCentre(520, 224);  // straight to the right
    P(0)->SetComputerDelay(2);
    EXPECT_EQ(Turns(6, 2), (std::vector<int>{-4, 0, false})) << "weaving while it waits";
    for (auto [direction, turn] : {std::pair{246, 0}, {245, 4}, {128, 4}, {127, -4}, {11, -4}, {10, 0}}) {
        P(0)->SetDirection(direction);
        // Ten units off is straight enough.
        EXPECT_EQ(Turns(0), (std::vector<int>{turn, false})) << direction;
    }
    // Drained and with no item to take, it heads for the nearest opponent, which is far above it; with
    // nobody to head for, it goes on as it was.
    game->GetItem()->SetKind(XItemChara::kNone);
    P(0)->SetState(XPlayerChara::kDrained);
    P(0)->SetDirection(0);
    std::vector<int> alone = Turns(6);
    Opponent(2, 20, -200), Opponent(0, 0, -100);
    P(0)->SetDirection(0);
    EXPECT_EQ(std::pair(alone, Turns(0)), std::pair(std::vector<int>{0, false}, std::vector<int>{4, false}));
}
