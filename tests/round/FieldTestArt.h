#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "round/XCanvasPlane.h"
#include "round/XEffectManager.h"
#include "round/XItemChara.h"
#include "round/XPlayerChara.h"
#include "shell/XAppData.h"
#include "support/TestSupport.h"

// Palette indices of the test pictures, chosen so that every drawn picture is told apart by its pixels.
namespace art {
constexpr uint8_t kKey = 255;
constexpr uint8_t kField = 7;
constexpr uint8_t kFootprint = 1;
constexpr uint8_t kShadow = 2;
constexpr uint8_t kItemFootprint = 3;
constexpr uint8_t kItemShadow = 4;
constexpr uint8_t kBody = 120;  // + frame
constexpr uint8_t kBounce = 130;
constexpr uint8_t kFrozen = 131;
constexpr uint8_t kDrained = 132;  // + frame
constexpr uint8_t kBandage = 136;
constexpr uint8_t kItem = 140;     // + kind - 1
constexpr uint8_t kArrow = 40;     // + frame
constexpr uint8_t kDimArrow = 80;  // + frame
constexpr uint8_t kBomb = 210;     // + frame
constexpr uint8_t kLampLit = 50;
constexpr uint8_t kLampDark = 51;
constexpr uint8_t kBlueLit = 52;
constexpr uint8_t kBlueDark = 53;
constexpr uint8_t kBar = 54;
constexpr std::array<uint8_t, 4> kColours = {192, 23, 203, 65};
}  // namespace art

// Installs test pictures for every bitmap the field classes load.
void InstallFieldArt();

// A headless display, a configuration directory and an application object with the test art in place.
class FieldTest : public HeadlessTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The four painters wired as the round wires them, on a fresh canvas, in a battle layout.
    void MakeRound();
    XPlayerChara* Player(int i) { return players[i].get(); }

    std::unique_ptr<TempConfigDir> config;
    std::unique_ptr<XAppData> app;
    std::unique_ptr<XCanvasPlane> canvas;
    std::unique_ptr<XEffectManager> effects;
    std::unique_ptr<XItemChara> item;
    std::array<std::unique_ptr<XPlayerChara>, 4> players;
};
