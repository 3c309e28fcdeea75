#include <gtest/gtest.h>
#include <malloc.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "net/XLockstep.h"

namespace {

// A host on seat 0 and joiners on seats 1 and 2, an input delay of 2 frames.
struct Table {
    Table() {
        computers.push_back(std::make_unique<XLockstep>(true, 1, 2, 1, 6, 8));
        for (int seat = 1; seat <= 2; ++seat)
            computers.push_back(std::make_unique<XLockstep>(false, 1, 2, 1 << seat, 0, 0));
    }
    std::vector<std::unique_ptr<XLockstep>> computers;
};

}  // namespace

TEST(XLockstepTest,
     TheNextSendIsDueForFreshOrUnacknowledgedFramesOrBeforeSilenceAndNoUnsentFrameIsAcknowledged) {
    Table table;
    XLockstep& host = *table.computers[0];
    // Never sent, sent and unacknowledged, acknowledged, a fresh bundle.
    EXPECT_EQ(host.UntilSendDue(0), 0u);
    // A joiner claims to hold every bundle there could be: it is believed up to the two the host has made.
    host.Receive(1, std::string{'I', 1, 0, '\xff', '\xff', '\xff', '\xff', 3, 0, 0, 0, 0});
    auto packets = host.TakePackets(0);
    ASSERT_FALSE(packets.empty());
    EXPECT_EQ(packets[0].bytes.substr(7, 5), std::string({3, 0, 0, 0, 0}));
    for (XLockstep::Packet& packet : packets)
        table.computers[packet.seat]->Receive(packet.seat, packet.bytes);
    EXPECT_EQ(host.UntilSendDue(10), XLockstep::kResendMs - 10);
    EXPECT_EQ(host.UntilSendDue(XLockstep::kResendMs + 5), 0u);
    for (int i = 1; i < 3; ++i)
        for (XLockstep::Packet& packet : table.computers[i]->TakePackets(0)) host.Receive(i, packet.bytes);
    EXPECT_EQ(host.UntilSendDue(10), XLockstep::kKeepAliveMs - 10);
    XLockstep& joiner = *table.computers[1];
    EXPECT_EQ(joiner.UntilSendDue(0), XLockstep::kKeepAliveMs);
    joiner.Exchange({});
    EXPECT_EQ(joiner.UntilSendDue(0), 0u) << "its input for a frame to come";
    // A frame 16 million ahead, from a joiner or from the host, is nobody's: no table grows for it.
    auto held = [] { return static_cast<long>(mallinfo2().uordblks + mallinfo2().hblkhd); };
    const long before = held();
    host.Receive(1, std::string{'I', 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1});
    joiner.Receive(0, std::string{'B', 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0});
    EXPECT_LT(held() - before, 4096);
    // What a joiner says it holds is believed as far as it goes: the next packet brings the rest.
    Table other;
    other.computers[0]->Receive(1, std::string{'I', 1, 0, 1, 0, 0, 0, 3, 0, 0, 0, 0});
    EXPECT_EQ(other.computers[0]->TakePackets(0)[0].bytes.substr(7, 5), std::string({2, 0, 0, 0, 1}));
}

