// The session's message handling with nobody on the line, as a host with three peers and as a joiner:
// whatever arrives, in whatever order, between matches or during one, it neither crashes nor takes a seat,
// a setting or a stop reason out of range.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/FuzzInput.h"
#include "net/XNetSession.h"
#include "shell/XMenuData.h"

struct XNetSessionProbe {
    static void MakeHost(XNetSession& session, const XMenuData* settings) {
        session.host = true;
        session.open = true;
        session.settings = settings;
        for (int i = 0; i < 3; ++i) {
            session.peers.push_back(std::make_unique<XNetSession::Peer>());
            session.peers.back()->address = "127.0.0." + std::to_string(i + 1);
        }
    }
    static void MakeJoiner(XNetSession& session) {
        session.open = true;
        session.connected = true;
    }
    static void Receive(XNetSession& session, size_t peer, const std::string& bytes) {
        session.Receive(session.host ? session.peers[peer % 3].get() : &session.hostPeer, bytes);
        if (session.host) {
            session.AssignSeats();
        }
    }
};

namespace {

void Check(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

void CheckSettings(const XMenuData& settings) {
    Check(settings.GetWinsNeeded() >= 1 && settings.GetWinsNeeded() <= 3);
    Check(settings.IsSingleBattle() == 0 || settings.IsSingleBattle() == 1);
    for (int i = 0; i < 4; ++i) {
        Check(settings.GetControlType(i) >= 0 && settings.GetControlType(i) <= 2);
    }
}

void CheckStopReason(const std::string& reason) {
    for (char c : reason) {
        Check(c >= 0x20 && c <= 0x7e);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    XMenuData settings;
    settings.SetDefaults();
    settings.SetBattleMode(1);
    settings.SetControlType(1, 0);
    settings.SetControlType(2, 0);
    XNetSession host;
    XNetSession joiner;
    host.programName = joiner.programName = "fuzz";
    XNetSessionProbe::MakeHost(host, &settings);
    XNetSessionProbe::MakeJoiner(joiner);
    FuzzInput input(data, size);
    uint8_t head = 0;
    std::string bytes;
    while (input.Next(31, &head, &bytes)) {
        size_t length = bytes.size();
        // Three top bits: to the host from one of its peers, to the joiner, or a step of the game's.
        switch (head >> 5) {
            case 0:
            case 1:
            case 2:
                XNetSessionProbe::Receive(host, head >> 5, bytes);
                break;
            case 3:
            case 4:
                XNetSessionProbe::Receive(joiner, 0, bytes);
                break;
            case 5: {
                XMenuData taken;
                if (joiner.TakeStart(&taken)) {
                    CheckSettings(taken);
                    joiner.BeginMatch(taken);
                }
                host.BeginMatch(settings);
                break;
            }
            case 6:
                for (XNetSession* side : {&host, &joiner}) {
                    if (side->IsFrameReady(false)) {
                        if (side->WantsStateCheck(length))
                            side->CheckState(length, length);
                        side->Exchange({static_cast<uint8_t>(length * 37), false, 0});
                    }
                }
                break;
            default:
                host.EndMatch();
                joiner.EndMatch();
                break;
        }
        XMatchLink::Lobby lobby = joiner.GetLobby();
        Check(lobby.seat == -1 || (lobby.seat >= 1 && lobby.seat <= 3));
        Check((lobby.remoteSeats & ~0x0e) == 0 && (lobby.joinedSeats & ~lobby.remoteSeats) == 0);
        CheckStopReason(joiner.GetStopReason());
        CheckStopReason(lobby.closedReason);
    }
    return 0;
}
