#include <fstream>
#include <sstream>
#include <vector>

#include "base/ZRankList.h"
#include "round/XGame.h"
#include "shell/Shell.h"
#include "support/TestSupport.h"

namespace {

class XAppDataTest : public GameTest {
protected:
    void Frame() {
        if (visited.empty() || visited.back() != app->sceneState) {
            visited.push_back(app->sceneState);
        }
        machine.now += 40;
        RunFrame(*app);
    }
    // Runs frames until the scene state is reached; the states passed on the way are recorded.
    void Until(int32_t state) {
        for (int frames = 0; app->sceneState != state && frames < 20000; ++frames) {
            Frame();
        }
        ASSERT_EQ(app->sceneState, state);
        if (state == XAppData::kQuit) {
            return;
        }
        // A front-end scene takes keys once its fade-in is over and it has read them once.
        for (int i = 0; i < 22; ++i) {
            Frame();
        }
    }
    void Key(int scanCode, int times = 1) {
        for (int i = 0; i < times; ++i) {
            Press(scanCode);
            Frame();
            Release(scanCode);
            Frame();
        }
    }
    std::vector<int32_t> visited;
};

TEST_F(XAppDataTest, AWholeGameThroughEverySceneKeepsTheNewHighScoreAtExit) {
    machine.countPixels = false;
    app->sceneState = XAppData::kCreateLogo;
    Until(XAppData::kRunTitle);
    Key(kKeyReturn);
    Until(XAppData::kRunMenu);
    // One win ends the match; player 1 is the computer too.
    Key(kKeyUp, 6);
    Key(kKeyReturn, 2);
    Key(kKeyDown, 2);
    Key(kKeyReturn);
    Key(kKeyDown, 4);
    Key(kKeyReturn);
    Until(XAppData::kRunWinner);
    Key(kKeyReturn);
    Until(XAppData::kRunMenu);
    Key(kKeyEscape);
    Until(XAppData::kRunTitle);
    Key(kKeyDown);
    Key(kKeyReturn);
    Until(XAppData::kRunRanking);
    Key(kKeyReturn);
    // Player 1 alone, turning left now and then, paints more than the lowest entry and is asked for a name.
    for (int frames = 0;
         !(app->GetRoundScene() && app->GetRoundScene()->GetPhase() == XGame::kNameEntry) && frames < 5000;
         ++frames) {
        KeyboardEvent(kKeyLeft, frames % 50 < 20);
        Frame();
    }
    Release(kKeyLeft);
    ASSERT_NE(app->GetRoundScene(), nullptr);
    ASSERT_EQ(app->GetRoundScene()->GetPhase(), XGame::kNameEntry);
    for (int key : {20, 18, 31, 20, 18, 19, kKeyReturn}) {  // T E S T E R
        Key(key);
    }
    Until(XAppData::kRunRanking);
    const ZRankList* table = app->GetHighScores();
    int rank = 0;
    while (rank < 10 && !(table->GetItem(rank).GetName() == ZString("TESTER"))) {
        ++rank;
    }
    ASSERT_LT(rank, 10);
    EXPECT_GT(table->GetItem(rank).GetScore(), 50u);
    Key(kKeyEscape);
    Until(XAppData::kRunTitle);
    Key(kKeyDown);
    Key(kKeyReturn);
    Until(XAppData::kQuit);
    EXPECT_TRUE(IsQuitPosted());
    EXPECT_TRUE(machine.shownTexts.empty());

    const std::vector<int32_t> scenes = {
        XAppData::kCreateLogo,   XAppData::kRunLogo,   XAppData::kCreateTitle,   XAppData::kRunTitle,
        XAppData::kCreateMenu,   XAppData::kRunMenu,   XAppData::kCreateRound,   XAppData::kRunRound,
        XAppData::kCreateWinner, XAppData::kRunWinner, XAppData::kCreateMenu,    XAppData::kRunMenu,
        XAppData::kCreateTitle,  XAppData::kRunTitle,  XAppData::kCreateRanking, XAppData::kRunRanking,
        XAppData::kCreateRound,  XAppData::kRunRound,  XAppData::kCreateRanking, XAppData::kRunRanking,
        XAppData::kCreateTitle,  XAppData::kRunTitle};
    EXPECT_EQ(visited, scenes);
    char entry[32];
    std::snprintf(entry, sizeof entry, "\"Rank%02d\"=\"TESTER,%u\"", rank + 1,
                  table->GetItem(rank).GetScore());
    app.reset();
    std::stringstream saved;
    saved << std::ifstream(config.RegistryFile()).rdbuf();
    EXPECT_NE(saved.str().find(entry), std::string::npos) << saved.str();
}

}  // namespace
