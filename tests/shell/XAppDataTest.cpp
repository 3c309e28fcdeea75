#include <vector>

#include "base/ZRankList.h"
#include "round/XGame.h"
#include "shell/Shell.h"
#include "support/TestSupport.h"

class XAppDataTest : public GameTest {
protected:
    void Frame() {
        GameTest::Frame();
        if (app->sceneState % 2 == 1 && (created.empty() || created.back() != app->sceneState))
            created.push_back(app->sceneState);
    }
    // Runs frames until the scene state is reached and its screen has read the keys once after fading in.
    void Until(int32_t state) {
        for (int frames = 0; app->sceneState != state && frames < 20000; ++frames) Frame();
        ASSERT_EQ(app->sceneState, state);
        for (int i = 0; i < 22 && state != XAppData::kQuit; ++i) Frame();
    }
    // Each key down for a frame and up for the next; then, if given, Until the state.
    void Keys(std::initializer_list<int> scanCodes, int32_t then = -1) {
        for (int scanCode : scanCodes) {
            Press(scanCode);
            Frame();
            Release(scanCode);
            Frame();
        }
        if (then != -1)
            Until(then);
    }
    std::vector<int32_t> created;
};

TEST_F(XAppDataTest, AWholeGameThroughEverySceneKeepsTheNewHighScoreAtExit) {
    app->sceneState = XAppData::kCreateLogo;
    Until(XAppData::kRunTitle);
    Keys({kKeyReturn}, XAppData::kRunMenu);
    // One win ends the match; player 1 is the computer too.
    Keys({kKeyUp, kKeyUp, kKeyUp, kKeyUp, kKeyUp, kKeyUp, kKeyReturn, kKeyReturn, kKeyDown, kKeyDown,
          kKeyReturn, kKeyDown, kKeyDown, kKeyDown, kKeyDown, kKeyReturn}, XAppData::kRunWinner);
    Keys({kKeyReturn}, XAppData::kRunMenu);
    Keys({kKeyEscape}, XAppData::kRunTitle);
    Keys({kKeyDown, kKeyReturn}, XAppData::kRunRanking);
    Keys({kKeyReturn});
    // Player 1 alone, turning left now and then, paints more than the lowest entry and is asked for a name.
    for (int frames = 0;
         frames < 5000 && !(app->GetRoundScene() && app->GetRoundScene()->GetPhase() == XGame::kNameEntry);
         ++frames) {
        KeyboardEvent(kKeyLeft, frames % 50 < 20);
        Frame();
    }
    Release(kKeyLeft);
    TextEvent("Tester");
    Keys({kKeyReturn}, XAppData::kRunRanking);
    // The name entered the table: above the lowest entry, 5.0 per cent.
    auto tester = [](const ZRankList& table) {
        std::string line;
        for (uint32_t i = 0; i < table.GetCount(); ++i) {
            const ZRankItem& item = table.GetItem(i);
            if (item.GetName() == ZString("TESTER"))
                line = "=\"TESTER," + std::to_string(item.GetScore()) + "\"";
        }
        return line;
    };
    const std::string line = tester(*app->GetHighScores());
    ASSERT_NE(line, "");
    Keys({kKeyEscape}, XAppData::kRunTitle);
    Keys({kKeyDown, kKeyReturn}, XAppData::kQuit);
    EXPECT_TRUE(IsQuitPosted() && machine.shownTexts.empty());
    EXPECT_EQ(created, (std::vector<int32_t>{5, 9, 11, 13, 9, 5, 15, 11, 15, 5, 1}));  // the scenes, in order
    app.reset();
    const std::string saved = ReadFile(config.RegistryFile());
    EXPECT_NE(saved.find(line), std::string::npos) << saved;
    EXPECT_EQ(tester(*XAppData().GetHighScores()), line) << "the next start reads the table";
}
