// The RIFF chunk walk of the sound effects.
#include <cstddef>
#include <cstdint>

#include "audio/ZSound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t* samples = nullptr;
    uint32_t length = 0;
    if (ZSound::FindWaveData(data, size, &samples, &length) && length > 0) {
        // Every sample the walk hands out must lie inside the image.
        volatile uint8_t first = samples[0];
        volatile uint8_t last = samples[length - 1];
        (void)first;
        (void)last;
    }
    return 0;
}