// Four computers, over a line that delays each packet by its own time (so packets overtake each other),
// doubles some, loses some, and may fall silent for a while. Each one's round is a hash of the inputs it
// ran, with its state before every frame kept as the snapshots are; it runs a frame every 40 ms when it may,
// and runs frames again when told a guess was wrong. Guessing (delay 0), or in plain lockstep with a delay;
// the host may hand seat 3 to the computer, whose own computer then vanishes.
TEST(XLockstepTest, EveryComputerEndsAsThePlainRunOfTheHostsBundlesWithItsOwnInputAtOnceOrDelayed) {
    struct Line {
        uint32_t inputDelay, delay, jitter, losePercent, doublePercent, silentFrom, silentMs, dropAt;
    };
    const Line lines[] = {{0, 1, 0, 0, 0, 0, 0, 0},     {0, 100, 20, 5, 0, 0, 0, 0},   {0, 60, 50, 10, 10, 0, 0, 0},
                          {0, 30, 10, 0, 20, 2000, 1500, 0}, {0, 200, 40, 5, 5, 0, 0, 0}, {0, 100, 20, 5, 0, 0, 0, 3000},
                          {3, 20, 5, 33, 0, 0, 0, 2400}};
    auto fold = [](uint64_t state, const XFrameInput& input) {
        return (state ^ (input.steering | input.escape << 8 | input.computerSeats << 9)) * 1099511628211ULL;
    };
    uint32_t random = 7;
    auto draw = [&](uint32_t n) { return ((random = random * 1664525u + 1013904223u) >> 8) % n; };
    const uint32_t kFrames = 300;
    for (const Line& line : lines) {
        // Two matches in a row: what is still on the line from the first is not the second's.
        std::multimap<uint32_t, std::tuple<int, int, std::string>> inFlight;
        for (uint16_t match : {1, 2}) {
            SCOPED_TRACE(std::to_string(line.delay) + " ms, match " + std::to_string(match));
            uint32_t guess = line.inputDelay ? 0 : 15, delay = line.inputDelay;
            std::vector<std::unique_ptr<XLockstep>> computers;
            computers.push_back(std::make_unique<XLockstep>(true, match, delay, 1, 14, 0, guess));
            for (int seat = 1; seat < 4; ++seat)
                computers.push_back(std::make_unique<XLockstep>(false, match, delay, 1 << seat, 0, 0, guess));
            std::vector<uint64_t> states[4];
            std::vector<uint8_t> keys[4];
            int ownWrong = 0, deepest = 0, guessedEscapes = 0;
            for (auto& s : states) s.push_back(1);
            auto gone = [&](int i) { return i == 3 && line.dropAt; };
            for (uint32_t now = 0; now < 60000; ++now) {
                if (line.dropAt && now == line.dropAt) computers[0]->DropSeat(3);
                for (auto it = inFlight.begin(); it != inFlight.end() && it->first <= now;) {
                    auto& [from, to, bytes] = it->second;
                    computers[to]->Receive(to == 0 ? from : to, bytes);
                    it = inFlight.erase(it);
                }
                for (int i = 0; i < 4; ++i) {
                    XLockstep& computer = *computers[i];
                    if (gone(i) && now >= line.dropAt) continue;
                    if (uint32_t from = computer.TakeCorrection()) {
                        deepest = std::max(deepest, static_cast<int>(states[i].size() - from));
                        states[i].resize(from);
                        for (uint32_t frame = from; frame < computer.GetNextFrame(); ++frame)
                            states[i].push_back(fold(states[i].back(), computer.Rerun(frame)));
                    }
                    uint32_t next = computer.GetNextFrame();
                    if (now % 40 == static_cast<uint32_t>(i) && next <= kFrames && computer.IsFrameReady()) {
                        XFrameInput local;
                        local.Steer(i, draw(3) == 0, draw(3) == 0);
                        local.escape = i == 0 && next % 97 == 0;  // the host's Escape, now and then
                        keys[i].push_back((local.steering >> 2 * i & 3) | local.escape << 2);
                        XFrameInput ran = computer.Exchange(local);
                        int own = (ran.steering >> 2 * i & 3) | (i == 0 && ran.escape) << 2;
                        ownWrong += own != (next > delay ? keys[i][next - delay - 1] : 0);
                        // A guess never presses the host's Escape, which would flash the pause banner.
                        guessedEscapes += i != 0 && ran.escape && !computer.IsConfirmed(next);
                        states[i].push_back(fold(states[i].back(), ran));
                    }
                    for (XLockstep::Packet& packet : computer.TakePackets(now)) {
                        bool silent = (i == 2 || packet.seat == 2) && now - line.silentFrom < line.silentMs;
                        bool lost = !packet.reliable && (draw(100) < line.losePercent || silent);
                        for (int copy = draw(100) < line.doublePercent ? 2 : 1; !lost && copy > 0; --copy)
                            inFlight.emplace(now + line.delay + draw(2 * line.jitter + 1) - line.jitter,
                                             std::tuple(i, i == 0 ? packet.seat : 0, packet.bytes));
                    }
                }
                auto done = [&](int i) { return gone(i) || (computers[i]->IsConfirmed(kFrames) && states[i].size() > kFrames); };
                if (done(0) && done(1) && done(2) && done(3)) break;
            }
            // The plain run: the host's bundles one after the other.
            uint64_t plain = 1;
            uint32_t dropFrame = computers[0]->GetDropFrame(3);
            for (uint32_t frame = 1; frame <= kFrames; ++frame) {
                ASSERT_TRUE(computers[0]->IsConfirmed(frame));
                XFrameInput bundle = computers[0]->Rerun(frame);
                EXPECT_EQ(bundle.computerSeats, dropFrame && frame >= dropFrame ? 8 : 0) << frame;
                plain = fold(plain, bundle);
            }
            for (int i = 0; i < 4 - (line.dropAt != 0); ++i) {
                ASSERT_EQ(states[i].size(), kFrames + 1) << i;
                EXPECT_EQ(std::tuple(states[i].back(), computers[i]->GetLeftSeats()),
                          std::tuple(plain, line.dropAt ? 8 : 0)) << i;
            }
            EXPECT_EQ(std::tuple(dropFrame != 0, ownWrong, guessedEscapes),
                      std::tuple(line.dropAt != 0, 0, 0));
            EXPECT_LE(deepest, 15);
            EXPECT_EQ(computers[0]->Rerun(kFrames + 1), XFrameInput{}) << "a frame not yet run has no input";
        }
    }
}
