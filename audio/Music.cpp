#include "audio/Music.h"

#include <cstdio>
#include <string>
#include <vector>

#include "audio/MciSequencer.h"

namespace {

struct MusicRecord {
    std::unique_ptr<MciSequencer> sequencer = std::make_unique<MciSequencer>(nullptr, nullptr);
};

// Never destroyed: the application object may still close the music during static destruction.
MusicRecord& Record() {
    static MusicRecord* record = new MusicRecord;
    return *record;
}

constexpr const char* kOpenFormat = "open %s type sequencer alias MUSIC";

}  // namespace

uint32_t MciSendString(const char* command, void*) {
    return command ? Record().sequencer->SendCommand(command) : kMciUnrecognisedCommand;
}

void InstallMusicPlayer(std::unique_ptr<MusicPlayer> player, std::function<void(int)> notifier) {
    Record().sequencer.reset();
    Record().sequencer = std::make_unique<MciSequencer>(std::move(player), std::move(notifier));
}

void ShutdownMusic() { InstallMusicPlayer(nullptr, nullptr); }

bool MciPlayMusicFile(void* window, const char* path) {
    if (!path) {
        return false;
    }
    // Sized to the path: a deep install directory must not cut the command short.
    int length = std::snprintf(nullptr, 0, kOpenFormat, path);
    if (length < 0) {
        return false;
    }
    std::vector<char> command(static_cast<size_t>(length) + 1);
    std::snprintf(command.data(), command.size(), kOpenFormat, path);
    if (MciSendString("close all", nullptr) != 0) {
        return false;
    }
    if (MciSendString(command.data(), nullptr) != 0) {
        return false;
    }
    return MciSendString("play MUSIC from 0 notify", window) == 0;
}

bool MciStopMusic() { return MciSendString("stop MUSIC", nullptr) == 0; }

bool MciResumeMusic(void* window) { return MciSendString("play MUSIC notify", window) == 0; }

bool MciReplayMusic(void* window) { return MciSendString("play MUSIC from 0 notify", window) == 0; }

void SetMusicVolume(int percent) {
    if (Record().sequencer) {
        Record().sequencer->SetVolume(percent);
    }
}

bool MciCloseAll() { return MciSendString("close all", nullptr) == 0; }
