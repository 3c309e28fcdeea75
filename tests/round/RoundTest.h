#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "round/XCanvasPlane.h"
#include "round/XEffectManager.h"
#include "round/XGame.h"
#include "round/XItemChara.h"
#include "round/XPlayerChara.h"
#include "shell/XMenuData.h"
#include "support/TestSupport.h"

// A picture of frames stacked like a sheet: each frame a block of colour base + frame * step inside a
// one-pixel rim of index 255, which becomes the colour key. Test colours stay clear of the field's.
inline void InstallBlocks(uint32_t id, int width, int cellHeight, int frames, int base, int step = 1) {
    InstallBitmap(id, width, cellHeight * frames, [=](int x, int y) {
        int cy = y % cellHeight;
        bool inside = x > 0 && x < width - 1 && cy > 0 && cy < cellHeight - 1;
        return static_cast<uint8_t>(inside ? base + y / cellHeight * step : 255);
    });
}

// A match set up the way the menu leaves it, its first round started by the game's own first frame.
class RoundTest : public GameTest {
protected:
    static constexpr std::array<uint8_t, 4> kColours = {192, 23, 203, 65};

    void TearDown() override {
        game.reset();
        GameTest::TearDown();
    }
    void Start(bool battle, bool single, int winsNeeded, std::array<int, 4> controls) {
        XMenuData* settings = app->GetMenuSettings();
        settings->SetBattleMode(battle ? 1 : 0);
        if ((settings->IsSingleBattle() != 0) != single) {
            settings->ToggleBattleType();
        }
        while (settings->GetWinsNeeded() != winsNeeded) {
            settings->CycleWinsNeeded();
        }
        for (int i = 0; i < 4; ++i) {
            while (settings->GetControlType(i) != controls[i]) {
                settings->CycleControlType(i);
            }
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
        EXPECT_EQ(Back()->GetPixel(inside, y + 1), colour) << what << " at " << x << "," << y;
        EXPECT_NE(Back()->GetPixel(outside, y + 1), colour) << what << " at " << x << "," << y;
        EXPECT_NE(Back()->GetPixel(inside, y), colour) << what << " at " << x << "," << y;
    }
    // Sound effects started since the last call.
    std::vector<int32_t> Heard() {
        std::vector<int32_t> heard = machine.audio->played;
        machine.audio->played.clear();
        return heard;
    }
    XPlayerChara* P(int i) const { return game->GetPlayer(i); }
    Surface* Field() const { return game->GetCanvas()->GetFieldSurface(); }
    int Painted(int i) const { return CountPixels(*Field(), Rect{0, 0, 640, 448}, kColours[i]); }

    std::unique_ptr<XGame> game;
};
