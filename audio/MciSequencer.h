#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "audio/MusicPlayer.h"

// Notification codes of a play that asked for one.
constexpr int kMciNotifySuccessful = 1;
constexpr int kMciNotifySuperseded = 2;
constexpr int kMciNotifyAborted = 4;

// Results of a command; 0 is success.
constexpr uint32_t kMciOk = 0;
constexpr uint32_t kMciUnrecognisedCommand = 261;
constexpr uint32_t kMciInvalidDeviceName = 263;
constexpr uint32_t kMciCannotLoadFile = 266;

// Interprets the sequencer command strings the music layer sends, over one player under the alias
// MUSIC. A play with "notify" that reaches the end reports success exactly once; a stop, a close or a
// new play ends a pending notification with another code.
class MciSequencer {
public:
    using Notifier = std::function<void(int code)>;

    // Without a player every open fails and the game stays silent.
    MciSequencer(std::unique_ptr<MusicPlayer> player, Notifier notifier);
    MciSequencer(const MciSequencer&) = delete;
    MciSequencer& operator=(const MciSequencer&) = delete;
    virtual ~MciSequencer();

    uint32_t SendCommand(std::string_view command);
    bool IsOpen() const { return open; }
    const std::string& GetOpenPath() const { return openPath; }
    void SetVolume(int percent) { if (player) player->SetVolume(percent); }

private:
    uint32_t OpenCommand(std::string_view arguments);
    uint32_t PlayCommand(std::string_view arguments);
    void EndPending(int code);
    void PieceEnded();

    std::unique_ptr<MusicPlayer> player;
    Notifier notifier;
    bool open = false;
    std::string openPath;
    // Written by the main thread, taken by the audio thread at the end of a piece.
    std::atomic<bool> notifyPending{false};
};
