#include "net/XNetSession.h"

#include <enet/enet.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "base/LittleEndian.h"

#include "gfx/Maths.h"
#include "net/XLockstep.h"
#include "shell/Options.h"

namespace {

// Lobby messages; the lockstep's own travel beside them.
constexpr char kHello = 'H';
constexpr char kRefuse = 'R';
constexpr char kLobby = 'L';
constexpr char kStart = 'S';
// A match already on, to be watched from its first frame: laid out as the start, with no seat.
constexpr char kWatch = 'V';
constexpr char kPing = 'P';
constexpr char kPong = 'Q';
// A joiner's pause key [Z][1 pause, 0 run on]; the host's word to all [Z][seat that paused, or -1].
constexpr char kPause = 'Z';
// A match's own packets keep the line alive; its round trip is only chosen from between matches.
constexpr uint32_t kPingMs = 100;
constexpr uint32_t kMatchPingMs = 1000;
constexpr int kHuman = 0;
constexpr enet_uint8 kReliableChannel = 0;
constexpr enet_uint8 kFramesChannel = 1;

uint32_t NowMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int enetUsers = 0;

// What a peer says may reach a terminal or the screen: no control codes, no bytes beyond ASCII, one line.
std::string Printable(const std::string& text) {
    std::string shown = text.substr(0, 100);
    for (char& c : shown) {
        if (c < 0x20 || c > 0x7e) {
            c = '?';
        }
    }
    return shown;
}

bool IsSeatSet(uint8_t seats) {
    return (seats & ~0x0e) == 0;
}

}  // namespace

XNetSession::XNetSession() {
    if (enetUsers++ == 0) {
        enet_initialize();
    }
}

XNetSession::~XNetSession() {
    if (enet) {
        // A last word, so that the others need not wait out the silence.
        for (auto& peer : peers) {
            if (peer->peer) {
                enet_peer_disconnect_now(peer->peer, 0);
            }
        }
        if (hostPeer.peer) {
            enet_peer_disconnect_now(hostPeer.peer, 0);
        }
        enet_host_flush(enet);
        enet_host_destroy(enet);
    }
    if (--enetUsers == 0) {
        enet_deinitialize();
    }
}

std::string XNetSession::Host(uint16_t newPort, const XMenuData* newSettings, bool loopbackOnly) {
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    if (loopbackOnly) {
        enet_address_set_host_ip(&address, "127.0.0.1");
    }
    address.port = newPort;
    enet = enet_host_create(&address, 8, 2, 0, 0);
    if (!enet) {
        return "cannot open UDP port " + std::to_string(newPort) + " (is it in use?)";
    }
    enet->duplicatePeers = kSlotsPerAddress;
    host = true;
    open = true;
    port = newPort;
    settings = newSettings;
    return {};
}

std::string XNetSession::Join(const std::string& name, uint16_t newPort) {
    if (name.find(':') != std::string::npos) {
        return "ENet 1.3 speaks IPv4 only: give the host's IPv4 address or name";
    }
    ENetAddress address{};
    if (enet_address_set_host(&address, name.c_str()) != 0) {
        return "no such host: " + name;
    }
    address.port = newPort;
    enet = enet_host_create(nullptr, 1, 2, 0, 0);
    if (!enet) {
        return "cannot open a UDP socket";
    }
    hostPeer.peer = enet_host_connect(enet, &address, 2, 0);
    if (!hostPeer.peer) {
        return "cannot connect to " + name;
    }
    hostPeer.address = name;
    hostPeer.lastHeard = NowMs();
    port = newPort;
    open = true;
    return {};
}

XNetSession::Peer* XNetSession::FindPeer(ENetPeer* peer) {
    if (!host) {
        return peer == hostPeer.peer ? &hostPeer : nullptr;
    }
    for (auto& candidate : peers) {
        if (candidate->peer == peer) {
            return candidate.get();
        }
    }
    return nullptr;
}

void XNetSession::Poll() {
    if (NowMs() != lastPass) {
        Service(0);
    }
}

