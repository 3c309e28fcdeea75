#pragma once

#include <array>
#include <cstdint>
#include <functional>
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

// A picture of frames stacked like a sheet: each frame a block of colour base + frame * step inside a
// one-pixel rim of index 255, which becomes the colour key. Test colours stay clear of the field's.
inline void InstallBlocks(uint32_t id, int width, int cellHeight, int frames, int base, int step = 1) {
    InstallBitmap(id, width, cellHeight * frames, [=](int x, int y) {
        bool inside = x > 0 && x < width - 1 && y % cellHeight > 0 && y % cellHeight < cellHeight - 1;
        return static_cast<uint8_t>(inside ? base + y / cellHeight * step : 255);
    });
}

// A match set up the way the menu leaves it, its first round started by the game's own first frame.
class RoundTest : public GameTest {
protected:
    static constexpr Four kColours = {192, 23, 203, 65};

    void TearDown() override {
        game.reset();
        GameTest::TearDown();
    }
    void Start(bool battle, bool single, int winsNeeded, Four controls) {
        XMenuData* settings = app->GetMenuSettings();
        settings->SetBattleMode(battle);
        if (settings->IsSingleBattle() != single) {
            settings->ToggleBattleType();
        }
        while (settings->GetWinsNeeded() != winsNeeded) settings->CycleWinsNeeded();
        for (int i = 0; i < 4; ++i) {
            while (settings->GetControlType(i) != controls[i]) settings->CycleControlType(i);
        }
        game = std::make_unique<XGame>(app.get());
        game->UpdateFrame();
    }
    // Runs frames until the given phase and counter come up next.
    void RunUntil(uint32_t phase, uint32_t counter = 0) {
        for (int frames = 0; game->GetPhase() != phase || game->GetPhaseCounter() != counter; ++frames) {
            ASSERT_LT(frames, 20000) << "phase " << phase << " never came";
            game->UpdateFrame();
        }
    }
    // Stands a painter still with its body's top-left corner at (x, y), its footprint with it.
    static void Stand(XPlayerChara* painter, int x, int y) {
        painter->SetSpeed(0.0f);
        painter->SetPosition(x, y);
        painter->Move();
    }
    // A block picture drawn with its top-left corner at (x, y): its colour just inside its top-left corner
    // (or, given its width, its top-right corner) and not just outside.
    static void ExpectCorner(int x, int y, int colour, const char* what, int width = 0) {
        int inside = width > 0 ? x + width - 2 : x + 1;
        int outside = width > 0 ? x + width - 1 : x;
        EXPECT_EQ(
            std::tuple(Back()->GetPixel(inside, y + 1) == colour, Back()->GetPixel(outside, y + 1) == colour,
                       Back()->GetPixel(inside, y) == colour),
            std::tuple(true, false, false))
            << what << " at " << x << "," << y;
    }
    // Sound effects started since the last call. The round never loops one.
    std::vector<int32_t> Heard() {
        for (const auto& channel : machine.audio->channels) EXPECT_FALSE(channel.loop) << channel.waveId;
        return std::exchange(machine.audio->played, {});
    }
    // One value of each painter.
    template <typename Get>
    Four Each(Get get) const {
        return {int(std::invoke(get, P(0))), int(std::invoke(get, P(1))), int(std::invoke(get, P(2))),
                int(std::invoke(get, P(3)))};
    }
    XPlayerChara* P(int i) const { return game->GetPlayer(i); }
    Surface* Field() const { return game->GetCanvas()->GetFieldSurface(); }
    int Painted(int i) const { return CountPixels(*Field(), Rect{0, 0, 640, 448}, kColours[i]); }

    std::unique_ptr<XGame> game;
};
