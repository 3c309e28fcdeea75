#include "round/RoundTest.h"
#include "round/XTimerPlane.h"

namespace {

// Yellow lamps 50 lit and 51 dark, blue ones 52 and 53, the bar 54, mode labels 56 + cell, digits 60 + digit.
class XTimerPlaneTest : public RoundTest {
protected:
    void Make(bool battle, bool single) {
        InstallBlocks(131, 16, 16, 2, 50);
        InstallBlocks(207, 16, 16, 2, 52);
        InstallBlocks(202, 640, 32, 1, 54);
        InstallBlocks(205, 128, 18, 3, 56);
        InstallBlocks(206, 12, 18, 12, 60);
        app->GetMenuSettings()->SetBattleMode(battle);
        if (!single) {
            app->GetMenuSettings()->ToggleBattleType();
        }
        timer = std::make_unique<XTimerPlane>(app.get());
        timer->Reset();
    }
    void TearDown() override {
        timer.reset();
        RoundTest::TearDown();
    }
    // The lamps from the drawn bar: 'o' lit yellow, 'O' lit blue, '.' and ':' dark.
    std::string Lamps() {
        timer->Draw(Back());
        std::string lamps;
        for (int i = 0; i < 20; ++i) {
            lamps += "o.O:"[Back()->GetPixel(152 + 17 * i + 8, 457 + 8) - 50];
        }
        return lamps;
    }
    // Ticks to the end; the ticks (from 1) after which an item comes, as play stops at the last.
    std::vector<int> RunToEnd() {
        std::vector<int> due;
        bool before = false;
        int tick = 0;
        for (; timer->GetRemaining() > 0 && tick < 5000; ++tick) {
            timer->Tick();
            EXPECT_FALSE(before && timer->IsItemDue()) << "due twice in a row at " << tick + 1;
            before = timer->IsItemDue();
            if (before && timer->GetRemaining() > 0) {
                due.push_back(tick + 1);
                EXPECT_EQ(timer->GetItemTimes(), static_cast<int>(due.size()));
            }
        }
        due.push_back(tick);
        return due;
    }
    std::unique_ptr<XTimerPlane> timer;
};

TEST_F(XTimerPlaneTest, ABattleRoundRunsTwentySegmentsWithAnItemEveryFifth) {
    Make(true, true);
    EXPECT_EQ(Lamps(), "oooooOooooOooooOoooo");
    EXPECT_EQ(RunToEnd(), (std::vector<int>{550, 1100, 1650, 2200}));
    EXPECT_EQ(timer->GetItemTimes(), 4) << "the last falls on the final tick";
    EXPECT_EQ(Lamps(), ".....:....:....:....");
    timer->Tick();
    EXPECT_EQ(timer->GetRemaining(), 0u);
    EXPECT_FALSE(timer->IsItemDue());
    timer->Reset();
    EXPECT_EQ(timer->GetItemTimes(), 0);
    EXPECT_EQ(timer->GetRemaining(), 2200u);
    // One lamp goes dark from the right every 110 ticks.
    for (int tick = 0; tick < 109; ++tick) {
        timer->Tick();
    }
    EXPECT_EQ(Lamps(), "oooooOooooOooooOoooo");
    for (int tick = 0; tick < 111; ++tick) {
        timer->Tick();
    }
    EXPECT_EQ(Lamps(), "oooooOooooOooooOoo..");
}

TEST_F(XTimerPlaneTest, ARankingRoundIsTheLastFifteenSegmentsWithTwoItems) {
    Make(false, true);
    EXPECT_EQ(Lamps(), "oooooOooooOoooo:....");
    EXPECT_EQ(RunToEnd(), (std::vector<int>{550, 1100, 1650}));
}

TEST_F(XTimerPlaneTest, TheBarShowsTheModeAndTheRoundNumberInTwoDigits) {
    const std::tuple<bool, bool, int> modes[] = {{true, true, 56}, {true, false, 57}, {false, true, 58}};
    for (auto [battle, single, label] : modes) {
        Make(battle, single);
        timer->SetRoundNumber(7);
        Back()->ColourFill(nullptr, 0);
        timer->Draw(Back());
        EXPECT_EQ(Back()->GetPixel(0, 448), 255) << "the bar is drawn opaque";
        ExpectCorner(0, 448, 54, "bar");
        ExpectCorner(507, 456, label, "mode");
        ExpectCorner(67, 456, 60, "0");
        ExpectCorner(79, 456, 67, "7");
        if (!single) {
            app->GetMenuSettings()->ToggleBattleType();
        }
    }
    timer->SetRoundNumber(123);
    timer->Draw(Back());
    ExpectCorner(67, 456, 62, "2");
    ExpectCorner(79, 456, 63, "3");
}

}  // namespace
