#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "shell/XMatchInput.h"
#include "shell/XMatchLink.h"
#include "shell/XMenuData.h"
#include "support/FakeMachine.h"

// The other computers as the game sees them, scripted: from the 31st frame the computer plays player 3.
class FakeLink : public XMatchLink {
public:
    void Poll() override { ++polls; }
    // Time passes on the machine's clock; nothing arrives early.
    void Wait(uint32_t timeoutMs) override {
        waits.push_back(timeoutMs);
        FakeMachine::Current()->now += timeoutMs;
        if (onWait)
            onWait(FakeMachine::Current()->now);
    }
    Lobby GetLobby() const override { return lobby; }
    bool TakeStart(XMenuData* settings) override {
        settings->SetControlType(2, 0);
        return started;
    }
    void BeginMatch(const XMenuData&) override { ++begun; }
    bool IsFrameReady(bool holding) override { return held = holding, ready; }
    bool IsConfirmed(uint32_t) const override { return confirmed; }
    bool WantsStateCheck(uint32_t frame) const override { return frame % 25 == 0; }
    void CheckState(uint32_t, uint64_t sum) override { sums.push_back(sum); }
    XFrameInput Exchange(const XFrameInput& local) override {
        sent.push_back(local);
        status.framesHeld -= status.framesHeld > 0;
        frames.push_back({0, false, static_cast<uint8_t>(frames.size() >= 30 ? 4 : 0)});
        if (guess) frames.back() = guess(static_cast<uint32_t>(frames.size()));
        return frames.back();
    }
    // Guessing: Exchange gives guess's input, and a correction runs frames again with truth's.
    uint32_t TakeCorrection() override { return std::exchange(correction, 0); }
    XFrameInput Rerun(uint32_t frame) override { return frames[frame - 1] = truth(frame); }
    std::string GetStopReason() const override { return stop; }
    Status GetStatus() const override { return status; }
    // The host's way: the pause is everyone's at once.
    void TogglePause() override { status.pausedBy = status.pausedBy < 0 ? 0 : -1; }
    void EndMatch() override { ++ended; }
    void Leave() override { lobby.closedReason = "you left the match"; }

    Lobby lobby;
    bool started = false, ready = true, held = false, confirmed = true;
    int begun = 0, ended = 0, polls = 0;
    std::vector<XFrameInput> sent, frames;
    std::vector<uint64_t> sums;
    std::vector<uint32_t> waits;
    std::string stop;
    Status status;
    // What the others do meanwhile, by the machine's clock.
    std::function<void(uint32_t now)> onWait;
    std::function<XFrameInput(uint32_t frame)> guess, truth;
    uint32_t correction = 0;
};

// A new fake link handed to the match input, which owns it.
inline FakeLink* GiveLink(XMatchInput& input) {
    auto owned = std::make_unique<FakeLink>();
    FakeLink* link = owned.get();
    input.SetLink(std::move(owned));
    return link;
}
