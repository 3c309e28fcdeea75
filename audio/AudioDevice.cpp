#include "audio/AudioDevice.h"

namespace {
AudioDeviceFactory audioFactory = nullptr;
}

void SetAudioDeviceFactory(AudioDeviceFactory factory) { audioFactory = factory; }

std::unique_ptr<AudioDevice> OpenAudioDevice() { return audioFactory ? audioFactory() : nullptr; }
