#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/XMatchLink.h"
#include "shell/XMenuData.h"

class XLockstep;
struct _ENetHost;
struct _ENetPeer;

// An online battle match over UDP with ENet. The host keeps the lobby: joiners take the seats it sets to
// HUMAN beyond player 1 (its own keyboard's), in the order they joined. During a match it runs the
// lockstep as the hub every input passes through; a joiner that leaves or stays silent for 3 s is played
// by the computer from the same frame on every remaining computer, and the host leaving ends the match.
class XNetSession : public XMatchLink {
public:
    static constexpr uint16_t kDefaultPort = 24680;
    static constexpr uint32_t kSilenceMs = 3000;
    // A peer that has not said a valid hello as long as a silence lasts is dropped, whatever else it sent;
    // one address holds at most the seats.
    static constexpr uint32_t kHelloMs = kSilenceMs;
    static constexpr size_t kSlotsPerAddress = 3;
    // Without guessing, the input delay is chosen from the slowest joiner's round trip, within these frames.
    // Guessing needs none, and a poor line is what guessing is for, so the plain lockstep keeps a short cap.
    static constexpr uint32_t kMinDelay = 2;
    static constexpr uint32_t kMaxDelay = 4;
    static constexpr uint32_t kFrameMs = 40;

    // Empty when the session is open, else why not. A host on loopback only takes peers of this machine.
    std::string Host(uint16_t port, const XMenuData* settings, bool loopbackOnly);
    std::string Join(const std::string& address, uint16_t port);

    XNetSession();
    XNetSession(const XNetSession&) = delete;
    XNetSession& operator=(const XNetSession&) = delete;
    ~XNetSession() override;

    // A look at the socket, unless a wait read it this millisecond: the frame loops look right after one.
    void Poll() override;
    void Wait(uint32_t timeoutMs) override { Service(timeoutMs); }
    // Waits up to the time for something to arrive, or until something is due to go out.
    void Service(uint32_t timeoutMs);
    Lobby GetLobby() const override;
    bool TakeStart(XMenuData* settings) override;
    void BeginMatch(const XMenuData& settings) override;
    bool IsFrameReady(bool holding) override;
    bool WantsStateCheck(uint32_t frame) const override;
    void CheckState(uint32_t frame, uint64_t sum) override;
    XFrameInput Exchange(const XFrameInput& local) override;
    uint32_t TakeCorrection() override;
    XFrameInput Rerun(uint32_t frame) override;
    bool IsConfirmed(uint32_t frame) const override;
    std::string GetStopReason() const override;
    Status GetStatus() const override;
    void TogglePause() override;
    void EndMatch() override;
    void Leave() override;
    // The host's choice for its next match: every computer runs its own seats' input on the next frame and
    // guesses the others' (delay 0), or all run in plain lockstep with the delay above.
    void SetGuessing(bool on) { guessing = on; }

    // Joiners that have said hello; the round trip to the slowest seated one, in milliseconds, now and when
    // the last match began.
    int GetPeerCount() const;
    uint32_t GetMatchRoundTrip() const { return matchRoundTrip; }
    bool IsRoundTripMeasured() const;
    // The last match's frames have all reached the others, or there is nobody left to tell.
    bool IsSettled() const;
    uint32_t GetSlowestRoundTrip() const;
    uint32_t GetDelay() const;
    // UDP payload bytes so far, with ENet's own headers.
    uint64_t GetBytesSent() const;
    uint64_t GetBytesReceived() const;
    // ENet slots taken by peers in any state, so that a slot left held shows.
    int GetSlotsInUse() const;

    // Names the program in the lines written to standard error.
    const char* programName = "tintorix";
    // How long a peer may go without a valid hello; shorter only where a test waits it out.
    uint32_t helloMs = kHelloMs;

private:
    struct Peer {
        _ENetPeer* peer = nullptr;
        std::string address;
        bool greeted = false;
        int seat = -1;
        int matchSeat = -1;
        uint32_t connectedAt = 0;
        uint32_t lastHeard = 0;
        // When the pings still unanswered went out: only their pongs count.
        std::vector<uint32_t> pings;
        uint32_t roundTrip = 0;
        int roundTrips = 0;
        // What the joiner was last told: its seat, the remote and the joined seats.
        int toldSeat = -2;
        uint8_t toldRemote = 0;
        uint8_t toldJoined = 0;
        bool outOfStep = false;
    };
    // The session fuzz target drives the message handling without sockets.
    friend struct XNetSessionProbe;

    void Receive(Peer* from, const std::string& bytes);
    void ReceiveAtHost(Peer& from, const std::string& bytes);
    void ReceiveAtJoiner(const std::string& bytes);
    void Lose(Peer& peer, const char* why);
    void Refuse(Peer& peer, const std::string& why);
    void NoteOutOfStep();
    void Close(const std::string& reason);
    void AssignSeats();
    void SendOut();
    void SetPausedBy(int seat);
    void AdmitWatchers();
    uint32_t UntilSendDue(uint32_t now) const;
    uint32_t PingInterval() const;
    void Send(_ENetPeer* peer, const std::string& bytes, bool reliable);
    uint8_t RemoteSeats() const;
    Peer* FindPeer(_ENetPeer* peer);

    bool host = false;
    bool open = false;
    // When the socket was last read.
    uint32_t lastPass = 0;
    _ENetHost* enet = nullptr;
    const XMenuData* settings = nullptr;
    uint16_t port = 0;
    std::vector<std::unique_ptr<Peer>> peers;
    std::unique_ptr<XLockstep> lockstep;
    bool inMatch = false;
    uint16_t matchNumber = 0;
    // The slowest joiner's round trip when the last match began.
    uint32_t matchRoundTrip = 0;
    uint32_t lastPing = 0;
    bool guessing = true;
    // A joiner: its link to the host, its seat, and the match the host has started.
    Peer hostPeer;
    bool connected = false;
    int seat = -1;
    uint8_t remoteSeats = 0;
    uint8_t joinedSeats = 0;
    bool startWaiting = false;
    XMenuData startSettings;
    uint32_t startSeed = 0;
    uint32_t startDelay = kMinDelay;
    std::string closedReason;
    int pausedBy = -1;
    // The host: the running match's start, from its number to the seats' control types.
    std::string matchStart;
    // A joiner: the match it was let into has no seat for it.
    bool watching = false;
};
