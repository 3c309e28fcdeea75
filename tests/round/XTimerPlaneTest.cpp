#include <string>

#include "round/RoundTest.h"

namespace {

class XTimerPlaneTest : public RoundTest {};

TEST_F(XTimerPlaneTest, TheBarShowsTheModeTheRoundAndALampForEachHundredAndTenTicksLeft) {
    // Yellow lamps 50 lit and 51 dark, blue ones 52 and 53, the bar 54, mode labels 56 + cell, digits 60 +
    // digit.
    const int art[][5] = {{131, 16, 16, 2, 50},
                          {207, 16, 16, 2, 52},
                          {202, 640, 32, 1, 54},
                          {205, 128, 18, 3, 56},
                          {206, 12, 18, 12, 60}};
    for (const auto& a : art) InstallBlocks(a[0], a[1], a[2], a[3], a[4]);
    // The lamps ('o' lit, '.' dark, capitals blue) at the start, after 220 ticks and at the end; the ticks
    // after which an item comes with their count, and the last tick.
    const std::tuple<bool, bool, int, std::string, std::vector<int>> cases[] = {
        {true,
         true,
         56,
         "oooooOooooOooooOoooo oooooOooooOooooOoo.. .....:....:....:....",
         {550, 1, 1100, 2, 1650, 3, 2200, 4}},
        {true,
         false,
         57,
         "oooooOooooOooooOoooo oooooOooooOooooOoo.. .....:....:....:....",
         {550, 1, 1100, 2, 1650, 3, 2200, 4}},
        {false,
         true,
         58,
         "oooooOooooOoooo:.... oooooOooooOoo..:.... .....:....:....:....",
         {550, 1, 1100, 2, 1650, 3}}};
    for (const auto& [battle, single, label, lamps, due] : cases) {
        Start(battle, single, 2, {2, 2, 2, 2});
        XTimerPlane* timer = game->GetTimer();
        auto drawn = [&]() {
            std::string shown = " ";
            timer->Draw(Back());
            for (int i = 0; i < 20; ++i) shown += "o.O:"[Back()->GetPixel(160 + 17 * i, 465) - 50];
            return shown;
        };
        std::string seen = drawn();
        std::vector<int> items;
        for (int tick = 1; timer->GetRemaining() > 0; ++tick) {
            timer->Tick();
            if (timer->IsItemDue()) {
                items.insert(items.end(), {tick, timer->GetItemTimes()});
            }
            if (tick == 220) {
                seen += drawn();
            }
        }
        timer->Tick();  // time stays up
        EXPECT_EQ(std::tuple(seen + drawn(), items, timer->GetRemaining(), timer->IsItemDue()),
                  std::tuple(" " + lamps, due, 0u, false));
        timer->SetRoundNumber(7);
        Back()->ColourFill(nullptr, 0);
        timer->Draw(Back());
        EXPECT_EQ(Back()->GetPixel(0, 448), 255) << "the bar is drawn opaque";
        for (auto [x, colour] : {std::pair{0, 54}, {507, label}, {67, 60}, {79, 67}}) {
            ExpectCorner(x, x ? 456 : 448, colour, "bar");
        }
    }
    game->GetTimer()->SetRoundNumber(123);
    game->GetTimer()->Draw(Back());
    ExpectCorner(67, 456, 62, "2 of 123");
    ExpectCorner(79, 456, 63, "3 of 123");
}

}  // namespace
