#include "round/RoundTest.h"
#include "scenes/XWaiting.h"
#include "shell/Shell.h"
#include "shell/XMatchInput.h"
#include "shell/XSettings.h"

namespace {

// The other computers as the game sees them, scripted: from the 31st frame the computer plays player 3.
class FakeLink : public XMatchLink {
public:
    void Poll() override {}
    Lobby GetLobby() const override { return lobby; }
    bool TakeStart(XMenuData* settings) override {
        settings->SetControlType(2, 0);
        return started;
    }
    void BeginMatch(const XMenuData&) override { ++begun; }
    bool IsFrameReady() override { return ready; }
    bool WantsStateCheck() const override { return frames.size() % 25 == 24; }
    void CheckState(uint64_t sum) override { sums.push_back(sum); }
    XFrameInput Exchange(const XFrameInput& local) override {
        sent.push_back(local);
        frames.push_back({0, false, static_cast<uint8_t>(frames.size() >= 30 ? 4 : 0)});
        return frames.back();
    }
    std::string GetStopReason() const override { return stop; }
    void EndMatch() override { ++ended; }
    void Leave() override { lobby.closedReason = "you left the match"; }

    Lobby lobby;
    bool started = false, ready = true;
    int begun = 0, ended = 0;
    std::vector<XFrameInput> sent, frames;
    std::vector<uint64_t> sums;
    std::string stop;
};

}  // namespace

using XMatchLinkTest = RoundTest;

TEST_F(XMatchLinkTest, AJoinerWaitsInTheGamesLettersThenPlaysTheHostsMatchOrLeavesForTheTitle) {
    auto owned = std::make_unique<FakeLink>();
    FakeLink* link = owned.get();
    app->GetMatchInput()->SetLink(std::move(owned));
    app->sceneState = XAppData::kCreateMenu;
    app->UpdateFrame();
    ASSERT_NE(app->GetWaitingScene(), nullptr);
    app->UpdateFrame();
    EXPECT_EQ(CountPixels(*Back(), {0, 0, 640, 480}, 0), 640 * 480) << "the fade-in starts black";
    for (int i = 0; i < 20; ++i) app->UpdateFrame();
    using Lines = std::vector<std::string>;
    const std::pair<XMatchLink::Lobby, Lines> cases[] = {
        {{}, {"CONNECTING TO THE HOST", "", "ESCAPE LEAVES"}},
        {{false, true, 2, 14, 6, 0, "", 0},
         {"YOU ARE PLAYER 3", "JOINED 2 3", "WAITING FOR THE HOST TO START", "ESCAPE LEAVES"}},
        {{false, false, 2, 14, 6, 0, "the host has left", 0}, {"the host has left", "", "PRESS RETURN"}}};
    for (const auto& [lobby, lines] : cases) {
        link->lobby = lobby;
        app->UpdateFrame();
        EXPECT_EQ(app->GetWaitingScene()->GetLines(), lines);
        // The first line in the game's letters, on black below the moving band.
        EXPECT_GT(640 * 18 - CountPixels(*Back(), {0, 270, 640, 288}, 0), 100);
    }
    link->lobby.closedReason.clear();
    link->started = true;
    for (int i = 0; i < 25; ++i) app->UpdateFrame();
    EXPECT_EQ(std::tuple(app->sceneState, app->GetMenuSettings()->GetControlType(2)),
              std::tuple(XAppData::kRunRound, 0));
    // The frame loop holds the round while the other computers' input is missing, and goes on at once after.
    for (bool ready : {false, true}) {
        link->ready = ready;
        size_t presents = machine.presents.size(), frames = link->frames.size();
        machine.now += 40;
        RunFrame(*app);
        EXPECT_EQ(std::pair(machine.presents.size() - presents, link->frames.size() - frames),
                  std::pair(size_t{ready}, size_t{ready}));
    }
    app->sceneState = XAppData::kCreateMenu;
    link->started = false;
    link->lobby.closedReason = "the host has left";
    for (int i = 0; i < 25; ++i) app->UpdateFrame();
    Tap(kKeyReturn);
    for (int i = 0; i < 25; ++i) app->UpdateFrame();
    EXPECT_EQ(std::tuple(app->sceneState, app->GetMatchInput()->GetLink()),
              std::tuple(XAppData::kRunTitle, nullptr));
}

TEST_F(XMatchLinkTest, AnOnlineRoundSendsPlayerOnesKeysHandsSeatsToTheComputerAndStopsWhenTheLinkDoes) {
    auto owned = std::make_unique<FakeLink>();
    FakeLink* link = owned.get();
    app->GetMatchInput()->SetLink(std::move(owned));
    Start(true, true, 1, {1, 0, 0, 1});
    Press(app->GetSettings()->steeringKeys[0][0]);
    for (int i = 1; i < 30; ++i) game->UpdateFrame();
    EXPECT_EQ(std::tuple(link->begun, link->sums.size(), P(2)->GetControlType(), link->sent.back().IsLeft(0)),
              std::tuple(1, 1u, XPlayerChara::kHuman, true));
    game->UpdateFrame();
    EXPECT_EQ(P(2)->GetControlType(), XPlayerChara::kComputer);
    link->stop = "the host has left";
    for (int i = 0; i < 25; ++i) game->UpdateFrame();
    EXPECT_EQ(std::tuple(game->IsAborted(), app->sceneState, link->ended),
              std::tuple(true, XAppData::kCreateMenu, 1));
}
