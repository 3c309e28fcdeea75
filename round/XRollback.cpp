#include "round/XRollback.h"

#include "base/ZChecksum.h"
#include "round/XGame.h"

void XRollback::Save(uint32_t frame, const XGame& game, bool withSum) {
    Slot& slot = slots[frame % kFrames];
    slot.frame = frame;
    slot.state.StartWriting();
    game.SaveState(&slot.state);
    slot.hasSum = withSum;
    if (withSum) {
        ZChecksum checksum;
        game.AddStateTo(&checksum);
        slot.sum = checksum.Get();
    }
}

bool XRollback::Restore(uint32_t frame, XGame* game) {
    Slot& slot = slots[frame % kFrames];
    if (slot.frame != frame || frame == 0) {
        return false;
    }
    slot.state.StartReading();
    game->LoadState(&slot.state);
    return true;
}

bool XRollback::GetSum(uint32_t frame, uint64_t* sum) const {
    const Slot& slot = slots[frame % kFrames];
    if (slot.frame != frame || !slot.hasSum || frame == 0) {
        return false;
    }
    *sum = slot.sum;
    return true;
}