void XNetSession::Service(uint32_t timeoutMs) {
    if (!enet || !open) {
        return;
    }
    // What is due goes out before the sleep, so a frame just run costs no wake of its own.
    SendOut();
    timeoutMs = std::min(timeoutMs, UntilSendDue(NowMs()));
    if (timeoutMs > 0) {
        // One sleep in the socket until a datagram comes or the time is up: no waking to look.
        enet_uint32 condition = ENET_SOCKET_WAIT_RECEIVE;
        enet_socket_wait(enet->socket, &condition, timeoutMs);
    }
    // One pass over the socket reads what has come; the events it made beyond the first are taken without
    // reading the socket again, which would only find it empty.
    ENetEvent event;
    for (int got = enet_host_service(enet, &event, 0); got > 0; got = enet_host_check_events(enet, &event)) {
        if (event.type == ENET_EVENT_TYPE_CONNECT) {
            if (host) {
                auto peer = std::make_unique<Peer>();
                peer->peer = event.peer;
                char ip[64] = "?";
                enet_address_get_host_ip(&event.peer->address, ip, sizeof ip);
                peer->address = ip;
                peer->connectedAt = peer->lastHeard = NowMs();
                peers.push_back(std::move(peer));
            } else {
                connected = true;
                hostPeer.lastHeard = NowMs();
                Send(hostPeer.peer, std::string(1, kHello) + VersionText(), true);
            }
        } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
            std::string bytes(reinterpret_cast<const char*>(event.packet->data), event.packet->dataLength);
            enet_packet_destroy(event.packet);
            if (Peer* from = FindPeer(event.peer)) {
                Receive(from, bytes);
            }
        } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
            if (Peer* from = FindPeer(event.peer)) {
                from->peer = nullptr;
                Lose(*from, "left");
            }
        }
        if (!open) {
            return;
        }
    }
    uint32_t now = NowMs();
    lastPass = now;
    if (host) {
        for (size_t i = 0; i < peers.size(); ++i) {
            if (!peers[i]->peer) {
                continue;
            }
            if (!peers[i]->greeted && now - peers[i]->connectedAt > helloMs) {
                Lose(*peers[i], "did not say hello");
            } else if (now - peers[i]->lastHeard > kSilenceMs) {
                Lose(*peers[i], "was silent for 3 s");
            }
        }
        peers.erase(std::remove_if(peers.begin(), peers.end(), [](const auto& peer) { return !peer->peer; }),
                    peers.end());
        AssignSeats();
        AdmitWatchers();
    } else if (now - hostPeer.lastHeard > kSilenceMs) {
        Lose(hostPeer, connected ? "was silent for 3 s" : "did not answer");
    }
    SendOut();
}

void XNetSession::Receive(Peer* from, const std::string& bytes) {
    if (bytes.empty()) {
        return;
    }
    // Until its hello, nothing else a peer says keeps it here.
    if (host && !from->greeted && bytes[0] != kHello) {
        return;
    }
    from->lastHeard = NowMs();
    if (bytes[0] == kPing) {
        if (bytes.size() == 5) {
            Send(from->peer, std::string(1, kPong) + bytes.substr(1), false);
        }
        return;
    }
    if (host) {
        ReceiveAtHost(*from, bytes);
    } else {
        ReceiveAtJoiner(bytes);
    }
}

void XNetSession::ReceiveAtHost(Peer& from, const std::string& bytes) {
    switch (bytes[0]) {
        case kHello:
            if (from.greeted) {
                break;
            }
            if (bytes.substr(1) != VersionText()) {
                Refuse(from, std::string("the host plays ") + VersionText());
            } else {
                from.greeted = true;
                std::fprintf(stderr, "%s: %s joined\n", programName, from.address.c_str());
            }
            break;
        case kPause:
            if (bytes.size() == 2 && inMatch && from.matchSeat >= 0 &&
                from.matchSeat < XLockstep::kFirstWatcher) {
                SetPausedBy(bytes[1] ? from.matchSeat : -1);
            }
            break;
        case kPong: {
            // Only the answer to a ping sent counts, once; the ones sent before it are lost or late.
            auto sent = bytes.size() == 5
                            ? std::find(from.pings.begin(), from.pings.end(), GetLittleEndian(bytes, 1, 4))
                            : from.pings.end();
            if (sent == from.pings.end()) {
                break;
            }
            uint32_t roundTrip = NowMs() - *sent;
            from.pings.erase(from.pings.begin(), sent + 1);
            // The slower of the last and the smoothed: one quick answer does not hide a slow line.
            from.roundTrip =
                from.roundTrips == 0 ? roundTrip : std::max(roundTrip, (from.roundTrip * 7 + roundTrip) / 8);
            ++from.roundTrips;
            break;
        }
        default:
            if (lockstep && from.matchSeat >= 0) {
                lockstep->Receive(from.matchSeat, bytes);
                NoteOutOfStep();
            }
            break;
    }
}

