#pragma once

#include <array>
#include <cstdint>

// Which sounds of an online match's recent frames were heard. A correction runs frames again: a sound heard
// in a frame is not heard again when that frame runs again, and a sound only the corrected frames have is
// heard late while its frame is at most kLateFrames old (80 ms, still felt as one with its cause), else
// never: a bang long after what caused it reads as a different event.
class XSoundLedger {
public:
    static constexpr uint32_t kFrames = 32;
    static constexpr uint32_t kSoundsPerFrame = 12;
    static constexpr uint32_t kLateFrames = 2;

    // Off, every sound is heard as it comes, as offline.
    void SetOn(bool on);
    // Before a frame runs: the newest frame (present), or an older one again.
    void BeginFrame(uint32_t frame, uint32_t present);
    // Whether a sound of the frame that runs is heard now.
    bool Admit(int32_t id);

private:
    struct Frame {
        uint32_t frame = 0;
        uint32_t count = 0;
        std::array<int32_t, kSoundsPerFrame> ids{};
    };

    bool on = false;
    uint32_t current = 0;
    uint32_t present = 0;
    std::array<Frame, kFrames> frames{};
    // The sounds of this run of the current frame, to tell a second bang from the first heard again.
    uint32_t runCount = 0;
    std::array<int32_t, kSoundsPerFrame> runIds{};
};
