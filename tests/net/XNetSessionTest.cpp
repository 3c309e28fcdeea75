#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <functional>

#include "net/XNetSession.h"
#include "shell/XMenuData.h"

namespace {

// A host and one joiner on loopback in this process, serviced in turn until what is awaited holds.
struct Pair {
    Pair() {
        settings.SetDefaults();
        settings.SetBattleMode(1);
        for (int i = 0; i < 4; ++i) settings.SetControlType(i, i < 2 ? 0 : 1);
        for (uint16_t port = static_cast<uint16_t>(30000 + getpid() % 2000 * 10);; ++port) {
            if (host.Host(port, &settings, true).empty()) {
                this->port = port;
                joiner.Join("127.0.0.1", port);
                break;
            }
        }
    }
    bool Until(const std::function<bool()>& done) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            host.Service(2);
            joiner.Service(2);
            if (late)
                late->Service(2);
        }
        return true;
    }
    void Start() {
        ASSERT_TRUE(Until([&] { return joiner.GetLobby().seat == 1; }));
        host.BeginMatch(settings);
        XMenuData started;
        ASSERT_TRUE(Until([&] { return joiner.TakeStart(&started); }));
        joiner.BeginMatch(started);
    }
    XMenuData settings;
    XNetSession host, joiner;
    std::unique_ptr<XNetSession> late;
    uint16_t port = 0;
};

}  // namespace

TEST(XNetSessionTest, EitherSidesPauseKeyPausesBothNamingWhoAndTheJoinerHearsWhomTheHostWaitsFor) {
    Pair pair;
    XNetSession &host = pair.host, &joiner = pair.joiner;
    pair.Start();
    // Who presses, and who has paused after it on both computers.
    const std::pair<XNetSession*, int> presses[] = {{&joiner, 1}, {&host, -1}, {&host, 0}, {&joiner, -1}};
    for (const auto& [who, pausedBy] : presses) {
        who->TogglePause();
        EXPECT_TRUE(pair.Until([&] {
            return host.GetStatus().pausedBy == pausedBy && joiner.GetStatus().pausedBy == pausedBy;
        })) << (who == &host ? "host " : "joiner ")
            << pausedBy;
    }
    // The host runs ahead until it lacks the joiner's input; both then say it waits for player 2.
    while (host.IsFrameReady()) host.Exchange({});
    EXPECT_EQ(host.GetStatus().waitingFor, 2);
    EXPECT_TRUE(pair.Until([&] { return joiner.GetStatus().waitingFor == 2; }));
    // Once a match ends, nobody is paused.
    host.TogglePause();
    host.EndMatch();
    EXPECT_EQ(host.GetStatus().pausedBy, -1);
}

TEST(XNetSessionTest, AComputerArrivingDuringAMatchWatchesItFromItsFirstFrameWithoutSteering) {
    Pair pair;
    XNetSession &host = pair.host, &joiner = pair.joiner;
    pair.Start();
    std::vector<XFrameInput> frames[3];
    auto run = [&](XNetSession& computer, std::vector<XFrameInput>& into) {
        XFrameInput local;
        local.Steer(0, into.size() % 3 == 0, into.size() % 5 == 0);
        if (computer.IsFrameReady())
            into.push_back(computer.Exchange(local));
    };
    ASSERT_TRUE(pair.Until([&] {
        run(host, frames[0]);
        run(joiner, frames[1]);
        return frames[1].size() >= 100;
    }));
    pair.late = std::make_unique<XNetSession>();
    XNetSession& late = *pair.late;
    late.Join("127.0.0.1", pair.port);
    XMenuData started;
    ASSERT_TRUE(pair.Until([&] { return late.TakeStart(&started); }));
    EXPECT_EQ(std::tuple(late.GetLobby().matchOn, late.GetLobby().seat), std::tuple(true, -1));
    late.BeginMatch(started);
    // It catches up with the others, who go on meanwhile, and runs just the frames they run.
    ASSERT_TRUE(pair.Until([&] {
        run(host, frames[0]);
        run(joiner, frames[1]);
        for (int i = 0; i < 50; ++i) run(late, frames[2]);
        return frames[2].size() >= 200 && frames[1].size() >= 200;
    }));
    EXPECT_TRUE(late.GetStatus().watching);
    for (auto& computer : frames) computer.resize(200);
    EXPECT_EQ(frames[2], frames[1]);
    EXPECT_EQ(frames[0], frames[1]);
    // Whoever pauses, the watcher is told too.
    joiner.TogglePause();
    EXPECT_TRUE(pair.Until([&] { return late.GetStatus().pausedBy == 1; }));
}
