#pragma once

#include <array>
#include <memory>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "gfx/Maths.h"
#include "input/Input.h"
#include "round/XCanvasPlane.h"
#include "round/XEffectManager.h"
#include "round/XGame.h"
#include "round/XItemChara.h"
#include "round/XPlayerChara.h"
#include "round/XResultBoard.h"
#include "round/XTimerPlane.h"
#include "shell/XMenuData.h"
#include "support/TestSupport.h"

using Four = std::array<int, 4>;

// Test pictures {bitmap, width, frame height, frames, colour}: frame f a block of colour + f * step inside a
// one-pixel rim of index 255, the colour key. Test colours stay clear of the field's.
inline void InstallBlocks(const std::vector<std::array<int, 5>>& pictures, int step = 1) {
    for (auto [id, width, height, frames, colour] : pictures) {
        InstallBitmap(id, width, height * frames, [=](int x, int y) {
            bool inside = x > 0 && x < width - 1 && y % height > 0 && y % height < height - 1;
            return static_cast<uint8_t>(inside ? colour + y / height * step : 255);
        });
    }
}

// A match set up the way the menu leaves it, its first round started by the game's own first frame.
class RoundTest : public GameTest {
protected:
    void TearDown() override { game.reset(); GameTest::TearDown(); }
    void Start(bool battle, bool single, int winsNeeded, Four controls) {
        XMenuData* settings = app->GetMenuSettings();
        settings->SetBattleMode(battle);
        while (settings->IsSingleBattle() != single) settings->ToggleBattleType();
        while (settings->GetWinsNeeded() != winsNeeded) settings->CycleWinsNeeded();
        for (int i = 0; i < 4; ++i)
            while (settings->GetControlType(i) != controls[i]) settings->CycleControlType(i);
        game = std::make_unique<XGame>(app.get());
        game->UpdateFrame();
    }
    // Runs frames until the given phase and counter come up next.
    void RunUntil(uint32_t phase, uint32_t counter = 0) {
        for (int n = 0; n < 20000 && (game->GetPhase() != phase || game->GetPhaseCounter() != counter); ++n)
            game->UpdateFrame();
        ASSERT_EQ(std::tuple(game->GetPhase(), game->GetPhaseCounter()), std::tuple(phase, counter));
    }
    // Stands a painter still with its body's top-left corner at (x, y), its footprint with it.
    static void Stand(XPlayerChara* painter, int x, int y) {
        painter->SetSpeed(0.0f);
        painter->SetPosition(x, y);
        painter->Move();
    }
    // Block pictures {x, y, colour} drawn with their top-left corner at (x, y) (given a width, their
    // top-right corner at x + width): each one's colour just inside that corner and not just outside.
    static void ExpectCorners(const std::vector<std::array<int, 3>>& all, const char* what, int width = 0) {
        for (auto [x, y, colour] : all) {
            int in = width ? x + width - 2 : x + 1, out = width ? x + width - 1 : x;
            EXPECT_EQ(std::tuple(Back()->GetPixel(in, y + 1), Back()->GetPixel(out, y + 1) == colour,
                                 Back()->GetPixel(in, y) == colour),
                      std::tuple(colour, false, false)) << what << " at " << x << "," << y;
        }
    }
    // Sound effects started since the last call. The round never loops one.
    std::vector<int32_t> Heard() {
        for (const auto& channel : machine.audio->channels) EXPECT_FALSE(channel.loop) << channel.waveId;
        return std::exchange(machine.audio->played, {});
    }
    // One value of each painter.
    template <typename Value, typename Of>
    Four Each(Value (Of::*get)() const) const {
        return {int((P(0)->*get)()), int((P(1)->*get)()), int((P(2)->*get)()), int((P(3)->*get)())};
    }
    XPlayerChara* P(int i) const { return game->GetPlayer(i); }
    Surface* Field() const { return game->GetCanvas()->GetFieldSurface(); }
    int Painted(uint8_t colour, Rect area = {0, 0, 640, 448}) const {
        return CountPixels(*Field(), area, colour);
    }

    std::unique_ptr<XGame> game;
};
