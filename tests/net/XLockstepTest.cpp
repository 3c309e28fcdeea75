#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "net/XLockstep.h"

namespace {

// A host on seat 0 and joiners on seats 1 and 2, wired directly; one in loseEvery unreliable packets is lost.
struct Table {
    explicit Table(uint32_t delay, int loseEvery = 0) : loseEvery(loseEvery) {
        computers.push_back(std::make_unique<XLockstep>(true, 1, delay, 1, 6, 8));
        for (int seat = 1; seat <= 2; ++seat) {
            computers.push_back(std::make_unique<XLockstep>(false, 1, delay, 1 << seat, 0, 0));
        }
    }
    void Deliver(uint32_t now) {
        for (int from = 0; from < 3; ++from) {
            for (XLockstep::Packet& packet : computers[from]->TakePackets(now)) {
                random = random * 1664525u + 1013904223u;
                if (!packet.reliable && loseEvery && (random >> 16) % loseEvery == 0)
                    continue;
                XLockstep& to = *computers[from == 0 ? packet.seat : 0];
                to.Receive(from == 0 ? packet.seat : from, packet.bytes);
            }
        }
    }
    // Runs every computer whose next frame is ready, each steering left on odd frames.
    void Step(uint32_t now) {
        for (size_t i = 0; i < computers.size(); ++i) {
            XLockstep& computer = *computers[i];
            if (!computer.IsFrameReady() || computer.GetNextFrame() > 200)
                continue;
            XFrameInput local;
            local.Steer(i == 0 ? 0 : static_cast<int>(i), computer.GetNextFrame() % 2 == 1, false);
            frames[i].push_back(computer.Exchange(local));
        }
        Deliver(now);
    }
    std::vector<std::unique_ptr<XLockstep>> computers;
    std::vector<XFrameInput> frames[3];
    int loseEvery;
    uint32_t random = 1;
};

}  // namespace

TEST(XLockstepTest, TheHostRunsOnlyTheDelayAheadOfWhatTheJoinersSent) {
    for (uint32_t delay : {2u, 4u}) {
        Table table(delay);
        XLockstep& host = *table.computers[0];
        for (uint32_t frame = 1; frame <= delay; ++frame) {
            ASSERT_TRUE(host.IsFrameReady());
            host.Exchange({});
        }
        EXPECT_FALSE(host.IsFrameReady()) << delay;
        // Whom it waits for, also as the joiners hear it from the host.
        table.Deliver(0);
        EXPECT_EQ(std::tuple(host.GetWaitingFor(), table.computers[1]->GetWaitingFor()), std::tuple(6, 6));
        table.Step(1);
        EXPECT_TRUE(host.IsFrameReady()) << delay;
        EXPECT_EQ(host.GetWaitingFor(), 0);
    }
}

TEST(XLockstepTest, EveryComputerRunsTheSameFramesWithTheInputDelayedThroughLossAndADroppedSeat) {
    // Loss pattern, and the host's frame at which seat 2 is dropped (0 none).
    for (auto [loseEvery, dropAt] : {std::pair(0, 0u), {2, 0u}, {3, 60u}}) {
        Table table(3, loseEvery);
        bool seat2Gone = dropAt != 0;
        auto behind = [&](size_t i) {
            return table.frames[i].size() < 200 && !(seat2Gone && i == 2) &&
                   table.computers[i]->GetStopReason().empty();
        };
        for (uint32_t now = 0; now < 20000 && (behind(0) || behind(1) || behind(2)); now += 5) {
            if (dropAt && table.frames[0].size() == dropAt) {
                table.computers[0]->DropSeat(2);
            }
            table.Step(now);
        }
        SCOPED_TRACE(loseEvery);
        const auto& host = table.frames[0];
        ASSERT_EQ(host.size(), 200u);
        EXPECT_EQ(table.frames[1], host);
        if (!seat2Gone) {
            EXPECT_EQ(table.frames[2], host);
        }
        // Seat 3 was the computer's from the start; seat 1 steers left on odd frames, three frames late.
        uint32_t dropFrame = table.computers[0]->GetDropFrame(2);
        for (uint32_t frame = 1; frame <= host.size(); ++frame) {
            const XFrameInput& input = host[frame - 1];
            EXPECT_EQ(input.IsLeft(1), frame > 3 && frame % 2 == 0) << frame;
            EXPECT_EQ(input.computerSeats, dropFrame && frame >= dropFrame ? 12 : 8) << frame;
        }
        EXPECT_EQ(dropFrame != 0, seat2Gone);
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(table.computers[i]->GetLeftSeats(), seat2Gone ? 4 : 0) << "taken over, not unseated";
        }
    }
}

