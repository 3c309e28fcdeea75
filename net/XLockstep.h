#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "round/XFrameInput.h"

// The deterministic lockstep of one online match, without sockets. The host gathers every seat's input
// for a frame into one bundle and sends it to all; the bundles are the match. A computer's own input for
// frame N + delay is taken while it runs frame N. Guessing, a computer runs up to guessFrames frames past
// the last bundle it holds, its own seats as they steer and the others' as they last did; when a bundle
// shows a guess wrong, it says from which frame the round must run again. Inputs and bundles travel
// unreliably and are sent again until acknowledged; checksums and stops are reliable.
class XLockstep {
public:
    // State checksums are compared every this many frames.
    static constexpr uint32_t kCheckInterval = 25;
    // Unacknowledged frames are sent again after this many milliseconds, and something goes out at least
    // this often so that silence means a lost peer. Every packet carries all frames not yet acknowledged, so
    // while frames flow (one each 40 ms) none is resent on its own.
    static constexpr uint32_t kResendMs = 50;
    static constexpr uint32_t kKeepAliveMs = 100;
    // Frames in one packet at most.
    static constexpr uint32_t kMaxFramesPerPacket = 64;
    // Frames taken ahead of the first one still missing, at most.
    static constexpr uint32_t kMaxAhead = 1024;
    // Host: computers that watch without a seat have the links after the seats'.
    static constexpr int kFirstWatcher = 4;
    static constexpr int kMaxWatchers = 4;

    enum Kind : uint8_t { kInputs = 'I', kBundles = 'B', kCheck = 'C', kStop = 'X' };

    struct Packet {
        // The seat of the joiner it goes to (host) or comes from; a joiner sends only to the host.
        int seat = 0;
        bool reliable = false;
        std::string bytes;
    };

    // Host: localSeats are steered by its own keys, remoteSeats by joiners, computerSeats start as the
    // computer's although set to people. Joiner: localSeats is its one seat.
    XLockstep(bool host, uint16_t match, uint32_t delay, uint8_t localSeats, uint8_t remoteSeats,
              uint8_t computerSeats, uint32_t guessFrames = 0);
    virtual ~XLockstep();

    bool IsHost() const { return host; }
    uint16_t GetMatch() const { return match; }
    uint32_t GetDelay() const { return delay; }
    // The frame the next Exchange runs, from 1.
    uint32_t GetNextFrame() const { return next; }
    // Ready with its bundle, or guessing within the frames allowed; holding, once every frame run is known.
    bool IsFrameReady(bool holding = false) const {
        return !stopReason.empty() || Confirmed() >= next ||
               (guessFrames && (holding ? Confirmed() + 1 >= next : next - Confirmed() <= guessFrames));
    }
    // Before the frames 25, 50, ... run, the state is compared.
    static bool IsCheckFrame(uint32_t frame) { return frame % kCheckInterval == 0; }
    bool WantsStateCheck() const { return IsCheckFrame(next) && stopReason.empty(); }
    void CheckState(uint64_t sum) { CheckState(next, sum); }
    // The state before the frame ran with every bundle before it.
    void CheckState(uint32_t frame, uint64_t sum);
    // Takes this computer's input for frame next + delay and gives the bundle of frame next, or a guess
    // at it. Only a ready frame may be exchanged; once stopped every frame is empty.
    XFrameInput Exchange(const XFrameInput& local);
    // The first frame that ran on a wrong guess since the last call, 0 if none.
    uint32_t TakeCorrection();
    // Running a frame again: its bundle, or the best guess now.
    XFrameInput Rerun(uint32_t frame);
    bool IsConfirmed(uint32_t frame) const { return !stopReason.empty() || frame <= Confirmed(); }

    void Receive(int seat, std::string_view bytes);
    // Host: from the first frame not yet bundled the seat is the computer's on every computer; a watcher's
    // link is closed.
    void DropSeat(int seat);
    // Host: a link for a computer that watches from the first frame on, or -1 when there is no room.
    int AddWatcher();
    // Frames received that this computer has not yet run: many of them mean it has fallen behind.
    uint32_t GetFramesHeld() const { return host || received < next ? 0 : received - next + 1; }
    // Ends the match here; the host tells every joiner why.
    void Stop(const std::string& reason);
    const std::string& GetStopReason() const { return stopReason; }
    // Host: the frame before which the computers' states differed, 0 if they never did.
    uint32_t GetMismatchFrame() const { return mismatchFrame; }
    // The frame from which a dropped seat plays as the computer, 0 while it plays.
    // 0 also for a watcher's link, which has no seat to lose.
    uint32_t GetDropFrame(int seat) const { return seat >= 0 && seat < 4 ? dropFrame[seat] : 0; }

    // The seats whose input the next bundle waits for: the host's own count, a joiner's as the host said.
    uint8_t GetWaitingFor() const;
    // The seats the computer took over during the match, as far as it has run here.
    uint8_t GetLeftSeats() const { return leftSeats; }

    // Everything this side sent has been acknowledged by every peer still here.
    bool IsSettled() const;

    // What is to be sent at this moment, in milliseconds of any steady clock.
    std::vector<Packet> TakePackets(uint32_t now);
    // Milliseconds from now until TakePackets has something to send, unless something arrives first.
    uint32_t UntilSendDue(uint32_t now) const;

private:
    struct Link {
        // Frames the other side holds in a row from frame 1, as it last said.
        uint32_t acked = 0;
        uint32_t lastSent = 0;
        uint32_t sentUpTo = 0;
        bool everSent = false;
    };

    uint32_t Bundled() const { return static_cast<uint32_t>(bundles.size()); }
    // Frames whose bundles this computer holds in a row from the first.
    uint32_t Confirmed() const { return host ? Bundled() : received; }
    XFrameInput Guess(uint32_t frame) const;
    // Bundles newly held after the first frames: a frame that ran on a guess is checked against its own.
    void NoteConfirmed(uint32_t before);
    bool IsNeeded(int seat) const { return (remoteSeats >> seat & 1) && !(computerSeats >> seat & 1); }
    void MakeBundles();
    void ReadFrames(int seat, std::string_view bytes);
    void Compare(uint32_t frame);
    void SendReliable(int seat, std::string bytes);
    std::string FramesPacket(int seat, const Link& link, uint32_t upTo);
    bool IsPeer(int seat) const;
    uint32_t SentUpTo() const;

    bool host;
    uint16_t match;
    uint32_t delay;
    uint8_t localSeats;
    uint8_t remoteSeats;
    uint8_t computerSeats;
    uint32_t next = 1;
    // Host: every seat's steering bits by frame (index frame - 1), -1 while missing; the host's own escape.
    std::vector<int16_t> inputs[4];
    std::vector<bool> escapes;
    // Host: made in order; joiner: received, possibly with gaps until the missing ones arrive.
    std::vector<XFrameInput> bundles;
    std::vector<bool> haveBundle;
    uint32_t received = 0;
    // Joiner: its own input for frames delay + 1 onwards.
    std::vector<uint8_t> ownInputs;
    Link links[kFirstWatcher + kMaxWatchers];
    uint8_t watchers = 0;
    uint32_t dropFrame[4] = {};
    std::map<uint32_t, uint64_t> sums[5];
    std::vector<Packet> reliable;
    std::string stopReason;
    uint32_t mismatchFrame = 0;
    uint8_t hostWaitingFor = 0;
    uint8_t leftSeats = 0;
    uint32_t guessFrames;
    // Guessing: the input each frame run so far ran with (index frame - 1).
    std::vector<XFrameInput> used;
    uint32_t wrongFrom = 0;
};
