#include <enet/enet.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/LittleEndian.h"
#include "net/XNetSession.h"
#include "shell/Options.h"
#include "shell/XMenuData.h"

namespace {

// Runs step until done holds, for 20 s at most.
bool WaitFor(const std::function<bool()>& done, const std::function<void()>& step) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (; !done(); step())
        if (std::chrono::steady_clock::now() > deadline)
            return false;
    return true;
}

// A hand-made ENet endpoint on loopback: hostile clients speak from 127.0.0.2, so that the one address
// cap leaves room for the honest joiners of 127.0.0.1; a fake host listens on a free port.
struct Raw {
    Raw(const char* ip, uint16_t port, size_t slots) {
        ENetAddress address{0, port};
        enet_address_set_host_ip(&address, ip);
        enet = enet_host_create(&address, slots, 2, 0, 0);
    }
    ~Raw() { enet_host_destroy(enet); }  // nothing for none
    ENetPeer* Connect(uint16_t port) {
        ENetAddress address{0, port};
        enet_address_set_host_ip(&address, "127.0.0.1");
        return enet_host_connect(enet, &address, 2, 0);
    }
    void Service() {
        ENetEvent event;
        while (enet_host_service(enet, &event, 1) > 0) {
            if (event.type == ENET_EVENT_TYPE_CONNECT) {
                connected.push_back(event.peer);
            } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
                received.emplace_back(reinterpret_cast<char*>(event.packet->data), event.packet->dataLength);
                enet_packet_destroy(event.packet);
            } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
                ++disconnects;
            }
        }
    }
    void Send(ENetPeer* peer, const std::string& bytes) {
        enet_peer_send(peer, 0, enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
        enet_host_flush(enet);
    }
    // The last message received that starts with kind, or empty.
    std::string Last(char kind) const {
        for (auto it = received.rbegin(); it != received.rend(); ++it)
            if (!it->empty() && (*it)[0] == kind)
                return *it;
        return {};
    }
    ENetHost* enet = nullptr;
    std::vector<ENetPeer*> connected;
    std::vector<std::string> received;
    int disconnects = 0;
};

uint16_t FreePort(const std::function<bool(uint16_t)>& open) {
    for (uint16_t port = 20000 + getpid() % 20000, tries = 0; tries < 500; ++port, ++tries)
        if (open(port))
            return port;
    return 0;
}

// A ping (P) or its answer (Q) with its stamp, cut to length.
std::string Ping(uint32_t stamp, char kind = 'P', size_t length = 5) {
    std::string bytes(1, kind);
    PutLittleEndian(bytes, stamp, 4);
    return bytes.substr(0, length);
}

// A host on loopback whose players 2 and 3 are people on other computers, player 4 nobody, and the joiners
// of this process, serviced in turn until what is awaited holds.
struct Lobby {
    Lobby() {
        settings.SetDefaults();
        settings.SetBattleMode(1);
        for (int seat = 0; seat < 4; ++seat) settings.SetControlType(seat, seat < 3 ? 0 : 2);
        // Every computer runs just the frames all run: what each runs can be compared frame by frame.
        host.SetGuessing(false);
        port = FreePort([&](uint16_t candidate) { return host.Host(candidate, &settings, true).empty(); });
    }
    XNetSession& Join() {
        joiners.push_back(std::make_unique<XNetSession>());
        EXPECT_EQ(joiners.back()->Join("127.0.0.1", port), "");
        return *joiners.back();
    }
    bool Until(const std::function<bool()>& done, const std::function<void()>& more = [] {}) {
        return WaitFor(done, [&] {
            host.Service(1);
            for (auto& joiner : joiners) joiner->Service(0);
            more();
        });
    }
    // Starts a match on the host and on every joiner once all have their seats.
    void Start() {
        ASSERT_TRUE(Until([&] {
            return std::ranges::all_of(joiners, [](auto& j) { return j->GetLobby().seat > 0; });
        }));
        host.BeginMatch(settings);
        for (auto& joiner : joiners) {
            XMenuData started;
            ASSERT_TRUE(Until([&] { return joiner->TakeStart(&started); }));
            joiner->BeginMatch(started);
        }
    }
    XMenuData settings;
    XNetSession host;
    std::vector<std::unique_ptr<XNetSession>> joiners;
    uint16_t port = 0;
};

}  // namespace