void XNetSession::ReceiveAtJoiner(const std::string& bytes) {
    switch (bytes[0]) {
        case kRefuse:
            Close(Printable(bytes.substr(1)));
            break;
        case kLobby: {
            // The seats only change between matches; a seat is one of the joined seats, or none.
            if (inMatch || startWaiting || bytes.size() != 4) {
                break;
            }
            int newSeat = static_cast<int8_t>(bytes[1]);
            auto remote = static_cast<uint8_t>(bytes[2]);
            auto joined = static_cast<uint8_t>(bytes[3]);
            bool seated = newSeat >= 1 && newSeat <= 3 && (joined >> newSeat & 1);
            if (IsSeatSet(remote) && (joined & ~remote) == 0 && (seated || newSeat == -1)) {
                seat = newSeat;
                remoteSeats = remote;
                joinedSeats = joined;
            }
            break;
        }
        case kPause: {
            // Who paused, or -1 for nobody: only in a match.
            int by = bytes.size() == 2 ? static_cast<int8_t>(bytes[1]) : -2;
            if (inMatch && by >= -1 && by <= 3) {
                pausedBy = by;
            }
            break;
        }
        case kWatch:
        case kStart: {
            if (inMatch || startWaiting || bytes.size() != 16) {
                break;
            }
            auto byte = [&](size_t at) { return static_cast<uint8_t>(bytes[at]); };
            bool watch = bytes[0] == kWatch;
            uint32_t delay = byte(3);
            int newSeat = byte(14);
            bool valid = (delay == 0 || (delay >= kMinDelay && delay <= kMaxDelay)) && byte(8) >= 1 && byte(8) <= 3 &&
                         byte(9) <= 1 && byte(15) == 0;
            for (int i = 0; i < 4; ++i) {
                valid = valid && byte(10 + i) <= 2;
            }
            // A player's seat is played by a person, this computer's; a watcher has none.
            bool seatValid = watch ? newSeat == 0 : newSeat >= 1 && newSeat <= 3 && byte(10 + newSeat) == kHuman;
            if (!valid || !seatValid) {
                break;
            }
            watching = watch;
            matchNumber = static_cast<uint16_t>(GetLittleEndian(bytes, 1, 2));
            startDelay = delay;
            startSeed = static_cast<uint32_t>(GetLittleEndian(bytes, 4, 4));
            startSettings.SetDefaults();
            startSettings.SetWinsNeeded(byte(8));
            startSettings.SetSingleBattle(byte(9));
            for (int i = 0; i < 4; ++i) {
                startSettings.SetControlType(i, byte(10 + i));
            }
            seat = watch ? -1 : newSeat;
            startWaiting = true;
            break;
        }
        default:
            if (lockstep && bytes.size() >= 3 && GetLittleEndian(bytes, 1, 2) == lockstep->GetMatch()) {
                lockstep->Receive(hostPeer.matchSeat, bytes);
            }
            break;
    }
}

void XNetSession::Lose(Peer& peer, const char* why) {
    if (!host) {
        Close(std::string(connected ? "the host has left" : "the host did not answer"));
        return;
    }
    if (peer.greeted) {
        std::fprintf(stderr, "%s: %s %s\n", programName, peer.address.c_str(), why);
    }
    if (pausedBy >= 0 && pausedBy == peer.matchSeat) {
        // Nobody could let the match run on for a computer that has gone.
        SetPausedBy(-1);
    }
    if (lockstep && peer.matchSeat >= 0) {
        lockstep->DropSeat(peer.matchSeat);
        if (inMatch && peer.matchSeat < XLockstep::kFirstWatcher) {
            std::fprintf(stderr, "%s: the computer plays player %d from frame %u\n", programName,
                         peer.matchSeat + 1, lockstep->GetDropFrame(peer.matchSeat));
        }
    }
    if (peer.peer) {
        // Its slot is free at once; the peer is told, should it still listen.
        enet_peer_disconnect_now(peer.peer, 0);
        peer.peer = nullptr;
    }
}

void XNetSession::Refuse(Peer& peer, const std::string& why) {
    Send(peer.peer, std::string(1, kRefuse) + why, true);
    // Out before the slot is freed: a refused peer that never answers must not hold it. No disconnect
    // follows, since one arriving with the refusal would discard it unread.
    if (enet && peer.peer) {
        enet_host_flush(enet);
        enet_peer_reset(peer.peer);
    }
    peer.peer = nullptr;
    Lose(peer, "was refused");
}

