#include "platform/PlatformAudioDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>

#include "audio/EffectResampler.h"
#include "platform/PlatformAudioMixer.h"

namespace {

constexpr int kSampleRate = 22050;
// Near full-scale effects must not clip when a few of them and the music sound together.
constexpr int kEffectVolume = MIX_MAX_VOLUME / 2;
constexpr long kSpeechLeadSamples = static_cast<long>(PlatformAudioDevice::kSpeechLeadSeconds * kMixerRate) * kMixerChannels;
// Mixer channels are never shared, also between two devices that overlap (tests make several).
int nextMixerChannel = 0;

}  // namespace

std::unique_ptr<AudioDevice> PlatformAudioDevice::Open() {
    if (!AcquireMixer()) {
        return nullptr;
    }
    return std::unique_ptr<AudioDevice>(new PlatformAudioDevice());
}

PlatformAudioDevice::PlatformAudioDevice() : volume(kEffectVolume) {}

PlatformAudioDevice::~PlatformAudioDevice() {
    for (size_t i = 0; i < channels.size(); ++i) {
        DestroyChannel(static_cast<int>(i));
    }
    ReleaseMixer();
}

int PlatformAudioDevice::CreateChannel(const uint8_t* samples, size_t size) {
    if (!samples || size == 0 || size > static_cast<size_t>(INT32_MAX / 16)) {
        return -1;
    }
    static_assert(kMixerRate == 2 * kSampleRate && kMixerChannels == 2, "each sample becomes two frames");
    // The copies of one sound come one after another: converted once.
    Channel channel;
    if (!channels.empty() && channels.back().chunk && lastSource == std::vector<uint8_t>(samples, samples + size)) {
        const Channel& last = channels.back();
        channel.converted.assign(last.converted.begin() + (last.leads ? kSpeechLeadSamples : 0), last.converted.end());
    } else {
        static const EffectResampler resampler;
        channel.converted = resampler.ToMixer(samples, size);
        lastSource.assign(samples, samples + size);
    }
    int16_t* frames = channel.converted.data();
    channel.chunk = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(frames),
                                      static_cast<Uint32>(channel.converted.size() * sizeof(int16_t)));
    if (!channel.chunk) {
        return -1;
    }
    channel.mixerChannel = nextMixerChannel++;
    if (Mix_AllocateChannels(-1) < channel.mixerChannel + 1) {
        Mix_AllocateChannels(channel.mixerChannel + 1);
    }
    Mix_Volume(channel.mixerChannel, volume);
    channels.push_back(std::move(channel));
    return static_cast<int>(channels.size()) - 1;
}

void PlatformAudioDevice::DestroyChannel(int channel) {
    if (channel < 0 || static_cast<size_t>(channel) >= channels.size() || !channels[channel].chunk) {
        return;
    }
    Mix_HaltChannel(channels[channel].mixerChannel);
    ::SetDucksMusic(channels[channel].mixerChannel, MusicDuck::None);
    Mix_FreeChunk(channels[channel].chunk);
    channels[channel].chunk = nullptr;
    channels[channel].converted.clear();
}

bool PlatformAudioDevice::Play(int channel, bool loop) {
    if (channel < 0 || static_cast<size_t>(channel) >= channels.size() || !channels[channel].chunk) {
        return false;
    }
    // Playing on a busy channel replaces what it played: the copy restarts from its first sample.
    const Channel& c = channels[channel];
    return Mix_PlayChannel(c.mixerChannel, c.chunk, loop ? -1 : 0) == c.mixerChannel;
}

void PlatformAudioDevice::Stop(int channel) {
    if (channel >= 0 && static_cast<size_t>(channel) < channels.size() && channels[channel].chunk) {
        Mix_HaltChannel(channels[channel].mixerChannel);
    }
}

void PlatformAudioDevice::SetVolume(int percent) {
    volume = kEffectVolume * std::clamp(percent, 0, 100) / 100;
    for (const Channel& channel : channels) {
        if (channel.chunk) {
            Mix_Volume(channel.mixerChannel, volume);
        }
    }
}

void PlatformAudioDevice::SetDucksMusic(int channel, bool speech) {
    if (channel < 0 || static_cast<size_t>(channel) >= channels.size() || !channels[channel].chunk) {
        return;
    }
    Channel& c = channels[channel];
    if (speech && !c.leads) {
        // The mixer plays the silence in front as part of the sound, so the music steps back during it.
        Mix_HaltChannel(c.mixerChannel);
        Mix_FreeChunk(c.chunk);
        c.converted.insert(c.converted.begin(), kSpeechLeadSamples, 0);
        c.chunk = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(c.converted.data()),
                                    static_cast<Uint32>(c.converted.size() * sizeof(int16_t)));
        c.leads = true;
        if (!c.chunk) {
            return;
        }
    }
    ::SetDucksMusic(c.mixerChannel, speech ? MusicDuck::Speech : MusicDuck::Jingle);
}