TEST(XNetSessionTest, AJoinerIgnoresLobbyAndStartMessagesOutOfRangeOrOutOfTurn) {
    XNetSession joiner;
    std::unique_ptr<Raw> fake;
    const uint16_t port = FreePort([&](uint16_t candidate) {
        fake = std::make_unique<Raw>("127.0.0.1", candidate, 1);
        return fake->enet != nullptr;
    });
    ASSERT_EQ(joiner.Join("127.0.0.1", port), "");
    auto pump = [&] { joiner.Service(1); fake->Service(); };
    ASSERT_TRUE(WaitFor([&] { return !fake->Last('H').empty(); }, pump));
    // Each message is followed by a ping: once its answer is back, the message has been dealt with.
    uint32_t stamp = 0;
    auto deliver = [&](const std::string& bytes) {
        fake->Send(fake->connected[0], bytes);
        fake->Send(fake->connected[0], Ping(++stamp));
        return WaitFor([&] { return fake->Last('Q') == Ping(stamp, 'Q'); }, pump);
    };
    // [L][seat][remote seats][joined seats]; [S][match 2][delay][seed 4][wins][single][4 control
    // types][seat][0]
    auto start = [](char delay, char wins, char single, std::string controls, char seat, char last = 0) {
        return std::string{'S', 1, 0, delay, 7, 0, 0, 0, wins, single} + controls + std::string{seat, last};
    };
    const std::string humans = {0, 0, 0, 2};
    const std::string hostile[] = {
        {'L', '\xe5', 6, 6}, {'L', 0, 6, 1}, {'L', 3, 6, 2}, {'L', 1, 7, 3}, {'L', 1, 6, 2, 0},
        {'L', 1, 2, 6}, start(9, 1, 0, humans, 1), start(2, 9, 0, humans, 1), start(2, 1, 5, humans, 1),
        start(2, 1, 0, {0, 0, 7, 2}, 1), start(2, 1, 0, humans, 0), start(2, 1, 0, humans, '\xe5'),
        start(2, 1, 0, humans, 3), start(2, 1, 0, humans, 1, 1)};
    XMenuData taken;
    for (const std::string& bytes : hostile) {
        ASSERT_TRUE(deliver(bytes));
        EXPECT_TRUE(joiner.GetLobby().seat < 0 && !joiner.TakeStart(&taken)) << testing::PrintToString(bytes);
    }
    ASSERT_TRUE(deliver({'L', 1, 6, 2}));
    EXPECT_EQ(joiner.GetLobby().seat, 1);
    // The longest delay and the most wins are a start's still.
    ASSERT_TRUE(deliver(start(XNetSession::kMaxDelay, 3, 1, {1, 2, 0, 2}, 2)));
    ASSERT_TRUE(joiner.TakeStart(&taken));
    EXPECT_EQ(std::tuple(taken.GetWinsNeeded(), taken.IsSingleBattle(), taken.GetControlType(0),
                         taken.GetControlType(1)), std::tuple(3, 1, 1, 2));
    joiner.BeginMatch(taken);
    // During the match neither a lobby nor a second start moves this computer's seat, nor does a pause
    // by no player pause it.
    for (const std::string& bytes :
         {std::string{'L', '\xe5', 6, 6}, start(2, 1, 0, humans, 1), std::string{'Z', 5}}) {
        ASSERT_TRUE(deliver(bytes));
        EXPECT_EQ(std::pair(joiner.GetLobby().seat, joiner.GetStatus().pausedBy), std::pair(2, -1));
        EXPECT_FALSE(joiner.TakeStart(&taken));
    }
    XFrameInput keys;
    keys.Steer(0, true, false);
    joiner.Exchange(keys);
    // The stop reason a host sends reaches the screen printable.
    ASSERT_TRUE(deliver(std::string{'X', 1, 0} + "bad\x1b[2J\nnews\xff"));
    EXPECT_EQ(joiner.GetStopReason(), "bad?[2J?news?");
    // So does a refusal, which closes the session.
    fake->Send(fake->connected[0], "Rthe host plays 9\n");
    EXPECT_TRUE(WaitFor([&] { return joiner.GetLobby().closedReason == "the host plays 9?"; }, pump));
}

