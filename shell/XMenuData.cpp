#include "shell/XMenuData.h"

XMenuData::XMenuData() { SetDefaults(); }

XMenuData::~XMenuData() = default;

void XMenuData::SetDefaults() {
    winsNeeded = 2;
    singleBattle = 1;
    battleMode = 1;
    controlType[0] = 0;
    controlType[1] = 1;
    controlType[2] = 1;
    controlType[3] = 1;
}

void XMenuData::CycleWinsNeeded() {
    ++winsNeeded;
    if (winsNeeded > 3) {
        winsNeeded = 1;
    }
}

void XMenuData::ToggleBattleType() { singleBattle = !singleBattle; }

void XMenuData::CycleControlType(int player) {
    int32_t& type = controlType[player];
    type = type == 0 ? 1 : type == 1 ? 2 : 0;
}
