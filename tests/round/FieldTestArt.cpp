#include "round/FieldTestArt.h"

#include "gfx/Display.h"

namespace {

bool InDisc(int x, int y, int size) {
    // A disc filling the square, centred on the pixel (size / 2, size / 2).
    double r = size / 2.0;
    double dx = x + 0.5 - r;
    double dy = y + 0.5 - r;
    return dx * dx + dy * dy <= r * r;
}

void InstallDisc(uint32_t id, int size, uint8_t colour) {
    InstallBitmap(id, size, size, [=](int x, int y) { return InDisc(x, y, size) ? colour : art::kKey; });
}

// A sheet of frames, each a filled inner rectangle of base + frame on the key colour.
void InstallSheet(uint32_t id, int width, int cellHeight, int frames, uint8_t base, int inset = 1) {
    InstallBitmap(id, width, cellHeight * frames, [=](int x, int y) {
        int cy = y % cellHeight;
        bool inside = x >= inset && x < width - inset && cy >= inset && cy < cellHeight - inset;
        return inside ? static_cast<uint8_t>(base + y / cellHeight) : art::kKey;
    });
}

void InstallMask(uint32_t id, int width, int height, Rect opaque, uint8_t colour) {
    InstallBitmap(id, width, height, [=](int x, int y) {
        bool inside = x >= opaque.left && x < opaque.right && y >= opaque.top && y < opaque.bottom;
        return inside ? colour : art::kKey;
    });
}

}  // namespace

void InstallFieldArt() {
    InstallBitmap(107, 640, 448, [](int, int) { return art::kField; });
    const uint32_t bodies[4] = {109, 114, 115, 111};
    const uint32_t brushes[4] = {110, 116, 112, 113};
    for (int p = 0; p < 4; ++p) {
        InstallSheet(bodies[p], 38, 40, 4, art::kBody);
        InstallDisc(brushes[p], 32, art::kColours[p]);
        InstallDisc(246 + p, 44, art::kColours[p]);
        InstallDisc(160 + p, 220, art::kColours[p]);
        InstallSheet(126 + p, 38, 41, 1, art::kBounce);
    }
    InstallSheet(159, 38, 40, 1, art::kFrozen);
    InstallSheet(171, 38, 40, 4, art::kDrained);
    InstallSheet(121, 22, 22, 1, art::kBandage);
    InstallMask(119, 38, 40, Rect{4, 16, 34, 38}, art::kFootprint);
    InstallSheet(120, 32, 21, 1, art::kShadow);
    InstallSheet(117, 15, 15, 32, art::kArrow);
    InstallSheet(118, 15, 15, 32, art::kDimArrow);
    InstallSheet(158, 44, 44, 6, art::kItem);
    InstallMask(157, 44, 44, Rect{3, 19, 41, 42}, art::kItemFootprint);
    InstallSheet(164, 40, 26, 1, art::kItemShadow);
    InstallSheet(170, 60, 60, 13, 170);
    InstallSheet(172, 46, 46, 8, art::kBomb);
    InstallSheet(173, 20, 20, 9, 220);
    InstallSheet(250, 36, 36, 7, 230);
    InstallSheet(131, 16, 16, 2, art::kLampLit);
    InstallSheet(207, 16, 16, 2, art::kBlueLit);
    InstallSheet(202, 640, 32, 1, art::kBar, 0);
    InstallSheet(205, 120, 16, 3, 56);
    InstallSheet(206, 12, 16, 12, 60);
}

void FieldTest::SetUp() {
    HeadlessTest::SetUp();
    InstallFieldArt();
    config = std::make_unique<TempConfigDir>();
    app = std::make_unique<XAppData>();
    app->displayDevice = GetDisplayDevice();
}

void FieldTest::TearDown() {
    for (auto& player : players) {
        player.reset();
    }
    item.reset();
    effects.reset();
    canvas.reset();
    app.reset();
    config.reset();
    HeadlessTest::TearDown();
}

void FieldTest::MakeRound() {
    canvas = std::make_unique<XCanvasPlane>(app.get());
    canvas->Reset();
    effects = std::make_unique<XEffectManager>(app.get());
    item = std::make_unique<XItemChara>(app.get());
    item->SetBounds(canvas.get());
    const uint16_t bitmaps[4][5] = {{109, 110, 246, 160, 126},
                                    {114, 116, 247, 161, 127},
                                    {115, 112, 248, 162, 128},
                                    {111, 113, 249, 163, 129}};
    for (int p = 0; p < 4; ++p) {
        players[p] = std::make_unique<XPlayerChara>(app.get(), bitmaps[p][0], bitmaps[p][1], bitmaps[p][2],
                                                    bitmaps[p][3], bitmaps[p][4]);
    }
    const int directions[4] = {96, 32, 160, 224};
    for (int p = 0; p < 4; ++p) {
        XPlayerChara* others[3];
        int n = 0;
        for (int q = 0; q < 4; ++q) {
            if (q != p) {
                others[n++] = players[q].get();
            }
        }
        players[p]->SetOpponents(others[0], others[1], others[2]);
        players[p]->SetItem(item.get());
        players[p]->SetEffectManager(effects.get());
        players[p]->SetCanvas(canvas.get());
        players[p]->SetControlType(XPlayerChara::kHuman);
        players[p]->SetDirection(directions[p]);
        players[p]->SetCentre(320, 212);
        players[p]->SetSpeed(40.0f);
        players[p]->Move();
        players[p]->ResetForRound();
    }
}