TEST(XNetSessionTest, RefusedPeersAndPeersThatSayNoHelloHoldNoSlotAndAJoinerGetsIn) {
    Lobby lobby;
    lobby.host.helloMs = 1000;
    Raw pest("127.0.0.2", 0, 1);
    // It reconnects after each refusal without a goodbye, as many times as there are slots and more.
    for (int round = 0; round < 12; ++round) {
        ENetPeer* peer = pest.Connect(lobby.port);
        auto pump = [&] { pest.Service(); };
        ASSERT_TRUE(lobby.Until([&] { return pest.connected.size() == round + 1u; }, pump));
        pest.Send(peer, "H0.0-" + std::to_string(round));
        ASSERT_TRUE(lobby.Until([&] { return pest.Last('R').size() > 1; }, pump)) << round;
        EXPECT_EQ(lobby.host.GetSlotsInUse(), 0) << round;
        pest.received.clear();
        enet_peer_reset(peer);
    }
    Raw squatters("127.0.0.2", 0, 8);
    for (int i = 0; i < 8; ++i) squatters.Connect(lobby.port);
    uint32_t lastPing = 0;
    auto pump = [&] {
        squatters.Service();
        // Every half second a ping from each, as a peer would that wants to look alive.
        uint32_t now = static_cast<uint32_t>(enet_time_get());
        if (now - lastPing >= 500) {
            lastPing = now;
            for (ENetPeer* peer : squatters.connected)
                if (peer->state == ENET_PEER_STATE_CONNECTED)
                    squatters.Send(peer, Ping(now));
        }
    };
    ASSERT_TRUE(lobby.Until([&] { return squatters.connected.size() >= 3; }, pump));
    XNetSession& joiner = lobby.Join();
    ASSERT_TRUE(lobby.Until([&] { return lobby.host.GetPeerCount() == 1; }, pump));
    EXPECT_EQ(lobby.host.GetLobby().joinedSeats, 2) << "peers that said no hello took seats";
    EXPECT_TRUE(lobby.Until([&] { return joiner.GetLobby().seat == 1; }, pump));
    // One address held no more than the seats, and whatever it sent, it was let go.
    EXPECT_TRUE(lobby.Until([&] { return squatters.disconnects >= 3; }, pump));
    EXPECT_LE(squatters.connected.size() - static_cast<size_t>(squatters.disconnects), 3u);
}

TEST(XNetSessionTest, OnlyPongsToPingsSentSetTheRoundTrip) {
    Lobby lobby;
    Raw client("127.0.0.1", 0, 1);
    ENetPeer* peer = client.Connect(lobby.port);
    auto pump = [&] { client.Service(); };
    ASSERT_TRUE(lobby.Until([&] { return !client.connected.empty(); }, pump));
    client.Send(peer, std::string("H") + VersionText());
    ASSERT_TRUE(lobby.Until([&] { return !client.Last('P').empty(); }, pump));
    uint32_t stamp = static_cast<uint32_t>(GetLittleEndian(client.Last('P'), 1, 4));
    // Far ahead, never sent, short; a ping of the client's own, answered, shows they were all read.
    for (const std::string& forged :
         {Ping(stamp + 100000, 'Q'), Ping(stamp - 7, 'Q'), Ping(0, 'Q', 3), Ping(0, 'Q', 1)})
        for (int i = 0; i < 3; ++i) client.Send(peer, forged);
    client.Send(peer, Ping(42));
    ASSERT_TRUE(lobby.Until([&] { return client.Last('Q') == Ping(42, 'Q'); }, pump));
    EXPECT_TRUE(!lobby.host.IsRoundTripMeasured() && lobby.host.GetSlowestRoundTrip() == 0);
    // The client now answers nothing and is let go; then honest answers, a joiner's, count.
    ASSERT_TRUE(lobby.Until([&] { return client.disconnects == 1; }, pump));
    EXPECT_EQ(lobby.host.GetPeerCount(), 0);
    XNetSession& joiner = lobby.Join();
    ASSERT_TRUE(lobby.Until([&] { return joiner.GetLobby().seat == 1 && lobby.host.IsRoundTripMeasured(); }));
    EXPECT_LT(lobby.host.GetSlowestRoundTrip(), XNetSession::kSilenceMs);
}