void XNetSession::NoteOutOfStep() {
    for (auto& peer : peers) {
        if (peer->matchSeat >= 0 && !peer->outOfStep && peer->peer &&
            lockstep->GetDropFrame(peer->matchSeat)) {
            peer->outOfStep = true;
            std::fprintf(stderr, "%s: %s went out of step; the computer plays player %d from frame %u\n",
                         programName, peer->address.c_str(), peer->matchSeat + 1,
                         lockstep->GetDropFrame(peer->matchSeat));
        }
    }
}

void XNetSession::Close(const std::string& reason) {
    if (!closedReason.empty()) {
        return;
    }
    closedReason = reason;
    std::fprintf(stderr, "%s: %s\n", programName, reason.c_str());
    if (lockstep && inMatch) {
        lockstep->Stop(reason);
    }
    if (hostPeer.peer) {
        enet_peer_disconnect_now(hostPeer.peer, 0);
        hostPeer.peer = nullptr;
    }
    open = false;
}

uint8_t XNetSession::RemoteSeats() const {
    uint8_t remote = 0;
    for (int i = 1; i < 4; ++i) {
        if (settings->IsBattleMode() && settings->GetControlType(i) == kHuman) {
            remote = static_cast<uint8_t>(remote | 1 << i);
        }
    }
    return remote;
}

void XNetSession::AssignSeats() {
    if (inMatch) {
        return;
    }
    uint8_t remote = RemoteSeats();
    uint8_t joined = 0;
    int nextSeat = 1;
    for (auto& peer : peers) {
        peer->seat = -1;
        while (nextSeat < 4 && !(remote >> nextSeat & 1)) {
            ++nextSeat;
        }
        if (peer->greeted && nextSeat < 4) {
            peer->seat = nextSeat++;
            joined = static_cast<uint8_t>(joined | 1 << peer->seat);
        }
    }
    joinedSeats = joined;
    remoteSeats = remote;
    for (auto& peer : peers) {
        if (peer->greeted &&
            (peer->toldSeat != peer->seat || peer->toldRemote != remote || peer->toldJoined != joined)) {
            std::string bytes(1, kLobby);
            bytes.push_back(static_cast<char>(peer->seat));
            bytes.push_back(static_cast<char>(remote));
            bytes.push_back(static_cast<char>(joined));
            Send(peer->peer, bytes, true);
            peer->toldSeat = peer->seat;
            peer->toldRemote = remote;
            peer->toldJoined = joined;
        }
    }
}

XMatchLink::Lobby XNetSession::GetLobby() const {
    Lobby lobby;
    lobby.host = host;
    lobby.connected = connected && closedReason.empty();
    lobby.seat = seat;
    lobby.remoteSeats = remoteSeats;
    lobby.joinedSeats = joinedSeats;
    lobby.port = port;
    lobby.closedReason = closedReason;
    lobby.outOfStepFrame = lockstep ? lockstep->GetMismatchFrame() : 0;
    lobby.matchOn = watching && startWaiting;
    return lobby;
}

bool XNetSession::TakeStart(XMenuData* target) {
    if (!startWaiting) {
        return false;
    }
    *target = startSettings;
    return true;
}

