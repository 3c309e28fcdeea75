#pragma once

#include <array>
#include <cstdint>

#include "base/ZStateStream.h"
#include "shell/XMatchLink.h"

class XGame;

// Snapshots of an online round before each of its latest frames, so that frames run on a wrong guess
// can run again from the state before the first of them. The buffers are kept from frame to frame.
class XRollback {
public:
    static constexpr uint32_t kFrames = XMatchLink::kGuessFrames + 1;

    // The state before the frame runs; with its checksum when the computers compare it.
    void Save(uint32_t frame, const XGame& game, bool withSum);
    // False when the frame's snapshot is no longer kept.
    bool Restore(uint32_t frame, XGame* game);
    // The checksum saved with the frame's snapshot, if it still is.
    bool GetSum(uint32_t frame, uint64_t* sum) const;

private:
    struct Slot {
        uint32_t frame = 0;
        bool hasSum = false;
        uint64_t sum = 0;
        ZStateStream state;
    };
    std::array<Slot, kFrames> slots;
};