TEST(XNetSessionTest, AJoinerOutOfStepIsPlayedByTheComputerAndOnlyAHostOutOfStepStopsTheMatch) {
    // The computer that claims another state: a joiner, then the host.
    for (size_t liar : {2u, 0u}) {
        Lobby lobby;
        XNetSession* sides[3] = {&lobby.host, &lobby.Join(), &lobby.Join()};
        ASSERT_NO_FATAL_FAILURE(lobby.Start());
        std::vector<XFrameInput> frames[3];
        auto done = [&](size_t i) { return frames[i].size() >= 100 || !sides[i]->GetStopReason().empty(); };
        auto step = [&] {
            for (size_t i = 0; i < 3; ++i) {
                if (!done(i) && sides[i]->IsFrameReady(false)) {
                    uint32_t frame = static_cast<uint32_t>(frames[i].size()) + 1;
                    if (sides[i]->WantsStateCheck(frame))
                        sides[i]->CheckState(frame, i == liar ? 1 : 0);
                    frames[i].push_back(sides[i]->Exchange({}));
                }
            }
        };
        testing::internal::CaptureStderr();
        const bool ended = lobby.Until([&] { return done(0) && done(1) && done(2); }, step);
        const std::string said = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(ended);
        SCOPED_TRACE(liar);
        if (liar == 0) {
            EXPECT_EQ(lobby.host.GetLobby().outOfStepFrame, 25u);
            for (XNetSession* side : sides)
                EXPECT_EQ(side->GetStopReason(), "the computers went out of step at frame 25");
            continue;
        }
        EXPECT_EQ(std::tuple(lobby.host.GetLobby().outOfStepFrame, lobby.host.GetStopReason(),
                             sides[1]->GetStopReason(), sides[2]->GetStopReason()),
                  std::tuple(0u, "", "", "this computer went out of step at frame 25"));
        ASSERT_EQ(frames[0].size(), 100u);
        EXPECT_EQ(frames[1], frames[0]);
        EXPECT_EQ(frames[0].back().computerSeats, 1 << sides[2]->GetLobby().seat);
        // The host says so once, though the joiner stays connected.
        const std::string took = "went out of step; the computer plays player 3 from frame";
        EXPECT_TRUE(said.find(took) != std::string::npos && said.find(took) == said.rfind(took)) << said;
    }
}

TEST(XNetSessionTest, AComputerArrivingDuringAMatchWatchesItAndEitherSidesPauseKeyPausesAllNamingWho) {
    Lobby lobby;
    XNetSession &host = lobby.host, &joiner = lobby.Join();
    ASSERT_NO_FATAL_FAILURE(lobby.Start());
    std::vector<XFrameInput> frames[3];
    auto run = [&](XNetSession& computer, std::vector<XFrameInput>& into) {
        XFrameInput local;
        local.Steer(0, into.size() % 3 == 0, into.size() % 5 == 0);
        if (computer.IsFrameReady(false))
            into.push_back(computer.Exchange(local));
    };
    // Before the host plays a frame, the joiner runs out of frames and says it waits for player 1.
    while (joiner.IsFrameReady(false)) run(joiner, frames[1]);
    EXPECT_EQ(joiner.GetStatus().waitingFor, 1);
    ASSERT_TRUE(lobby.Until([&] {
        run(host, frames[0]);
        run(joiner, frames[1]);
        return frames[1].size() >= 100;
    }));
    XNetSession& late = lobby.Join();
    XMenuData started;
    ASSERT_TRUE(lobby.Until([&] { return late.TakeStart(&started); }));
    EXPECT_EQ(std::tuple(late.GetLobby().matchOn, late.GetLobby().seat), std::tuple(true, -1));
    late.BeginMatch(started);
    // It catches up with the others, who go on meanwhile, and runs just the frames they run, steering none.
    ASSERT_TRUE(lobby.Until([&] {
        run(host, frames[0]);
        run(joiner, frames[1]);
        for (int i = 0; i < 50; ++i) run(late, frames[2]);
        return frames[2].size() >= 200 && frames[1].size() >= 200;
    }));
    EXPECT_TRUE(late.GetStatus().watching);
    for (auto& computer : frames) computer.resize(200);
    EXPECT_EQ(std::pair(frames[0], frames[2]), std::pair(frames[1], frames[1]));
    // What all run has the joiner's own turns both ways.
    auto turns = [&](bool left) {
        return std::count_if(frames[0].begin(), frames[0].end(),
                             [&](auto& f) { return left ? f.IsLeft(1) : f.IsRight(1); });
    };
    EXPECT_TRUE(turns(true) > 0 && turns(false) > 0);
    // Who presses, and who has paused after it on every computer, the watcher's too.
    const std::pair<XNetSession*, int> presses[] = {{&joiner, 1}, {&host, -1}, {&host, 0}, {&joiner, -1}};
    for (const auto& [who, pausedBy] : presses) {
        who->TogglePause();
        EXPECT_TRUE(lobby.Until([&] {
            return host.GetStatus().pausedBy == pausedBy && joiner.GetStatus().pausedBy == pausedBy &&
                   late.GetStatus().pausedBy == pausedBy;
        })) << (who == &host ? "host " : "joiner ")
            << pausedBy;
    }
    // The host runs ahead until it lacks the joiner's input; both then say it waits for player 2.
    while (host.IsFrameReady(false)) host.Exchange({});
    EXPECT_EQ(host.GetStatus().waitingFor, 2);
    EXPECT_TRUE(lobby.Until([&] { return joiner.GetStatus().waitingFor == 2; }));
    // Once a match ends, nobody is paused.
    host.TogglePause();
    host.EndMatch();
    EXPECT_EQ(host.GetStatus().pausedBy, -1);
}
