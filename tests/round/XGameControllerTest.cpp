#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/Maths.h"
#include "input/Controllers.h"
#include "input/Input.h"
#include "round/FieldTestArt.h"
#include "round/XGame.h"
#include "round/XPlayerChara.h"
#include "scenes/SceneTestSupport.h"
#include "shell/XMenuData.h"

namespace {

constexpr int kPadTwo = 100;
constexpr int kPadThree = 101;
constexpr int kPadFour = 102;
constexpr int kPadSpare = 103;

class XGameControllerTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        InstallFieldArt();
        app->displayDevice = GetDisplayDevice();
        for (int id : {kPadTwo, kPadThree, kPadFour, kPadSpare}) {
            ControllerAdded(id);
        }
    }
    void TearDown() override {
        game.reset();
        SceneTest::TearDown();
    }

    // A battle round of four people, run to the first frame of play.
    void StartHumanRound() {
        XMenuData* settings = app->GetMenuSettings();
        settings->SetBattleMode(1);
        for (int i = 0; i < 4; ++i) {
            while (settings->GetControlType(i) != 0) {
                settings->CycleControlType(i);
            }
        }
        game = std::make_unique<XGame>(app.get());
        int frames = 0;
        while (game->GetPhase() != XGame::kPlay && frames < 5000) {
            game->UpdateFrame();
            ++frames;
        }
        ASSERT_EQ(game->GetPhase(), XGame::kPlay);
    }

    std::unique_ptr<XGame> game;
};

TEST_F(XGameControllerTest, PadsSteerPlayersTwoToFourBesideTheirKeys) {
    StartHumanRound();
    struct Case {
        const char* what;
        std::vector<int> keys;
        std::function<void(bool)> pads;  // true: push, false: let go
        std::array<int, 4> turns;        // +4 left, -4 right
    };
    const Case cases[] = {
        {"player 2's d-pad left",
         {},
         [](bool on) { ControllerButtonEvent(kPadTwo, PadButton::Left, on); },
         {0, 4, 0, 0}},
        {"players 3 and 4 right and left",
         {},
         [](bool on) {
             ControllerButtonEvent(kPadThree, PadButton::Right, on);
             ControllerButtonEvent(kPadFour, PadButton::Left, on);
         },
         {0, 0, -4, 4}},
        {"player 4's stick",
         {},
         [](bool on) { ControllerAxisEvent(kPadFour, PadAxis::LeftX, on ? -20000 : 0); },
         {0, 0, 0, 4}},
        {"pad left against key right",
         {kKeyX},
         [](bool on) { ControllerButtonEvent(kPadTwo, PadButton::Left, on); },
         {0, 0, 0, 0}},
        {"pad and key both left turn once",
         {kKeyZ},
         [](bool on) { ControllerButtonEvent(kPadTwo, PadButton::Left, on); },
         {0, 4, 0, 0}},
        {"key left beside an idle pad", {kKeyN}, [](bool) {}, {0, 0, 4, 0}},
        {"the spare pad steers nobody",
         {},
         [](bool on) { ControllerButtonEvent(kPadSpare, PadButton::Right, on); },
         {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        std::array<int, 4> before{};
        for (int p = 0; p < 4; ++p) {
            before[p] = game->GetPlayer(p)->GetDirection();
        }
        for (int key : c.keys) {
            Press(key);
        }
        c.pads(true);
        game->UpdateFrame();
        c.pads(false);
        for (int key : c.keys) {
            Release(key);
        }
        for (int p = 0; p < 4; ++p) {
            EXPECT_EQ(NormaliseDirection(game->GetPlayer(p)->GetDirection() - before[p]),
                      NormaliseDirection(c.turns[p]))
                << c.what << ", player " << p + 1;
        }
    }

    // Held, the pad turns the painter every frame, as a held key does.
    int before = game->GetPlayer(1)->GetDirection();
    ControllerButtonEvent(kPadTwo, PadButton::Right, true);
    for (int i = 0; i < 3; ++i) {
        game->UpdateFrame();
    }
    ControllerButtonEvent(kPadTwo, PadButton::Right, false);
    EXPECT_EQ(NormaliseDirection(game->GetPlayer(1)->GetDirection() - before), NormaliseDirection(-12));
}

TEST_F(XGameControllerTest, OnlyEscapeCancelsTheRound) {
    StartHumanRound();
    for (int id : {kPadTwo, kPadSpare}) {
        ControllerButtonEvent(id, PadButton::B, true);
        game->UpdateFrame();
        ControllerButtonEvent(id, PadButton::B, false);
        game->UpdateFrame();
        ControllerButtonEvent(id, PadButton::A, true);
        game->UpdateFrame();
        ControllerButtonEvent(id, PadButton::A, false);
        game->UpdateFrame();
    }
    EXPECT_FALSE(game->IsAborted());
    EXPECT_EQ(game->GetPhase(), XGame::kPlay);

    Press(kKeyEscape);
    game->UpdateFrame();
    Release(kKeyEscape);
    EXPECT_TRUE(game->IsAborted());
}

}  // namespace
