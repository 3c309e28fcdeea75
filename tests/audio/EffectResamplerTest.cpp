#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "audio/EffectResampler.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The level (dB against full scale) of one frequency in a stretch of the left channel, Hann windowed.
double LevelAt(const std::vector<int16_t>& frames, long from, long count, double hz) {
    double re = 0, im = 0;
    for (long i = 0; i < count; ++i) {
        const double w = (1 - std::cos(2 * kPi * i / count)) / count;
        const double phase = 2 * kPi * hz * i / 44100;
        re += w * frames[2 * (from + i)] * std::cos(phase);
        im += w * frames[2 * (from + i)] * std::sin(phase);
    }
    return 20 * std::log10(2 * std::hypot(re, im) / 32768);
}

TEST(EffectResampler, ATonePassesAtItsLevelAndItsMirrorAbove11kHzIsFarDown) {
    const EffectResampler resampler;
    const struct {
        double hz;
        double passLoss;  // at most, dB
    } cases[] = {{200, 0.1}, {1000, 0.1}, {4000, 0.1}, {8000, 0.2}, {9300, 0.5}};
    for (const auto& c : cases) {
        std::vector<uint8_t> tone(11025);
        for (size_t i = 0; i < tone.size(); ++i)
            tone[i] = static_cast<uint8_t>(std::lrint(128 + 100 * std::sin(2 * kPi * c.hz * i / 22050)));
        const std::vector<int16_t> out = resampler.ToMixer(tone.data(), tone.size());
        ASSERT_EQ(out.size(), tone.size() * 4);
        const double level = LevelAt(out, 4000, 8192, c.hz);
        EXPECT_NEAR(level, 20 * std::log10(100.0 / 128), c.passLoss) << c.hz;
        EXPECT_LT(LevelAt(out, 4000, 8192, 22050 - c.hz), level - 60) << c.hz << " Hz mirrored";
        for (size_t i = 0; i < out.size(); i += 2) ASSERT_EQ(out[i], out[i + 1]) << "mono to both sides";
    }
}

TEST(EffectResampler, EachSampleLandsOnEveryOtherFrameWithoutDelayAndSilenceStaysSilent) {
    const EffectResampler resampler;
    // A slow wave passes unchanged: the even frames are the samples themselves, the odd ones between.
    std::vector<uint8_t> ramp(400);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>(std::lrint(128 + 100 * std::sin(i / 50.0)));
    const std::vector<int16_t> out = resampler.ToMixer(ramp.data(), ramp.size());
    for (size_t i = 100; i < 300; ++i) {
        EXPECT_NEAR(out[4 * i], (ramp[i] - 128) * 256, 128) << i;
        EXPECT_NEAR(out[4 * i + 2], (ramp[i] + ramp[i + 1] - 256) * 128, 128) << i;  // within half a step
    }
    const std::vector<uint8_t> quiet(300, 128);
    for (int16_t s : resampler.ToMixer(quiet.data(), quiet.size())) ASSERT_EQ(s, 0);
}

}  // namespace
