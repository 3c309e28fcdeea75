#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Doubles the rate of the sound effects (8-bit unsigned mono at 22,050 Hz) to the mixer's 16-bit stereo
// at 44,100 Hz with a low-pass interpolation filter, so that no mirror image of a sound sounds above
// 11 kHz (writing each sample twice leaves images 9 to 31 dB down).
class EffectResampler {
public:
    EffectResampler();

    // Interleaved left and right, two frames for each sample in; the same delay-free timing.
    std::vector<int16_t> ToMixer(const uint8_t* samples, size_t size) const;

    // The filter keeps what lies below this and takes the images from 11,025 Hz on more than 70 dB down.
    static constexpr double kPassbandHz = 9500;

private:
    std::vector<float> taps;  // at the doubled rate; odd length, symmetric
};