void XNetSession::BeginMatch(const XMenuData& matchSettings) {
    // A joiner begins only a match the host has started.
    if (!host && !startWaiting) {
        return;
    }
    inMatch = true;
    pausedBy = -1;
    if (!host) {
        startWaiting = false;
        SeedRandomWith(startSeed);
        // The seat of this match, whatever the lobby says after it; a watcher's link to the host is the first.
        // The start said which (a watcher has no seat), whatever ended between it and now.
        watching = seat < 0;
        hostPeer.matchSeat = watching ? 0 : seat;
        // The host's delay of 0 says the match is played guessing; a watcher only runs what every computer ran.
        uint32_t guess = startDelay == 0 && !watching ? kGuessFrames : 0;
        lockstep = std::make_unique<XLockstep>(false, matchNumber, startDelay,
                                               static_cast<uint8_t>(1 << hostPeer.matchSeat), 0, 0, guess);
        return;
    }
    AssignSeats();
    matchRoundTrip = GetSlowestRoundTrip();
    // A frame more than the round trip takes, against jitter.
    uint32_t delay =
        guessing ? 0 : std::clamp((matchRoundTrip + kFrameMs - 1) / kFrameMs + 1, kMinDelay, kMaxDelay);
    uint32_t seed = GetRandomState();
    ++matchNumber;
    uint8_t local = matchSettings.GetControlType(0) == kHuman ? 1 : 0;
    // Seats set to people that nobody took are the computer's from the first frame.
    lockstep = std::make_unique<XLockstep>(true, matchNumber, delay, local, joinedSeats,
                                           static_cast<uint8_t>(remoteSeats & ~joinedSeats),
                                           guessing ? kGuessFrames : 0);
    matchStart.clear();
    PutLittleEndian(matchStart, matchNumber, 2);
    PutLittleEndian(matchStart, delay, 1);
    PutLittleEndian(matchStart, seed, 4);
    PutLittleEndian(matchStart, static_cast<uint64_t>(matchSettings.GetWinsNeeded()), 1);
    PutLittleEndian(matchStart, static_cast<uint64_t>(matchSettings.IsSingleBattle()), 1);
    for (int i = 0; i < 4; ++i) {
        PutLittleEndian(matchStart, static_cast<uint64_t>(matchSettings.GetControlType(i)), 1);
    }
    for (auto& peer : peers) {
        peer->matchSeat = peer->seat;
        peer->outOfStep = false;
        if (peer->seat >= 0) {
            Send(peer->peer, kStart + matchStart + static_cast<char>(peer->seat) + '\0', true);
        }
    }
    AdmitWatchers();
    SendOut();
}

void XNetSession::AdmitWatchers() {
    if (!host || !inMatch || !lockstep) {
        return;
    }
    for (auto& peer : peers) {
        if (peer->greeted && peer->peer && peer->matchSeat < 0) {
            int link = lockstep->AddWatcher();
            if (link < 0) {
                return;
            }
            peer->matchSeat = link;
            Send(peer->peer, kWatch + matchStart + std::string(2, '\0'), true);
        }
    }
}

bool XNetSession::IsFrameReady(bool holding) {
    if (!lockstep) {
        return true;
    }
    if (!lockstep->IsFrameReady(holding)) {
        Service(0);
    }
    return lockstep->IsFrameReady(holding);
}

bool XNetSession::WantsStateCheck(uint32_t frame) const {
    return lockstep && XLockstep::IsCheckFrame(frame) && lockstep->GetStopReason().empty();
}

uint32_t XNetSession::TakeCorrection() {
    return lockstep ? lockstep->TakeCorrection() : 0;
}

XFrameInput XNetSession::Rerun(uint32_t frame) {
    return lockstep ? lockstep->Rerun(frame) : XFrameInput{};
}

bool XNetSession::IsConfirmed(uint32_t frame) const {
    return !lockstep || lockstep->IsConfirmed(frame);
}

void XNetSession::CheckState(uint32_t frame, uint64_t sum) {
    lockstep->CheckState(frame, sum);
    if (host) {
        NoteOutOfStep();
    }
    if (host && !lockstep->GetStopReason().empty()) {
        std::fprintf(stderr, "%s: %s\n", programName, lockstep->GetStopReason().c_str());
    }
}

XFrameInput XNetSession::Exchange(const XFrameInput& local) {
    if (!lockstep) {
        return {};
    }
    XFrameInput mine = local;
    if (!host) {
        // Player 1's keys steer this computer's seat; its Escape leaves the match.
        if (local.escape) {
            Leave();
            return {};
        }
        mine = {};
        if (!watching) {
            mine.Steer(hostPeer.matchSeat, local.IsLeft(0), local.IsRight(0));
        }
    }
    XFrameInput frame = lockstep->Exchange(mine);
    SendOut();
    return frame;
}

std::string XNetSession::GetStopReason() const {
    return lockstep ? Printable(lockstep->GetStopReason()) : std::string();
}

XMatchLink::Status XNetSession::GetStatus() const {
    Status status;
    status.pausedBy = inMatch ? pausedBy : -1;
    if (lockstep) {
        status.waitingFor = lockstep->GetWaitingFor();
        status.leftSeats = lockstep->GetLeftSeats();
        status.framesHeld = lockstep->GetFramesHeld();
        status.watching = watching && inMatch;
        if (!host && !lockstep->IsFrameReady() && status.waitingFor == 0) {
            // Nothing from the host says whom it waits for: it is the host itself, or the line to it.
            status.waitingFor = 1;
        }
    }
    return status;
}

