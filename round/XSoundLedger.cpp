#include "round/XSoundLedger.h"

#include <algorithm>

void XSoundLedger::SetOn(bool newOn) {
    on = newOn;
    frames = {};
    current = present = runCount = 0;
}

void XSoundLedger::BeginFrame(uint32_t frame, uint32_t newPresent) {
    current = frame;
    present = newPresent;
    runCount = 0;
    Frame& entry = frames[frame % kFrames];
    if (entry.frame != frame) {
        entry = Frame{};
        entry.frame = frame;
    }
}

bool XSoundLedger::Admit(int32_t id) {
    if (!on) {
        return true;
    }
    Frame& entry = frames[current % kFrames];
    auto occurrence = std::count(runIds.begin(), runIds.begin() + runCount, id) + 1;
    if (runCount < kSoundsPerFrame) {
        runIds[runCount++] = id;
    }
    auto kept = std::count(entry.ids.begin(), entry.ids.begin() + entry.count, id);
    if (kept >= occurrence) {
        return false;
    }
    // Decided once: a sound dropped for being late stays dropped when its frame runs yet again.
    if (entry.count < kSoundsPerFrame) {
        entry.ids[entry.count++] = id;
    }
    return current + kLateFrames >= present;
}
