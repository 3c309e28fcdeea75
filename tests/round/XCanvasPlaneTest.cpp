#include "round/RoundTest.h"
#include "round/XCanvasPlane.h"

namespace {

class XCanvasPlaneTest : public RoundTest {
protected:
    void SetUp() override {
        RoundTest::SetUp();
        canvas = std::make_unique<XCanvasPlane>(app.get());
    }
    void TearDown() override {
        canvas.reset();
        RoundTest::TearDown();
    }
    XCanvasPlane::AreaCount Count() const { return canvas->CountArea(kColours); }
    std::unique_ptr<XCanvasPlane> canvas;
};

TEST_F(XCanvasPlaneTest, EveryColourIsCountedInsideTheOnePixelRimOfTheField) {
    EXPECT_EQ(Count().total, 0) << "no field yet: nothing counted, nothing to divide by";
    canvas->Reset();
    EXPECT_EQ(Count().total, 638 * 446);
    EXPECT_EQ(Count().counts, (std::array<int32_t, 4>{0, 0, 0, 0})) << "the clean field is nobody's";
    Surface* field = canvas->GetFieldSurface();
    field->ColourFill(nullptr, kColours[2]);  // as far as paint reaches
    EXPECT_EQ(Count().counts, (std::array<int32_t, 4>{0, 0, 630 * 438, 0}));
    // The strip between the paint and the rim counts; the rim does not.
    field->ClearClipRect();
    const int pixels[][3] = {{100, 0, 0}, {639, 200, 0}, {5, 447, 0}, {0, 9, 0},
                             {1, 1, 1},   {638, 446, 1}, {3, 3, 3}};
    for (const auto& p : pixels) {
        field->Row(p[1])[p[0]] = kColours[p[2]];
    }
    EXPECT_EQ(Count().counts, (std::array<int32_t, 4>{0, 2, 630 * 438, 1}));
    // Painters sharing a colour both count it.
    EXPECT_EQ(canvas->CountArea({kColours[1], kColours[3], kColours[3], 99}).counts,
              (std::array<int32_t, 4>{2, 1, 1, 0}));
}

TEST_F(XCanvasPlaneTest, StampsAreCutAtThePaintRectangleAndEachResetStartsAfresh) {
    canvas->Reset();
    Surface* field = canvas->GetFieldSurface();
    ZSprite256 brush(110, 1);
    for (auto [x, y] : {std::pair{5, 5}, std::pair{634, 442}}) {
        brush.SetCentre(x, y);
        brush.Draw(field);
    }
    // A quarter of each disc lands, inside the paint rectangle only.
    EXPECT_EQ(CountPixels(*field, Rect{5, 5, 635, 443}, kColours[0]), Count().counts[0]);
    EXPECT_EQ(field->GetPixel(5, 5), kColours[0]);
    EXPECT_NE(field->GetPixel(4, 5), kColours[0]);
    EXPECT_NE(field->GetPixel(5, 4), kColours[0]);
    EXPECT_EQ(field->GetPixel(634, 442), kColours[0]);
    EXPECT_NE(field->GetPixel(635, 442), kColours[0]);
    EXPECT_NE(field->GetPixel(634, 443), kColours[0]);
    EXPECT_GT(Count().counts[0], 2 * 150);
    canvas->Reset();
    EXPECT_EQ(Count().counts[0], 0);
    // Drawn opaque at the top of the screen, the field covers it down to the timer bar.
    Back()->ColourFill(nullptr, 0);
    canvas->Draw(0, 0, Back());
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 448}, canvas->GetFieldSprite()->GetColourKey()),
              CountPixels(*canvas->GetFieldSurface(), Rect{0, 0, 640, 448},
                          canvas->GetFieldSprite()->GetColourKey()));
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 0), 640 * 32);
    // Without a display there is no clip: a stamp reaching past the edge draws nothing.
    app->displayDevice = nullptr;
    canvas->Reset();
    brush.SetCentre(2, 100);
    brush.Draw(canvas->GetFieldSurface());
    EXPECT_EQ(Count().counts[0], 0);
}

}  // namespace
