#pragma once

#include <cstdint>

// The match settings every screen shares: wins needed, single or team battle, battle or ranking,
// and each player's control type (0 human, 1 computer, 2 none).
class XMenuData {
public:
    XMenuData();
    virtual ~XMenuData();

    void SetDefaults();
    int32_t GetWinsNeeded() const { return winsNeeded; }
    int32_t IsSingleBattle() const { return singleBattle; }
    int32_t IsBattleMode() const { return battleMode; }
    int32_t GetControlType(int player) const { return controlType[player]; }

    void SetBattleMode(int32_t value) { battleMode = value; }
    void SetWinsNeeded(int32_t value) { winsNeeded = value; }
    void SetSingleBattle(int32_t value) { singleBattle = value; }
    void SetControlType(int player, int32_t value) { controlType[player] = value; }
    void CycleWinsNeeded();
    void ToggleBattleType();
    void CycleControlType(int player);

private:
    int32_t winsNeeded = 2;
    int32_t singleBattle = 1;
    int32_t battleMode = 1;
    int32_t controlType[4] = {0, 1, 1, 1};
};
