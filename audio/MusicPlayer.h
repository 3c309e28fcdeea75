#pragma once

#include <functional>
#include <string>

// A MIDI file player beneath the music commands. The platform provides one; tests use a fake.
class MusicPlayer {
public:
    virtual ~MusicPlayer() = default;
    // Loads the file, stopped at its start; the old piece, if any, is closed first. False when the file
    // (or the means to play it) is missing.
    virtual bool Open(const std::string& path) = 0;
    // Plays from the first event, or on from where the piece stopped.
    virtual bool Play(bool fromStart) = 0;
    // Stops, keeping the position.
    virtual void Stop() = 0;
    virtual void Close() = 0;
    // The level of the music, in per cent of the level it was made for; kept across pieces.
    virtual void SetVolume(int percent) = 0;
    // Called once for each play that reaches the end of the piece; may come from the audio thread.
    void SetEndHandler(std::function<void()> handler) { endHandler = std::move(handler); }

protected:
    void ReportEnd() {
        if (endHandler) {
            endHandler();
        }
    }

private:
    std::function<void()> endHandler;
};
