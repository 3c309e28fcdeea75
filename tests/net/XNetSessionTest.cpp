#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <unistd.h>

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
                joiner.Join("127.0.0.1", port);
                break;
            }
        }
    }
    bool Until(const std::function<bool()>& done) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            host.Service(2);
            joiner.Service(2);
        }
        return true;
    }
    XMenuData settings;
    XNetSession host, joiner;
};

}  // namespace

TEST(XNetSessionTest, EitherSidesPauseKeyPausesBothNamingWhoAndTheJoinerHearsWhomTheHostWaitsFor) {
    Pair pair;
    XNetSession &host = pair.host, &joiner = pair.joiner;
    ASSERT_TRUE(pair.Until([&] { return joiner.GetLobby().seat == 1; }));
    host.BeginMatch(pair.settings);
    XMenuData started;
    ASSERT_TRUE(pair.Until([&] { return joiner.TakeStart(&started); }));
    joiner.BeginMatch(started);
    // Who presses, and who has paused after it on both computers.
    const std::pair<XNetSession*, int> presses[] = {{&joiner, 1}, {&host, -1}, {&host, 0}, {&joiner, -1}};
    for (const auto& [who, pausedBy] : presses) {
        who->TogglePause();
        EXPECT_TRUE(pair.Until([&] {
            return host.GetStatus().pausedBy == pausedBy && joiner.GetStatus().pausedBy == pausedBy;
        })) << (who == &host ? "host " : "joiner ") << pausedBy;
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
