#include "audio/EffectResampler.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kOutputRate = 44100;
constexpr double kStopbandHz = 11025;
// A Kaiser window for about 75 dB; the length follows Kaiser's estimate for the transition band.
constexpr double kBeta = 7.0;
constexpr int kHalfLength = 70;

// The zeroth-order modified Bessel function, by its series.
double BesselI0(double x) {
    double sum = 1;
    double term = 1;
    for (int k = 1; k < 40; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}

}  // namespace

EffectResampler::EffectResampler() : taps(2 * kHalfLength + 1) {
    const double cutoff = (EffectResampler::kPassbandHz + kStopbandHz) / 2 / kOutputRate;
    for (int i = -kHalfLength; i <= kHalfLength; ++i) {
        const double x = 2 * kPi * cutoff * i;
        const double sinc = i == 0 ? 1 : std::sin(x) / x;
        const double ratio = static_cast<double>(i) / kHalfLength;
        const double window = BesselI0(kBeta * std::sqrt(1 - ratio * ratio)) / BesselI0(kBeta);
        // Gain 2: every other input to the filter is a zero stuffed in between the samples.
        taps[i + kHalfLength] = static_cast<float>(2 * 2 * cutoff * sinc * window);
    }
}

std::vector<int16_t> EffectResampler::ToMixer(const uint8_t* samples, size_t size) const {
    std::vector<int16_t> frames(size * 4);
    const long count = static_cast<long>(size);
    for (long out = 0; out < 2 * count; ++out) {
        // Only the taps that meet a real sample: those of the output's parity.
        float sum = 0;
        for (int tap = (out + kHalfLength) % 2; tap <= 2 * kHalfLength; tap += 2) {
            const long in = (out + kHalfLength - tap) / 2;
            if (in >= 0 && in < count) {
                sum += taps[tap] * static_cast<float>(samples[in] - 128);
            }
        }
        const auto value = static_cast<int16_t>(std::clamp(std::lrint(sum * 256), -32768L, 32767L));
        frames[2 * out] = frames[2 * out + 1] = value;
    }
    return frames;
}