void XNetSession::TogglePause() {
    if (!inMatch) {
        return;
    }
    if (host) {
        SetPausedBy(pausedBy < 0 ? 0 : -1);
    } else {
        Send(hostPeer.peer, std::string{kPause, static_cast<char>(pausedBy < 0)}, true);
    }
    SendOut();
}

void XNetSession::SetPausedBy(int newSeat) {
    pausedBy = newSeat;
    for (auto& peer : peers) {
        if (peer->matchSeat >= 0) {
            Send(peer->peer, std::string{kPause, static_cast<char>(newSeat)}, true);
        }
    }
}

void XNetSession::EndMatch() {
    inMatch = false;
    pausedBy = -1;
    watching = false;
}

void XNetSession::Leave() {
    if (!host) {
        Close("you left the match");
    }
}

void XNetSession::Send(ENetPeer* peer, const std::string& bytes, bool reliable) {
    if (!peer) {
        return;
    }
    ENetPacket* packet = enet_packet_create(
        bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
    if (packet && enet_peer_send(peer, reliable ? kReliableChannel : kFramesChannel, packet) != 0) {
        enet_packet_destroy(packet);
    }
}

void XNetSession::SendOut() {
    if (!enet || !open) {
        return;
    }
    uint32_t now = NowMs();
    if (lockstep) {
        for (XLockstep::Packet& packet : lockstep->TakePackets(now)) {
            ENetPeer* to = hostPeer.peer;
            if (host) {
                to = nullptr;
                for (auto& peer : peers) {
                    if (peer->matchSeat == packet.seat && peer->peer) {
                        to = peer->peer;
                    }
                }
            }
            Send(to, packet.bytes, packet.reliable);
        }
    }
    if (now - lastPing >= PingInterval()) {
        // Pings measure the round trip and keep a quiet line from looking dead.
        lastPing = now;
        std::string ping(1, kPing);
        PutLittleEndian(ping, now, 4);
        for (auto& peer : peers) {
            if (peer->greeted) {
                peer->pings.push_back(now);
                // Pings older than the silence allows are not waited for.
                if (peer->pings.size() > kSilenceMs / kPingMs) {
                    peer->pings.erase(peer->pings.begin());
                }
                Send(peer->peer, ping, false);
            }
        }
        if (connected) {
            Send(hostPeer.peer, ping, false);
        }
    }
    enet_host_flush(enet);
}

uint32_t XNetSession::PingInterval() const {
    return inMatch ? kMatchPingMs : kPingMs;
}

uint32_t XNetSession::UntilSendDue(uint32_t now) const {
    uint32_t untilPing = now - lastPing >= PingInterval() ? 0 : PingInterval() - (now - lastPing);
    return lockstep ? std::min(untilPing, lockstep->UntilSendDue(now)) : untilPing;
}

int XNetSession::GetPeerCount() const {
    return static_cast<int>(
        std::count_if(peers.begin(), peers.end(), [](const auto& peer) { return peer->greeted; }));
}

bool XNetSession::IsRoundTripMeasured() const {
    return std::all_of(peers.begin(), peers.end(),
                       [](const auto& peer) { return !peer->greeted || peer->roundTrips >= 3; });
}

bool XNetSession::IsSettled() const {
    return !open || !lockstep || lockstep->IsSettled();
}

uint32_t XNetSession::GetSlowestRoundTrip() const {
    uint32_t slowest = 0;
    for (const auto& peer : peers) {
        if (peer->seat >= 0) {
            slowest = std::max(slowest, peer->roundTrip);
        }
    }
    return slowest;
}

uint32_t XNetSession::GetDelay() const {
    return lockstep ? lockstep->GetDelay() : 0;
}

uint64_t XNetSession::GetBytesSent() const {
    return enet ? enet->totalSentData : 0;
}

uint64_t XNetSession::GetBytesReceived() const {
    return enet ? enet->totalReceivedData : 0;
}

int XNetSession::GetSlotsInUse() const {
    if (!enet) {
        return 0;
    }
    return static_cast<int>(
        std::count_if(enet->peers, enet->peers + enet->peerCount,
                      [](const ENetPeer& peer) { return peer.state != ENET_PEER_STATE_DISCONNECTED; }));
}
