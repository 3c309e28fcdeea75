#pragma once

#include <cstdint>
#include <string>

#include "round/XFrameInput.h"

class XMenuData;

// The other computers of an online battle match, as the game sees them: who has joined which seat before a
// match, and during one the frames every computer runs alike. The network behind it lives elsewhere.
class XMatchLink {
public:
    // What the menu and the waiting screen show.
    struct Lobby {
        bool host = false;
        // A joiner: connected to the host, and its seat (-1 while it has none).
        bool connected = false;
        int seat = -1;
        // Seats played from other computers, and those of them someone has taken.
        uint8_t remoteSeats = 0;
        uint8_t joinedSeats = 0;
        uint16_t port = 0;
        // Why a joiner is no longer connected.
        std::string closedReason;
        // The host: the frame at which the last match went out of step and stopped, 0 if it did not.
        uint32_t outOfStepFrame = 0;
        // A joiner without a seat: the host's match is on, and this computer is let in to watch it.
        bool matchOn = false;
    };

    // What every computer of a running match shows about the others.
    struct Status {
        // The seat of whoever paused the match for everyone, -1 while it runs.
        int pausedBy = -1;
        // The seats whose input the next frame waits for.
        uint8_t waitingFor = 0;
        // The seats the computer took over during the match.
        uint8_t leftSeats = 0;
        // This computer watches the match without a seat.
        bool watching = false;
        // Frames here that this computer has not run yet; many mean it has fallen behind.
        uint32_t framesHeld = 0;
    };

    // Frames a computer runs at most past the last one every computer's input is known for, guessing the
    // others' as they last steered; a snapshot of each is kept to run them again when a guess was wrong.
    static constexpr uint32_t kGuessFrames = 15;

    virtual ~XMatchLink() = default;

    // Sends and receives what is waiting, and notices who has gone silent.
    virtual void Poll() = 0;
    // Sleeps until something arrives from the others or the time is up, sending what falls due meanwhile.
    virtual void Wait(uint32_t timeoutMs) = 0;
    virtual Lobby GetLobby() const = 0;
    // A joiner: true once the host has started a match, whose settings are then given.
    virtual bool TakeStart(XMenuData* settings) = 0;
    // At a match's start, after the settings are fixed: the host tells the joiners, a joiner takes the
    // host's random seed.
    virtual void BeginMatch(const XMenuData& settings) = 0;
    // Whether the next frame may run: with every computer's input, or on a guess. Holding, the round waits
    // until every frame it has run is known.
    virtual bool IsFrameReady(bool holding) = 0;
    // Whether the state before the frame is compared with the other computers'.
    virtual bool WantsStateCheck(uint32_t frame) const = 0;
    virtual void CheckState(uint32_t frame, uint64_t sum) = 0;
    // This computer's seats' input in, the frame every computer runs (or a guess at it) out.
    virtual XFrameInput Exchange(const XFrameInput& local) = 0;
    // The first frame that ran on a wrong guess since the last call, 0 if none; then each frame from it is
    // run again with Rerun's input. A link that never guesses has none.
    virtual uint32_t TakeCorrection() { return 0; }
    virtual XFrameInput Rerun(uint32_t) { return {}; }
    virtual bool IsConfirmed(uint32_t) const { return true; }
    // Why the match stopped early on this computer, or empty.
    virtual std::string GetStopReason() const = 0;
    virtual Status GetStatus() const = 0;
    // This computer's pause key during a match: pauses it for everyone, or lets it run on.
    virtual void TogglePause() = 0;
    virtual void EndMatch() = 0;
    // A joiner leaves for good.
    virtual void Leave() = 0;
};
