#include "scenes/XRanking.h"

#include "base/ZRankList.h"
#include "input/Input.h"
#include "scenes/SceneTestSupport.h"
#include "shell/XMenuData.h"

namespace {

constexpr uint8_t kBandColour = 3;
constexpr uint8_t kRankColour = 100;   // rank sheet frames 0 to 11: 100 to 111
constexpr uint8_t kScoreColour = 130;  // score sheet frames 0 to 11: 130 to 141
constexpr uint8_t kPlateColour = 50;
constexpr uint8_t kPercentColour = 51;

class XRankingTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        InstallBitmap(200, 640, 238, [](int, int) { return kBandColour; });
        InstallKeyedPlain(245, 284, 46, 60);
        InstallBitmap(243, 180, 25, [](int, int) { return kPlateColour; });
        InstallKeyedPlain(218, 16, 17, kPercentColour);
        InstallKeyedSheet(244, 24, 25, 12, kRankColour);
        InstallKeyedSheet(104, 14, 22, 12, kScoreColour);
        InstallKeyedSheet(135, 17, 28, 2, 70);
        InstallKeyedSheet(136, 17, 28, 2, 72);
        InstallKeyedPlain(139, 82, 30, 80);
        InstallKeyedPlain(203, 71, 29, 81);
        // The names stay out of the picture: their font draws nothing.
        OverrideResource(ResourceType::Bitmap, 106, {});
    }
    // The colour in the middle of a digit cell of the given sheet.
    uint8_t RankCell(int x, int y) const { return GetBackSurface()->GetPixel(x + 12, y + 12); }
    uint8_t ScoreCell(int x, int y) const { return GetBackSurface()->GetPixel(x + 7, y + 11); }
};

TEST_F(XRankingTest, TableShowsRanksPlatesAndScoresAsPercentages) {
    ZRankList& table = *app->GetHighScores();
    table.GetItem(0).SetScore(500);
    table.GetItem(9).SetScore(45);
    XRanking ranking(app.get());
    RunFrames(ranking, 22);

    // Row 0 at y 84: rank 1 in the right one of two cells from x 146.
    EXPECT_EQ(RankCell(146, 84), kBandColour);
    EXPECT_EQ(RankCell(170, 84), kRankColour + 1);
    // The plate 10 pixels behind the rank: x 204 to 383.
    EXPECT_EQ(GetBackSurface()->GetPixel(203, 90), kBandColour);
    EXPECT_EQ(GetBackSurface()->GetPixel(204, 90), kPlateColour);
    EXPECT_EQ(GetBackSurface()->GetPixel(383, 90), kPlateColour);
    // 500 reads 50.0% from x 394, 2 pixels lower.
    EXPECT_EQ(ScoreCell(394, 86), kScoreColour + 5);
    EXPECT_EQ(ScoreCell(408, 86), kScoreColour + 0);
    EXPECT_EQ(ScoreCell(422, 86), kScoreColour + 11) << "the point";
    EXPECT_EQ(ScoreCell(436, 86), kScoreColour + 0);
    EXPECT_EQ(GetBackSurface()->GetPixel(452 + 8, 89 + 8), kPercentColour);

    // Row 1 (450): 45.0.
    EXPECT_EQ(ScoreCell(394, 116), kScoreColour + 4);
    EXPECT_EQ(ScoreCell(408, 116), kScoreColour + 5);

    // Row 9 at y 354: rank 10 fills both cells; 45 reads 4.5% with the first cell blank.
    EXPECT_EQ(RankCell(146, 354), kRankColour + 1);
    EXPECT_EQ(RankCell(170, 354), kRankColour + 0);
    EXPECT_EQ(ScoreCell(394, 356), kBandColour);
    EXPECT_EQ(ScoreCell(408, 356), kScoreColour + 4);
    EXPECT_EQ(ScoreCell(422, 356), kScoreColour + 11);
    EXPECT_EQ(ScoreCell(436, 356), kScoreColour + 5);
    EXPECT_EQ(GetBackSurface()->GetPixel(452 + 8, 359 + 8), kPercentColour);
    EXPECT_EQ(GetBackSurface()->GetPixel(204, 384 + 5), kBandColour) << "ten rows only";
}

TEST_F(XRankingTest, AFullFieldScoreKeepsItsHundreds) {
    app->GetHighScores()->GetItem(0).SetScore(1000);
    XRanking ranking(app.get());
    RunFrames(ranking, 22);
    EXPECT_EQ(ScoreCell(394, 86), kScoreColour + 1);
    EXPECT_EQ(ScoreCell(408, 86), kScoreColour + 0);
    EXPECT_EQ(ScoreCell(422, 86), kScoreColour + 0);
    EXPECT_EQ(ScoreCell(436, 86), kScoreColour + 11);
    EXPECT_EQ(ScoreCell(450, 86), kScoreColour + 0);
}

TEST_F(XRankingTest, StartPlaysARankingRoundBackAndEscapeReturnToTheTitle) {
    struct Case {
        int moves;
        int key;
        int32_t state;
    };
    const Case cases[] = {
        {0, kKeyReturn, XAppData::kCreateRound},
        {1, kKeyReturn, XAppData::kCreateTitle},
        {2, kKeySpace, XAppData::kCreateRound},  // down from BACK wraps to START
        {0, kKeyEscape, XAppData::kCreateTitle},
    };
    app->GetMenuSettings()->SetBattleMode(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moves * 1000 + c.key);
        app->sceneState = XAppData::kRunRanking;
        XRanking ranking(app.get());
        EXPECT_EQ(ranking.GetCursor(), XRanking::kEntryStart);
        RunFrames(ranking, 21);
        for (int i = 0; i < c.moves; ++i) {
            PressFor(ranking, kKeyDown);
        }
        PressFor(ranking, c.key);
        RunFrames(ranking, 18);
        EXPECT_EQ(app->sceneState, XAppData::kRunRanking);
        ranking.UpdateFrame();
        EXPECT_EQ(app->sceneState, c.state);
        EXPECT_EQ(app->GetMenuSettings()->IsBattleMode(), 0) << "a ranking round, not a match";
    }
    XRanking ranking(app.get());
    RunFrames(ranking, 21);
    PressFor(ranking, kKeyUp);
    EXPECT_EQ(ranking.GetCursor(), XRanking::kEntryBack);
    // Markers around BACK (71 wide, centred at (320, 454)).
    EXPECT_EQ(GetBackSurface()->GetPixel(285 - 12, 454), 70);
    EXPECT_EQ(GetBackSurface()->GetPixel(285 + 71 + 11, 454), 72);
}

}  // namespace
