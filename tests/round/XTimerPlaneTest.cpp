#include <vector>

#include "round/FieldTestArt.h"
#include "round/XTimerPlane.h"
#include "shell/XMenuData.h"

namespace {

class XTimerPlaneTest : public FieldTest {
protected:
    // Ticks until the time is up and returns the ticks (counted from 1) at which an item came due.
    std::vector<uint32_t> RunToEnd(XTimerPlane& timer, uint32_t* ticks) {
        std::vector<uint32_t> due;
        bool previousDue = false;
        *ticks = 0;
        while (timer.GetRemaining() > 0 && *ticks < 10000) {
            timer.Tick();
            ++*ticks;
            EXPECT_FALSE(previousDue && timer.IsItemDue()) << "due twice in a row at tick " << *ticks;
            previousDue = timer.IsItemDue();
            // The round stops in the tick that reaches zero, so a signal then brings no item.
            if (timer.IsItemDue() && timer.GetRemaining() > 0) {
                due.push_back(*ticks);
                EXPECT_EQ(timer.GetItemTimes(), static_cast<int32_t>(due.size()));
            }
        }
        return due;
    }

    // Which of the 20 lamps are lit, from the drawn bar.
    std::vector<bool> LitLamps(XTimerPlane& timer) {
        Back()->ColourFill(nullptr, 0);
        timer.Draw(Back());
        std::vector<bool> lit;
        for (int i = 0; i < 20; ++i) {
            uint8_t pixel = Back()->GetPixel(152 + 17 * i + 8, 457 + 8);
            bool blue = i == 5 || i == 10 || i == 15;
            EXPECT_TRUE(pixel == (blue ? art::kBlueLit : art::kLampLit) ||
                        pixel == (blue ? art::kBlueDark : art::kLampDark))
                << "lamp " << i << " shows " << int(pixel);
            lit.push_back(pixel == art::kLampLit || pixel == art::kBlueLit);
        }
        return lit;
    }
};

TEST_F(XTimerPlaneTest, BattleRoundLastsTwoThousandTwoHundredTicksWithThreeItems) {
    XTimerPlane timer(app.get());
    EXPECT_EQ(timer.GetModeCell(), 0);
    timer.Reset();
    EXPECT_EQ(timer.GetRemaining(), 2200u);
    EXPECT_EQ(LitLamps(timer), std::vector<bool>(20, true));
    uint32_t ticks = 0;
    EXPECT_EQ(RunToEnd(timer, &ticks), (std::vector<uint32_t>{550, 1100, 1650}));
    EXPECT_EQ(ticks, 2200u);
    EXPECT_EQ(timer.GetItemTimes(), 4) << "the last signal falls on the final tick";
    EXPECT_EQ(LitLamps(timer), std::vector<bool>(20, false));

    // Time stays up and no new signal comes.
    timer.Tick();
    EXPECT_EQ(timer.GetRemaining(), 0u);
    EXPECT_EQ(timer.GetElapsedSegments(), 20);
    EXPECT_FALSE(timer.IsItemDue());
    EXPECT_EQ(timer.GetItemTimes(), 4);

    // A new round starts afresh.
    timer.Reset();
    EXPECT_EQ(timer.GetItemTimes(), 0);
    EXPECT_FALSE(timer.IsItemDue());
    EXPECT_EQ(timer.GetRemaining(), 2200u);
}

TEST_F(XTimerPlaneTest, LampsGoDarkFromTheRightOnePerSegment) {
    XTimerPlane timer(app.get());
    timer.Reset();
    for (int i = 0; i < 109; ++i) {
        timer.Tick();
    }
    EXPECT_EQ(LitLamps(timer), std::vector<bool>(20, true));
    timer.Tick();
    std::vector<bool> expected(20, true);
    expected[19] = false;
    EXPECT_EQ(LitLamps(timer), expected);
    for (int i = 0; i < 5 * 110; ++i) {
        timer.Tick();
    }
    for (int i = 14; i < 20; ++i) {
        expected[i] = false;
    }
    EXPECT_EQ(LitLamps(timer), expected);
}

TEST_F(XTimerPlaneTest, RankingRoundIsFifteenSegmentsWithTwoItems) {
    app->GetMenuSettings()->SetBattleMode(0);
    XTimerPlane timer(app.get());
    EXPECT_EQ(timer.GetModeCell(), 2);
    timer.Reset();
    EXPECT_EQ(timer.GetRemaining(), 1650u);
    std::vector<bool> expected(20, true);
    for (int i = 15; i < 20; ++i) {
        expected[i] = false;
    }
    EXPECT_EQ(LitLamps(timer), expected);
    uint32_t ticks = 0;
    EXPECT_EQ(RunToEnd(timer, &ticks), (std::vector<uint32_t>{550, 1100}));
    EXPECT_EQ(ticks, 1650u);
}

TEST_F(XTimerPlaneTest, BarShowsModeLabelAndRoundNumber) {
    app->GetMenuSettings()->ToggleBattleType();
    XTimerPlane timer(app.get());
    EXPECT_EQ(timer.GetModeCell(), 1);
    timer.Reset();
    timer.SetRoundNumber(7);
    Back()->ColourFill(nullptr, 0);
    timer.Draw(Back());
    EXPECT_EQ(Back()->GetPixel(0, 448), art::kBar);
    EXPECT_EQ(Back()->GetPixel(507 + 5, 456 + 5), 56 + 1);
    // Two zero-filled cells from x 67: digits 0 and 7.
    EXPECT_EQ(Back()->GetPixel(67 + 5, 456 + 5), 60 + 0);
    EXPECT_EQ(Back()->GetPixel(67 + 12 + 5, 456 + 5), 60 + 7);
    timer.SetRoundNumber(123);
    timer.Draw(Back());
    EXPECT_EQ(Back()->GetPixel(67 + 5, 456 + 5), 60 + 2);
    EXPECT_EQ(Back()->GetPixel(67 + 12 + 5, 456 + 5), 60 + 3);
    EXPECT_EQ(Back()->GetPixel(67 + 24 + 5, 456 + 5), art::kBar);
}

}  // namespace