TEST(XLockstepTest,
     TheNextSendIsDueForFreshOrUnacknowledgedFramesOrBeforeSilenceAndNoUnsentFrameIsAcknowledged) {
    Table table(2);
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
    for (int i = 1; i < 3; ++i) {
        for (XLockstep::Packet& packet : table.computers[i]->TakePackets(0)) host.Receive(i, packet.bytes);
    }
    EXPECT_EQ(host.UntilSendDue(10), XLockstep::kKeepAliveMs - 10);
    XLockstep& joiner = *table.computers[1];
    EXPECT_EQ(joiner.UntilSendDue(0), XLockstep::kKeepAliveMs);
    joiner.Exchange({});
    EXPECT_EQ(joiner.UntilSendDue(0), 0u) << "its input for a frame to come";
}

// Four computers guessing, over a line that delays each packet by its own time (so packets overtake each
// other), doubles some, loses some, and may fall silent for a while. Each computer's round is a hash of the
// inputs it ran, with its state before every frame kept as the snapshots are; it runs a frame every 40 ms
// when it may, and runs frames again when told a guess was wrong.
TEST(XLockstepTest, GuessingComputersEndAsThePlainRunOfTheHostsBundlesWithTheirOwnInputAtOnce) {
    struct Line {
        uint32_t delay, jitter, losePercent, doublePercent, silentFrom, silentMs;
    };
    const Line lines[] = {{1, 0, 0, 0, 0, 0},        {100, 20, 5, 0, 0, 0}, {60, 50, 10, 10, 0, 0},
                          {30, 10, 0, 20, 2000, 1500}, {200, 40, 5, 5, 0, 0}};
    auto fold = [](uint64_t state, const XFrameInput& input) {
        return (state ^ (input.steering | input.escape << 8 | input.computerSeats << 9)) * 1099511628211ULL;
    };
    uint32_t random = 7;
    auto draw = [&](uint32_t n) { return (random = random * 1664525u + 1013904223u) >> 8 & 0xffff % n; };
    for (const Line& line : lines) {
        // Two matches in a row: what is still on the line from the first is not the second's.
        std::multimap<uint32_t, std::tuple<int, int, std::string>> inFlight;
        for (uint16_t match : {1, 2}) {
            SCOPED_TRACE(std::to_string(line.delay) + " ms, match " + std::to_string(match));
            std::vector<std::unique_ptr<XLockstep>> computers;
            computers.push_back(std::make_unique<XLockstep>(true, match, 0, 1, 14, 0, 15));
            for (int seat = 1; seat < 4; ++seat)
                computers.push_back(std::make_unique<XLockstep>(false, match, 0, 1 << seat, 0, 0, 15));
            std::vector<uint64_t> states[4];
            int ownWrong = 0, deepest = 0;
            for (auto& s : states) s.push_back(1);
            const uint32_t kFrames = 300;
            for (uint32_t now = 0; now < 60000; ++now) {
                bool silent = now >= line.silentFrom && now < line.silentFrom + line.silentMs;
                for (auto it = inFlight.begin(); it != inFlight.end() && it->first <= now;) {
                    auto& [from, to, bytes] = it->second;
                    computers[to]->Receive(to == 0 ? from : to, bytes);
                    it = inFlight.erase(it);
                }
                for (int i = 0; i < 4; ++i) {
                    XLockstep& computer = *computers[i];
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
                        XFrameInput ran = computer.Exchange(local);
                        ownWrong += (ran.steering >> 2 * i & 3) != (local.steering >> 2 * i & 3);
                        states[i].push_back(fold(states[i].back(), ran));
                    }
                    for (XLockstep::Packet& packet : computer.TakePackets(now)) {
                        bool lost = !packet.reliable && (draw(100) < line.losePercent || (silent && i == 2) ||
                                                         (silent && packet.seat == 2));
                        for (int copy = draw(100) < line.doublePercent ? 2 : 1; !lost && copy > 0; --copy)
                            inFlight.emplace(now + line.delay + draw(2 * line.jitter + 1) - line.jitter,
                                             std::tuple(i, i == 0 ? packet.seat : 0, packet.bytes));
                    }
                }
                bool done = true;
                for (auto& computer : computers) done = done && computer->IsConfirmed(kFrames) &&
                                                        computer->GetNextFrame() > kFrames;
                if (done) break;
            }
            // The plain run: the host's bundles one after the other.
            uint64_t plain = 1;
            for (uint32_t frame = 1; frame <= kFrames; ++frame) {
                ASSERT_TRUE(computers[0]->IsConfirmed(frame));
                plain = fold(plain, computers[0]->Rerun(frame));
            }
            for (int i = 0; i < 4; ++i) {
                ASSERT_EQ(states[i].size(), kFrames + 1) << i;
                EXPECT_EQ(states[i].back(), plain) << i;
            }
            EXPECT_EQ(ownWrong, 0) << "a computer's own seat steers as its keys on the frame they are read";
            EXPECT_LE(deepest, 15);
        }
    }
}
