#include "platform/PlatformAudio.h"

#include <memory>

#include "audio/AudioDevice.h"
#include "audio/Music.h"
#include "platform/PlatformAudioDevice.h"
#include "platform/PlatformEvents.h"
#include "platform/PlatformMusicPlayer.h"

void InstallAudioPlatform() {
    SetAudioDeviceFactory(PlatformAudioDevice::Open);
    InstallMusicPlayer(std::make_unique<PlatformMusicPlayer>(), PostMusicNotification);
}

void ShutdownAudioPlatform() { ShutdownMusic(); }
