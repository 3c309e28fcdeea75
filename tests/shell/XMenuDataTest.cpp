#include <gtest/gtest.h>

#include "shell/XMenuData.h"

TEST(XMenuData, DefaultsAndCycles) {
    XMenuData settings;
    EXPECT_EQ(settings.GetWinsNeeded(), 2);
    EXPECT_EQ(settings.IsSingleBattle(), 1);
    EXPECT_EQ(settings.IsBattleMode(), 1);
    EXPECT_EQ(settings.GetControlType(0), 0);
    EXPECT_EQ(settings.GetControlType(3), 1);

    int wins[4];
    for (int& w : wins) {
        settings.CycleWinsNeeded();
        w = settings.GetWinsNeeded();
    }
    EXPECT_EQ(wins[0], 3);
    EXPECT_EQ(wins[1], 1);
    EXPECT_EQ(wins[2], 2);
    EXPECT_EQ(wins[3], 3);

    int types[3];
    for (int& t : types) {
        settings.CycleControlType(0);
        t = settings.GetControlType(0);
    }
    EXPECT_EQ(types[0], 1);
    EXPECT_EQ(types[1], 2);
    EXPECT_EQ(types[2], 0);
    EXPECT_EQ(settings.GetControlType(1), 1);  // other players untouched

    settings.ToggleBattleType();
    EXPECT_EQ(settings.IsSingleBattle(), 0);
    settings.ToggleBattleType();
    EXPECT_EQ(settings.IsSingleBattle(), 1);
    settings.SetBattleMode(0);
    settings.SetDefaults();
    EXPECT_EQ(settings.IsBattleMode(), 1);
    EXPECT_EQ(settings.GetWinsNeeded(), 2);
}
